// A headless host: a frame with a table view of one sheet of three columns and
// 10 lines, run until its first frame is painted, which it then reports. What
// follows (closing the windows, the settings store) is not part of the start, so
// the program ends at once.
#include <tq3view/testing.h>
#include <tq3view/tq3view.h>

#include <string>

#include "report_time.h"

namespace {

class HostView : public CTableView {
public:
    HostView() = default;
};

}  // namespace

int main() {
    tq3::testing::Desktop desktop(1920, 1080);
    tq3::testing::TestApp app(u"StartupHost");
    auto* view = new HostView;
    if (tq3::testing::CreateFrameWithView(view, RECT{0, 0, 1280, 800}) == nullptr) _exit(1);
    view->InsertSheet(0, u"Points");
    view->InsertColumn(0, 0, u"Name", 0);
    view->InsertColumn(0, 1, u"Value", 1);
    view->InsertColumn(0, 2, u"Unit", 0);
    for (int line = 0; line < 10; ++line) {
        const std::u16string number(1, static_cast<char16_t>(u'0' + line));
        view->InsertLine(0, line, (u"point " + number + u"\t" + number + u"\tm").c_str());
    }
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    ReportTime();
    _exit(0);
}
