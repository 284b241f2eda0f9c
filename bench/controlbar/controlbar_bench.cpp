// The docking control bar held at the left of a 1024 x 768 frame with a table
// view beside it: one step of a sizing drag (the tracker band erased and drawn
// again, nothing else paints while the frame is locked) against a full repaint
// of the frame with the bar, its buttons and the view.
//
// At the end the program prints the ratio: a sizing step within 0.05 full repaints.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "controlbar/control_bar_ex.h"
#include "framework/app/afxwin.h"
#include "tq3view/testing.h"
#include "view/table_view.h"

namespace {

constexpr UINT kBarId = AFX_IDW_CONTROLBAR_FIRST + 32;

// The view as a host makes it: its own class over the library's.
class CBenchView : public CTableView {};

struct Scene {
    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    CTableView* view = new CBenchView;
    CFrameWnd* frame = nullptr;
    CControlBarEx bar;

    Scene() {
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 1024, 768}, u"bench");
        frame->EnableDocking(CBRS_ALIGN_ANY);
        bar.Create(frame, kBarId, u"Bar", CSize(300, 300), WS_CHILD | WS_VISIBLE | CBRS_LEFT);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
        view->InsertSheet(0, u"Sheet");
        for (int c = 0; c < 10; ++c) view->InsertColumn(0, c, u"Column", 0);
        for (int l = 0; l < 100; ++l) view->InsertLine(0, l, u"a\tb\tc\td\te\tf\tg\th\ti\tj");
        view->SetSelSheet(0);
        desktop.RunUntilIdle();
    }
    CPoint Edge() const {
        CRect window;
        bar.GetWindowRect(&window);
        return bar.rectEdge.CenterPoint() + window.TopLeft();
    }
};

void BM_FullFrameRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.frame->RedrawWindow(nullptr, nullptr,
                                  RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_FullFrameRepaint)->Unit(benchmark::kMicrosecond);

// The edge held down; every step moves the pointer to the other of two places.
void BM_SizingDragStep(benchmark::State& state) {
    Scene scene;
    const CPoint edge = scene.Edge();
    scene.desktop.MouseDown(edge);
    if (!scene.bar.tracking) state.SkipWithError("the press did not start a sizing drag");
    bool right = false;
    for (auto _ : state) {
        right = !right;
        scene.desktop.MouseMove(edge + CPoint(right ? 40 : -40, 0));
    }
    scene.desktop.MouseUp(edge + CPoint(40, 0));
    scene.desktop.RunUntilIdle();
    if (scene.bar.sizeVert.cx != 340) state.SkipWithError("the drag did not size the bar");
}
BENCHMARK(BM_SizingDragStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        tq3::bench::PrintRatio(r, "sizing drag step / full frame repaint", "BM_SizingDragStep",
                               "BM_FullFrameRepaint", 0.05);
    });
}
