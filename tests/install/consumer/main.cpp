// A host program using only the installed package.
#include <tq3view/tq3view.h>

#include <cstdio>

int main() {
    WCHAR record[] = u"alpha\tbeta\tgamma\r\n";
    int fields = DivideString(record);
    if (fields != 3) {
        std::printf("expected 3 fields, got %d\n", fields);
        return 1;
    }
    std::printf("consumer: %d fields\n", fields);
    return 0;
}
