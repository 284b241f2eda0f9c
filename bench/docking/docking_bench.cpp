// The frame's layout with a bar docked at each edge, against a full repaint of
// the frame: laying out must cost a small part of what showing the result costs.
//   RecalcLayout          nothing has changed: every bar is asked its size, nothing moves
//   RecalcLayoutMoving    one bar's thickness changes each time: dock bars and the view move
//   RecalcLayoutOneRow    the four bars, 150 pixels long, side by side in one row at the top
//   FullRepaint           the frame with its bars and view invalidated and painted at once
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace {

// A bar of fixed thickness, as long as its edge (or `length` when set), painting
// its borders and gripper.
class CBenchBar : public CControlBar {
public:
    int thickness = 30;
    int length = 0;
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override {
        int along = length > 0 ? length : stretch ? 32767 : 200;
        return horz ? CSize(along, thickness) : CSize(thickness, along);
    }
    CSize CalcDynamicLayout(int, DWORD mode) override {
        return CalcFixedLayout(TRUE, (mode & LM_HORZDOCK) != 0 || (mode & LM_HORZ) != 0);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// A view with a grid of lines, about what a table view draws.
class CGridView : public CView {
public:
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
        for (int y = 0; y < r.bottom; y += 18) dc->FillSolidRect(0, y, r.right, 1, ::GetSysColor(COLOR_BTNSHADOW));
        for (int x = 0; x < r.right; x += 64) dc->FillSolidRect(x, 0, 1, r.bottom, ::GetSysColor(COLOR_BTNSHADOW));
    }
};

struct Scene {
    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    CFrameWnd* frame = nullptr;
    CBenchBar bars[4];

    explicit Scene(bool oneRow = false) {
        frame = tq3::testing::CreateFrameWithView(new CGridView, RECT{0, 0, 900, 700});
        frame->EnableDocking(CBRS_ALIGN_ANY);
        const UINT docks[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT};
        LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        for (int i = 0; i < 4; ++i) {
            bars[i].SetBarStyle(CBRS_TOP | CBRS_GRIPPER | CBRS_BORDER_ANY | CBRS_BORDER_3D);
            bars[i].Create(cls, u"Bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 0xE810 + i);
            bars[i].EnableDocking(CBRS_ALIGN_ANY);
            if (!oneRow) {
                frame->DockControlBar(&bars[i], docks[i]);
                continue;
            }
            bars[i].length = 150;
            CRect place(CPoint(150 * i, 0), CSize(150, 30));
            if (CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP)) top->ClientToScreen(&place);
            frame->DockControlBar(&bars[i], AFX_IDW_DOCKBAR_TOP, &place);
        }
        desktop.RunUntilIdle();
    }
    ~Scene() {
        frame->DestroyWindow();
        desktop.RunUntilIdle();
    }
    bool Docked() const {
        for (const CBenchBar& bar : bars) {
            if (bar.m_pDockBar == nullptr) return false;
        }
        return true;
    }
};

void BM_RecalcLayout(benchmark::State& state) {
    Scene scene;
    if (!scene.Docked()) state.SkipWithError("bars not docked");
    for (auto _ : state) scene.frame->RecalcLayout();
}
BENCHMARK(BM_RecalcLayout);

void BM_RecalcLayoutMoving(benchmark::State& state) {
    Scene scene;
    if (!scene.Docked()) state.SkipWithError("bars not docked");
    CRect view;
    int flip = 0;
    for (auto _ : state) {
        scene.bars[2].thickness = 30 + (flip ^= 1);
        scene.frame->RecalcLayout();
    }
    scene.frame->GetActiveView()->GetWindowRect(&view);
    benchmark::DoNotOptimize(view);
}
BENCHMARK(BM_RecalcLayoutMoving);

void BM_RecalcLayoutOneRow(benchmark::State& state) {
    Scene scene(true);
    if (!scene.Docked()) state.SkipWithError("bars not docked");
    if (scene.frame->GetDockBar(AFX_IDW_DOCKBAR_TOP)->GetRowCount() != 1) state.SkipWithError("bars not in one row");
    for (auto _ : state) scene.frame->RecalcLayout();
}
BENCHMARK(BM_RecalcLayoutOneRow);

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        ::RedrawWindow(scene.frame->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_FullRepaint);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Docking layout against a full repaint of the frame:",
                                         [](const tq3::bench::RatioReporter& r) {
                                             tq3::bench::PrintRatio(r, "RecalcLayout, four docked bars / repaint",
                                                                    "BM_RecalcLayout", "BM_FullRepaint", 0.1);
                                             tq3::bench::PrintRatio(r, "RecalcLayout moving them / repaint",
                                                                    "BM_RecalcLayoutMoving", "BM_FullRepaint", 0.1);
                                             tq3::bench::PrintRatio(r, "RecalcLayout, four bars in one row / repaint",
                                                                    "BM_RecalcLayoutOneRow", "BM_FullRepaint", 0.1);
                                         });
}
