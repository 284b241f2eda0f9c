// Message throughput through the application layer: sent messages reaching a
// message-map handler, posted messages dispatched from the queue, commands routed
// view -> frame -> application, and injected clicks run to idle.
#include <benchmark/benchmark.h>

#include "tq3view/testing.h"

namespace {

constexpr UINT kPing = WM_APP + 7;
constexpr UINT kAppCommand = 40001;

class CBenchView : public CView {
public:
    long long pings = 0;
    long long downs = 0;
    void OnDraw(CDC*) override {}
    afx_msg LRESULT OnPing(WPARAM, LPARAM) { return ++pings; }
    afx_msg void OnLButtonDown(UINT, CPoint) { ++downs; }
    // Entries a real view has, searched before the one benchmarked.
    afx_msg void OnSize(UINT, int, int) {}
    afx_msg void OnKeyDown(UINT, UINT, UINT) {}
    afx_msg void OnChar(UINT, UINT, UINT) {}
    afx_msg void OnTimer(UINT_PTR) {}
    afx_msg void OnSetFocus(CWnd*) {}
    afx_msg void OnKillFocus(CWnd*) {}
    afx_msg void OnVScroll(UINT, UINT, CScrollBar*) {}
    afx_msg void OnHScroll(UINT, UINT, CScrollBar*) {}
    afx_msg void OnMouseMove(UINT, CPoint) {}
    afx_msg void OnLButtonUp(UINT, CPoint) {}

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchView, CView)
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_VSCROLL()
ON_WM_HSCROLL()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(kPing, &CBenchView::OnPing)
END_MESSAGE_MAP()

class CBenchApp : public tq3::testing::TestApp {
public:
    long long commands = 0;
    afx_msg void OnAppCommand() { ++commands; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchApp, tq3::testing::TestApp)
ON_COMMAND(kAppCommand, &CBenchApp::OnAppCommand)
END_MESSAGE_MAP()

struct Scene {
    tq3::testing::Desktop desktop{800, 600};
    CBenchApp app;
    CBenchView* view = new CBenchView;
    CFrameWnd* frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 640, 480});
};

void BM_SentMessageToHandler(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) benchmark::DoNotOptimize(scene.view->SendMessage(kPing));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SentMessageToHandler);

void BM_PostedMessagesDispatched(benchmark::State& state) {
    Scene scene;
    const int batch = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) scene.view->PostMessage(kPing);
        scene.desktop.RunUntilIdle();
    }
    if (scene.view->pings != static_cast<long long>(state.iterations()) * batch) state.SkipWithError("lost messages");
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PostedMessagesDispatched)->Arg(1)->Arg(100);

void BM_CommandRoutedToApplication(benchmark::State& state) {
    Scene scene;
    const WPARAM command = MAKEWPARAM(static_cast<WORD>(kAppCommand), 0);
    for (auto _ : state) scene.frame->SendMessage(WM_COMMAND, command, 0);
    if (scene.app.commands != static_cast<long long>(state.iterations())) state.SkipWithError("lost commands");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CommandRoutedToApplication);

void BM_InjectedClickRunToIdle(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.desktop.Click(scene.view->m_hWnd, POINT{50, 50});
        scene.desktop.AdvanceClock(1000);  // no double clicks
    }
    if (scene.view->downs != static_cast<long long>(state.iterations())) state.SkipWithError("lost clicks");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InjectedClickRunToIdle);

}  // namespace

BENCHMARK_MAIN();
