// The harness's desktop: input injection, running until idle with the
// application's pre-translation and idle processing, scripted answers for modal
// loops, and the clipboard.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/system/clipboard.h"
#include "testing/run_until_idle.h"
#include "tq3view/testing.h"

namespace tq3::testing {

namespace {

// The queued message PreTranslateMessage let through, until the spy sees it arrive.
MSG dispatching{};
bool dispatchingValid = false;

// A runaway loop (a window posting to itself forever) ends the run instead of
// hanging the test.
constexpr int kMaxIdleRounds = 10000;

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::u16string WindowString(HWND hwnd, bool className) {
    WCHAR buffer[256] = {};
    int length = className ? GetClassNameW(hwnd, buffer, 256) : GetWindowTextW(hwnd, buffer, 256);
    return std::u16string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

tq3::fw::InputEvent::Button ToBackend(Button button) {
    switch (button) {
        case Button::Right: return tq3::fw::InputEvent::Button::Right;
        case Button::Middle: return tq3::fw::InputEvent::Button::Middle;
        default: return tq3::fw::InputEvent::Button::Left;
    }
}

}  // namespace

ModalAnswer AnswerCommand(int id, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [id](HWND window) {
                           PostMessageW(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
                       }};
}

ModalAnswer AnswerKey(int vk, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [vk](HWND) {
                           tq3::fw::HeadlessBackend* backend = tq3::fw::HeadlessBackend::Current();
                           if (backend != nullptr) backend->KeyPress(vk);
                       }};
}

Desktop* Desktop::live_ = nullptr;

Desktop::Desktop(int width, int height) {
    failure_ = [](const std::string& description) {
        std::fprintf(stderr, "tq3 testing: %s\n", description.c_str());
        std::fflush(stderr);
        std::abort();
    };
    if (live_ != nullptr) {
        // Installing a fresh desktop would destroy the windows of the one alive,
        // whose objects then outlive their windows; refuse instead, loudly.
        inert_ = true;
        backend_ = live_->backend_;
        live_->failure_("a second Desktop was made while another one is alive; make one Desktop at a time");
        return;
    }
    live_ = this;
    backend_ = tq3::fw::HeadlessBackend::Install(width, height);
    backend_->SetMessageFilter([](MSG& msg) {
        dispatchingValid = false;
        if (AfxPreTranslateMessage(&msg)) return true;
        dispatching = msg;
        dispatchingValid = true;
        return false;
    });
    backend_->SetIdleHook([this] { return AnswerModalLoop(); });
}

Desktop::~Desktop() {
    if (inert_) return;
    live_ = nullptr;
    tq3::fw::ResetWindowManager();
    CWnd::DeleteTempMap();
    backend_->SetMessageFilter(nullptr);
    backend_->SetIdleHook(nullptr);
    dispatchingValid = false;
}

SIZE Desktop::Size() const { return backend_->DesktopSize(); }

bool Desktop::TakeDispatchingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!dispatchingValid || dispatching.hwnd != hwnd || dispatching.message != message ||
        dispatching.wParam != wParam || dispatching.lParam != lParam) {
        return false;
    }
    dispatchingValid = false;
    return true;
}

bool detail::KeyForChar(WCHAR ch, int* vk, bool* shift) {
    *shift = false;
    if (ch >= u'a' && ch <= u'z') {
        *vk = 'A' + (ch - u'a');
    } else if (ch >= u'A' && ch <= u'Z') {
        *vk = ch;
        *shift = true;
    } else if (ch >= u'0' && ch <= u'9') {
        *vk = ch;
    } else {
        switch (ch) {
            case u' ': *vk = VK_SPACE; break;
            case u'\t': *vk = VK_TAB; break;
            case u'\r': *vk = VK_RETURN; break;
            case u'.': *vk = VK_OEM_PERIOD; break;
            case u',': *vk = VK_OEM_COMMA; break;
            case u'-': *vk = VK_OEM_MINUS; break;
            default: return false;
        }
    }
    return true;
}

