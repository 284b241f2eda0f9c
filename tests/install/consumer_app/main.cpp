// A host program that tests its own user interface with the installed harness:
// a headless desktop, a frame with a view, a click that must reach the view, and
// the view's pixels read and saved without any of the framework's internals.
#include <tq3view/testing.h>
#include <tq3view/tq3view.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CClickView : public CView {
public:
    int clicks = 0;
    CPoint last;
    void OnDraw(CDC* dc) override { dc->FillSolidRect(10, 10, 30, 20, RGB(0, 128, 0)); }
    afx_msg void OnLButtonDown(UINT, CPoint point) {
        ++clicks;
        last = point;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickView, CView)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

}  // namespace

int main() {
    tq3::testing::Desktop desktop(640, 480);
    tq3::testing::TestApp app(u"ConsumerApp");
    auto* view = new CClickView;
    if (tq3::testing::CreateFrameWithView(view, RECT{20, 20, 420, 320}) == nullptr) {
        std::printf("could not create the frame\n");
        return 1;
    }
    desktop.Click(view->m_hWnd, POINT{15, 25});
    if (view->clicks != 1 || view->last.x != 15 || view->last.y != 25) {
        std::printf("expected one click at 15,25; got %d at %d,%d\n", view->clicks, static_cast<int>(view->last.x),
                    static_cast<int>(view->last.y));
        return 1;
    }
    // The green block is where the view drew it, and nowhere else.
    const tq3::testing::Capture block = tq3::testing::CaptureWindow(view->m_hWnd, RECT{10, 10, 40, 30});
    const tq3::testing::Comparison filled = block.FilledWith(RGB(0, 128, 0));
    if (!filled || tq3::testing::CaptureWindow(view->m_hWnd).Count(RGB(0, 128, 0)) != 30 * 20) {
        std::printf("the view's block is not as drawn: %s\n", filled.report.c_str());
        return 1;
    }
    const char* folder = std::getenv("TMPDIR");
    const std::string shot = std::string(folder != nullptr ? folder : "/tmp") + "/consumer_app.png";
    if (!tq3::testing::SaveScreenshot(view->GetParentFrame()->m_hWnd, shot)) {
        std::printf("could not save %s\n", shot.c_str());
        return 1;
    }
    std::remove(shot.c_str());
    std::printf("consumer_app: the view saw the click at %d,%d\n", static_cast<int>(view->last.x),
                static_cast<int>(view->last.y));
    return 0;
}
