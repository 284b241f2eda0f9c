// Reaches main, says so, and ends.
#include "report_time.h"

int main() {
    ReportTime();
    return 0;
}
