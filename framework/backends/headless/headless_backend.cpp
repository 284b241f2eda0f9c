// The headless backend: an in-memory desktop, injected input and a virtual clock.
#include "framework/backends/headless/headless_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace tq3::fw {

namespace {

// Desktops beyond this are refused (taken as this size) rather than allocated.
constexpr int kMaxSide = 16384;
// Hook calls in a row that leave nothing to do before the stall is reported.
constexpr int kMaxIdleCallsWithoutWork = 1000;
// Messages one RunUntilIdle dispatches before it reports a loop that never settles.
constexpr long kMaxDispatches = 50'000'000;

[[noreturn]] void ReportStall(const char* why) {
    std::fprintf(stderr,
                 "headless desktop: a message loop is waiting for input that will never come (%s); "
                 "script the answer with HeadlessBackend::SetIdleHook\n",
                 why);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

std::unique_ptr<Backend> CreateDefaultBackend() { return std::make_unique<HeadlessBackend>(1024, 768); }

HeadlessBackend::HeadlessBackend(int width, int height)
    : width_(std::clamp(width, 1, kMaxSide)), height_(std::clamp(height, 1, kMaxSide)) {}

HeadlessBackend* HeadlessBackend::Install(int width, int height) {
    auto backend = std::make_unique<HeadlessBackend>(width, height);
    HeadlessBackend* raw = backend.get();
    InstallBackend(std::move(backend));
    return raw;
}

HeadlessBackend* HeadlessBackend::Current() { return dynamic_cast<HeadlessBackend*>(&CurrentBackend()); }

SIZE HeadlessBackend::DesktopSize() const { return SIZE{width_, height_}; }

// The picture itself is composed only when someone looks (DesktopSurface), so a
// host that never takes a screenshot never pays for a desktop-sized picture.
void HeadlessBackend::PresentDesktop(const Region& damage) { presented_.Union(damage); }

bool HeadlessBackend::WaitForInput(DWORD timeoutMs) {
    if (timeoutMs == 0) return true;  // a poll: nothing arrives by itself here
    if (!idleHook_) ReportStall("no idle hook");
    for (int i = 0; i < kMaxIdleCallsWithoutWork; ++i) {
        ULONGLONG before = clock_;
        if (!idleHook_()) ReportStall("the idle hook has nothing more to give");
        if (HasPendingWork() || clock_ != before) return true;
    }
    ReportStall("the idle hook keeps returning without giving anything");
}

ULONGLONG HeadlessBackend::Now() const { return clock_; }

void HeadlessBackend::SetCursorShape(CursorShape shape, const CursorImage* image) {
    cursor_ = shape;
    try {
        cursorImage_ = image != nullptr ? *image : CursorImage{};
    } catch (const std::bad_alloc&) {
        // Only an observer reads the copy: the pointer keeps its shape, shown without a picture.
        cursorImage_ = CursorImage{};
    }
}

bool HeadlessBackend::WriteSystemClipboardText(std::u16string_view) { return false; }

bool HeadlessBackend::ReadSystemClipboardText(std::u16string*) { return false; }

void HeadlessBackend::Deliver(const InputEvent& event) { DeliverInput(event); }

void HeadlessBackend::KeyDown(int vk, UINT scanCode, bool extended) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyDown;
    e.vk = vk;
    e.scanCode = scanCode;
    e.extended = extended;
    Deliver(e);
}

void HeadlessBackend::KeyUp(int vk, UINT scanCode, bool extended) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyUp;
    e.vk = vk;
    e.scanCode = scanCode;
    e.extended = extended;
    Deliver(e);
}

void HeadlessBackend::KeyPress(int vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void HeadlessBackend::TypeChar(WCHAR ch) {
    InputEvent e;
    e.kind = InputEvent::Kind::Char;
    e.ch = ch;
    Deliver(e);
}

void HeadlessBackend::MouseMove(POINT pt) {
    InputEvent e;
    e.kind = InputEvent::Kind::MouseMove;
    e.pt = pt;
    Deliver(e);
}

void HeadlessBackend::MouseDown(InputEvent::Button button, POINT pt) {
    InputEvent e;
    e.kind = InputEvent::Kind::ButtonDown;
    e.button = button;
    e.pt = pt;
    Deliver(e);
}

void HeadlessBackend::MouseUp(InputEvent::Button button, POINT pt) {
    InputEvent e;
    e.kind = InputEvent::Kind::ButtonUp;
    e.button = button;
    e.pt = pt;
    Deliver(e);
}

void HeadlessBackend::Click(InputEvent::Button button, POINT pt) {
    MouseMove(pt);
    MouseDown(button, pt);
    MouseUp(button, pt);
}

void HeadlessBackend::Wheel(int delta, POINT pt, bool horizontal) {
    InputEvent e;
    e.kind = InputEvent::Kind::Wheel;
    e.delta = delta;
    e.pt = pt;
    e.horizontal = horizontal;
    Deliver(e);
}

int HeadlessBackend::RunUntilIdle() {
    long dispatched = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitReceived_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        if (filter_ && filter_(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (++dispatched >= kMaxDispatches) {
            std::fprintf(stderr, "headless desktop: the queue never became idle (%ld messages dispatched)\n",
                         dispatched);
            break;
        }
    }
    return static_cast<int>(std::min<long>(dispatched, 0x7FFFFFFF));
}

void HeadlessBackend::AdvanceClock(DWORD ms) {
    ULONGLONG target = clock_ + ms;
    RunUntilIdle();
    for (;;) {
        DWORD next = TimeToNextTimer();
        if (next == INFINITE || clock_ + std::max<DWORD>(next, 1) > target) break;
        clock_ += std::max<DWORD>(next, 1);
        RunUntilIdle();
    }
    clock_ = target;
    RunUntilIdle();
}

}  // namespace tq3::fw
