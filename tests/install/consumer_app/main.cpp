// A host program that tests its own user interface with the installed harness:
// a headless desktop, a frame with a view, and a click that must reach the view.
#include <tq3view/testing.h>
#include <tq3view/tq3view.h>

#include <cstdio>

namespace {

class CClickView : public CView {
public:
    int clicks = 0;
    CPoint last;
    void OnDraw(CDC*) override {}
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
    std::printf("consumer_app: the view saw the click at %d,%d\n", static_cast<int>(view->last.x),
                static_cast<int>(view->last.y));
    return 0;
}