void detail::Fail(const std::string& description) {
    if (Desktop::live_ != nullptr) {
        Desktop::live_->failure_(description);
    } else {
        std::fprintf(stderr, "tq3 testing: %s\n", description.c_str());
        std::abort();
    }
}

int detail::RunUntilIdle(tq3::fw::HeadlessBackend& backend) {
    int dispatched = 0;
    for (int round = 0; round < kMaxIdleRounds; ++round) {
        dispatched += backend.RunUntilIdle();
        dispatchingValid = false;
        if (backend.QuitReceived()) break;
        // The application's idle time, as its own loop would give it.
        if (CWinApp* app = AfxGetApp()) {
            LONG count = 0;
            while (app->OnIdle(count++)) {
            }
        }
        if (!tq3::fw::HasPendingWork()) break;
    }
    return dispatched;
}

int Desktop::RunUntilIdle() { return detail::RunUntilIdle(*backend_); }

void Desktop::AdvanceClock(DWORD ms) {
    backend_->AdvanceClock(ms);
    RunUntilIdle();
}

bool Desktop::QuitReceived() const { return backend_->QuitReceived(); }

PointerLook Desktop::Pointer() const {
    PointerLook look;
    look.shape = backend_->CursorShapeShown();
    if (const tq3::fw::CursorImage* image = backend_->CursorImageShown()) {
        look.hotSpot = image->hotSpot;
        std::vector<COLORREF> pixels;
        for (tq3::fw::Pixel p : image->argb) pixels.push_back((p >> 24) == 0 ? CLR_INVALID : tq3::fw::ToColorRef(p));
        look.image = Capture(RECT{0, 0, image->width, image->height}, std::move(pixels));
    }
    return look;
}

// ---- Keyboard -------------------------------------------------------------------------

void Desktop::PressModifiers(UINT modifiers) {
    if (modifiers & kControl) backend_->KeyDown(VK_CONTROL);
    if (modifiers & kShift) backend_->KeyDown(VK_SHIFT);
    if (modifiers & kAlt) backend_->KeyDown(VK_MENU);
}

void Desktop::ReleaseModifiers(UINT modifiers) {
    if (modifiers & kAlt) backend_->KeyUp(VK_MENU);
    if (modifiers & kShift) backend_->KeyUp(VK_SHIFT);
    if (modifiers & kControl) backend_->KeyUp(VK_CONTROL);
}

void Desktop::KeyDown(int vk, UINT modifiers) {
    PressModifiers(modifiers);
    backend_->KeyDown(vk);
    RunUntilIdle();
}

void Desktop::KeyUp(int vk, UINT modifiers) {
    backend_->KeyUp(vk);
    ReleaseModifiers(modifiers);
    RunUntilIdle();
}

void Desktop::KeyPress(int vk, UINT modifiers) {
    PressModifiers(modifiers);
    backend_->KeyDown(vk);
    backend_->KeyUp(vk);
    ReleaseModifiers(modifiers);
    RunUntilIdle();
}

void Desktop::Type(std::u16string_view text) {
    for (WCHAR ch : text) {
        int vk = 0;
        bool shift = false;
        if (detail::KeyForChar(ch, &vk, &shift)) {
            KeyPress(vk, shift ? kShift : kNoModifiers);
        } else {
            TypeChar(ch);
        }
    }
}

void Desktop::TypeChar(WCHAR ch) {
    backend_->TypeChar(ch);
    RunUntilIdle();
}

// ---- Mouse ----------------------------------------------------------------------------

void Desktop::MouseMove(POINT screen) {
    backend_->MouseMove(screen);
    RunUntilIdle();
}

void Desktop::MoveUnlessThere(POINT screen) {
    POINT now{0, 0};
    GetCursorPos(&now);
    if (now.x != screen.x || now.y != screen.y) backend_->MouseMove(screen);
}

void Desktop::MouseDown(POINT screen, Button button, UINT modifiers) {
    PressModifiers(modifiers);
    MoveUnlessThere(screen);
    backend_->MouseDown(ToBackend(button), screen);
    RunUntilIdle();
}

