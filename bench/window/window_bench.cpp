// Message throughput of the window manager: sent and posted messages, and input
// injected through the whole path (delivery, hit testing, WM_SETCURSOR, dispatch).
#include <benchmark/benchmark.h>

#include "framework/backends/headless/headless_backend.h"
#include "framework/window/winuser.h"

namespace {

using tq3::fw::HeadlessBackend;
using tq3::fw::InputEvent;

long g_handled = 0;

LRESULT CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= WM_USER || m == WM_LBUTTONDOWN || m == WM_LBUTTONUP || m == WM_KEYDOWN || m == WM_CHAR || m == WM_KEYUP) {
        ++g_handled;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

struct Desktop {
    HeadlessBackend* backend;
    HWND top;
    HWND child;
    Desktop() {
        backend = HeadlessBackend::Install(800, 600);
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.lpszClassName = u"BenchWindow";
        wc.style = CS_DBLCLKS;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        if (!GetClassInfoW(nullptr, wc.lpszClassName, &wc)) RegisterClassW(&wc);
        top = CreateWindowExW(0, u"BenchWindow", u"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                              nullptr, nullptr, nullptr);
        // A few layers of children, as a view in a frame has.
        HWND parent = top;
        for (int i = 0; i < 4; ++i) {
            parent = CreateWindowExW(0, u"BenchWindow", nullptr, WS_CHILD | WS_VISIBLE, 10, 10, 500 - 40 * i,
                                     300 - 30 * i, parent, nullptr, nullptr, nullptr);
        }
        child = parent;
        SetFocus(child);
        backend->RunUntilIdle();
    }
    ~Desktop() { tq3::fw::ResetWindowManager(); }
};

void BM_SendMessage(benchmark::State& state) {
    Desktop d;
    for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(d.child, WM_USER, 1, 2));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessage);

void BM_PostAndDispatch(benchmark::State& state) {
    Desktop d;
    const int batch = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) PostMessageW(d.child, WM_USER + 1, static_cast<WPARAM>(i), 0);
        benchmark::DoNotOptimize(d.backend->RunUntilIdle());
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PostAndDispatch)->Arg(1)->Arg(1000);

void BM_InjectedClick(benchmark::State& state) {
    Desktop d;
    POINT p{100, 100};
    ClientToScreen(d.child, &p);
    int n = 0;
    for (auto _ : state) {
        // Alternate points so that the clicks never pair into double clicks.
        POINT at{p.x + (n++ % 2) * 20, p.y};
        d.backend->Click(InputEvent::Button::Left, at);
        d.backend->RunUntilIdle();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InjectedClick);

void BM_InjectedKeyPress(benchmark::State& state) {
    Desktop d;
    for (auto _ : state) {
        d.backend->KeyPress('A');  // down, translated to a character, up
        d.backend->RunUntilIdle();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InjectedKeyPress);

}  // namespace

BENCHMARK_MAIN();