void Desktop::MouseUp(POINT screen, Button button, UINT modifiers) {
    MoveUnlessThere(screen);
    backend_->MouseUp(ToBackend(button), screen);
    ReleaseModifiers(modifiers);
    RunUntilIdle();
}

void Desktop::Click(POINT screen, Button button, UINT modifiers) { Clicks(screen, button, modifiers, 1); }

// Two clicks at one point with no time between them: well inside the
// double-click time and distance.
void Desktop::DoubleClick(POINT screen, Button button, UINT modifiers) { Clicks(screen, button, modifiers, 2); }

void Desktop::Clicks(POINT screen, Button button, UINT modifiers, int count) {
    PressModifiers(modifiers);
    MoveUnlessThere(screen);
    for (int i = 0; i < count; ++i) {
        backend_->MouseDown(ToBackend(button), screen);
        backend_->MouseUp(ToBackend(button), screen);
    }
    ReleaseModifiers(modifiers);
    RunUntilIdle();
}

void Desktop::Wheel(POINT screen, int delta, UINT modifiers) {
    PressModifiers(modifiers);
    MoveUnlessThere(screen);
    backend_->Wheel(delta, screen);
    ReleaseModifiers(modifiers);
    RunUntilIdle();
}

POINT Desktop::ToScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

void Desktop::MouseMove(HWND window, POINT client) { MouseMove(ToScreen(window, client)); }
void Desktop::MouseDown(HWND window, POINT client, Button button, UINT modifiers) {
    MouseDown(ToScreen(window, client), button, modifiers);
}
void Desktop::MouseUp(HWND window, POINT client, Button button, UINT modifiers) {
    MouseUp(ToScreen(window, client), button, modifiers);
}
void Desktop::Click(HWND window, POINT client, Button button, UINT modifiers) {
    Click(ToScreen(window, client), button, modifiers);
}
void Desktop::DoubleClick(HWND window, POINT client, Button button, UINT modifiers) {
    DoubleClick(ToScreen(window, client), button, modifiers);
}
void Desktop::Wheel(HWND window, POINT client, int delta, UINT modifiers) {
    Wheel(ToScreen(window, client), delta, modifiers);
}

// ---- Modal loops ------------------------------------------------------------------------

void Desktop::QueueModalAnswer(ModalAnswer answer) { answers_.push_back(std::move(answer)); }

bool Desktop::AnswerModalLoop() {
    // The user looks at the top-most window first.
    std::string seen;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!IsWindowVisible(window) || !IsWindowEnabled(window)) continue;
        std::u16string className = WindowString(window, true);
        std::u16string title = WindowString(window, false);
        for (auto it = answers_.begin(); it != answers_.end(); ++it) {
            if (!it->className.empty() && it->className != className) continue;
            if (!it->title.empty() && it->title != title) continue;
            ModalAnswer answer = std::move(*it);
            answers_.erase(it);
            if (answer.action) answer.action(window);
            return true;
        }
        seen += " [" + Narrow(className) + " \"" + Narrow(title) + "\"]";
    }
    failure_("a loop waits for the user and no scripted answer matches; windows, top first:" +
             (seen.empty() ? std::string(" none") : seen));
    // A handler that did not abort may have given the loop something to do.
    return tq3::fw::HasPendingWork();
}

// ---- Clipboard --------------------------------------------------------------------------

bool Desktop::SetClipboardText(std::u16string_view text) {
    if (!OpenClipboard(nullptr)) return false;
    bool ok = false;
    if (EmptyClipboard()) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(WCHAR));
        if (block != nullptr) {
            auto* units = static_cast<WCHAR*>(GlobalLock(block));
            if (units != nullptr) {
                text.copy(units, text.size());
                GlobalUnlock(block);
                ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
            }
            if (!ok) GlobalFree(block);
        }
    }
    CloseClipboard();
    return ok;
}

std::optional<std::u16string> Desktop::ClipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* units = static_cast<const WCHAR*>(GlobalLock(block))) {
            text.emplace(tq3::fw::UnicodeBlockText(block, units));
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace tq3::testing
