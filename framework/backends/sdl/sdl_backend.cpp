// The interactive backend (see sdl_backend.h).
//
// Sections: state and installation; showing the surface; the event pump (window,
// keyboard, text, mouse, clipboard and quit events); cursors; clipboard; clock.
//
// Call flow: the window manager's GetMessage/PeekMessage find nothing to do, show
// the damage (Present) and call WaitForInput, which waits on SDL's queue for at
// most the time to the next timer and hands every pending event to Dispatch. Key
// presses look one event ahead for the text SDL made of them (OnKeyDown), so that
// each typed character reaches the window once; window size changes go to
// ResizeDesktop, which repaints everything.
#include "framework/backends/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "framework/backends/sdl/sdl_input_map.h"
#include "framework/backends/sdl/x11_clipboard.h"
#include "framework/backends/sdl/x11_drag_frame.h"
#include "framework/backends/sdl/x11_errors.h"
#include "framework/backends/sdl/x11_pointer.h"
#include "framework/backends/sdl/x11_windows.h"
#include "framework/core/utf.h"
#include "framework/window/virtual_keys.h"
#include "framework/window/winuser.h"

namespace tq3::fw {

// ============================================================================
// State and installation
// ============================================================================

namespace {

// Above this many damage rectangles their bounding box is sent instead: one large
// copy costs less than hundreds of small ones.
constexpr size_t kMaxPresentRects = 64;
// The largest clipboard text taken from another program, in UTF-8 bytes: a
// larger one is refused (the clipboard keeps what it held) rather than letting
// one paste take the memory of the machine.
constexpr size_t kMaxClipboardBytes = size_t{256} << 20;
// Side of the largest desktop the backend makes.
constexpr int kMaxSide = 16384;

// Modifier keys released when the OS window loses the keyboard, so that a key
// let go in another program does not stay down here.
constexpr int kModifierKeys[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL,
                                 VK_LMENU,  VK_RMENU,  VK_LWIN,     VK_RWIN};

SdlBackend* g_current = nullptr;

// SDL's drivers without a screen stand in when no display is found; the program
// would run with an invisible window. They count only when asked for by name.
bool ShowsOnAScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || SDL_GetNumVideoDisplays() < 1) return false;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked != nullptr && std::strstr(asked, driver) != nullptr;
}

sdl::LockToggles TogglesFromModsNow() { return sdl::TogglesFromMods(static_cast<Uint16>(SDL_GetModState())); }

}  // namespace

struct SdlBackend::State {
    // A top-level window's system window (native windows only).
    struct Native {
        HWND hwnd = nullptr;
        SDL_Window* window = nullptr;
        Uint32 id = 0;
        RECT placed{};               // where the system window was last put or reported
        bool shown = false;
        bool modal = false;          // made modal for its owner's system window
        bool popup = false;          // a pop-up kind: never activated by the system
        std::u16string title;
    };

    bool native = false;
    std::vector<Native> natives;
    SDL_Window* window = nullptr;  // the virtual desktop's one OS window
    SIZE size{0, 0};                               // the desktop's size: the window's client area
    SDL_Cursor* systemCursors[SDL_NUM_SYSTEM_CURSORS] = {};  // made on first use
    SDL_Cursor* customCursor = nullptr;            // the image cursor shown last
    CursorImage customImage;                       // its image, to reuse it for the same one
    Uint32 buttonsDown = 0;                        // SDL_BUTTON masks held: the mouse is captured meanwhile
    bool pointerLetGo = false;                     // the keyboard went elsewhere with a button held
    Uint32 releasesToDrop = 0;                     // SDL_BUTTON masks of releases handed to SDL by us
    ULONGLONG clipboardSequence = 1;               // bumped when another program changed the clipboard
    std::string clipboardKnown;                    // the clipboard text last written or seen, as UTF-8
    bool onX = false;                              // SDL drives an X display
    unsigned long ownClipboardWindow = 0;          // on X, the window owning the clipboard after our last copy
    std::u16string title;                          // the OS window's caption now
#if defined(TQ3_WITH_XLIB)
    std::unique_ptr<sdl::DragFrame> dragFrame;     // the outline of a drag over the screen, made on first use
#endif

    void Dispatch(const SDL_Event& event);
    void OnWindowEvent(const SDL_WindowEvent& e);
    void OnKeyDown(const SDL_KeyboardEvent& e);
    void OnKeyUp(const SDL_KeyboardEvent& e);
    void OnButton(const SDL_MouseButtonEvent& e);
    void CheckLostRelease();
    void OnWheel(const SDL_MouseWheelEvent& e);
    void OnQuit();
    void FollowActiveCaption();
    void CheckClipboard();
    Native* ByHandle(HWND h);
    Native* ById(Uint32 id);
    POINT ToScreen(Uint32 windowId, int x, int y);
    void OnNativeWindowEvent(const SDL_WindowEvent& e);
    SDL_Cursor* CustomCursor(const CursorImage& image);
};

SdlBackend::SdlBackend(std::unique_ptr<State> state) : state_(std::move(state)) {}

SdlBackend::~SdlBackend() {
    if (g_current == this) g_current = nullptr;
    for (SDL_Cursor*& c : state_->systemCursors) {
        if (c != nullptr) SDL_FreeCursor(c);
    }
    if (state_->customCursor != nullptr) SDL_FreeCursor(state_->customCursor);
    if (state_->buttonsDown != 0) SDL_CaptureMouse(SDL_FALSE);
#if defined(TQ3_WITH_XLIB)
    state_->dragFrame.reset();  // while the display it lives on is open
#endif
    for (State::Native& n : state_->natives) SDL_DestroyWindow(n.window);
    if (state_->window != nullptr) SDL_DestroyWindow(state_->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlBackend* SdlBackend::Install(int width, int height, LPCWSTR title) { return Open(width, height, title, false); }

SdlBackend* SdlBackend::InstallWindows() { return Open(0, 0, nullptr, true); }

SdlBackend* SdlBackend::Open(int width, int height, LPCWSTR title, bool native) {
    // Closing the last system window is the program's business (WM_SYSCOMMAND),
    // not a reason to quit.
    if (native) SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A click that activates the window is also a click in it, as on the platform.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The window surface is the plain framebuffer the display server offers (on X
    // shared-memory images), not a texture of a GL renderer: the desktop is drawn
    // in memory and only damaged rectangles travel, which a GL upload of the whole
    // surface per frame would undo, and a software GL costs threads and memory.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
#if defined(TQ3_WITH_XLIB)
    // Before the display layer starts: it keeps the handler it finds as the one
    // to go back to when it stops, and stopping reads the errors still in transit.
    sdl::TolerateGoneWindows();
#endif
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "interactive desktop: no display can be opened: %s\n", SDL_GetError());
        return nullptr;
    }
    if (!ShowsOnAScreen()) {
        std::fprintf(stderr, "interactive desktop: no display can be opened (SDL found only its \"%s\" driver)\n",
                     SDL_GetCurrentVideoDriver());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    std::unique_ptr<State> state;
    std::string caption;
    try {
        state = std::make_unique<State>();
        state->onX = std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0;
        if (title != nullptr) {
            state->title = title;
            caption = ToUtf8(title);
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "interactive desktop: out of memory\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    if (native) {
        state->native = true;
        SDL_Rect bounds{0, 0, 0, 0};
        if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
            std::fprintf(stderr, "interactive desktop: the screen's size cannot be read: %s\n", SDL_GetError());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return nullptr;
        }
        state->size = SIZE{std::clamp(bounds.w, 1, kMaxSide), std::clamp(bounds.h, 1, kMaxSide)};
        return Adopt(std::move(state));
    }
    width = std::clamp(width, 1, kMaxSide);
    height = std::clamp(height, 1, kMaxSide);
    state->window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                     SDL_WINDOW_RESIZABLE);
    if (state->window == nullptr) {
        std::fprintf(stderr, "interactive desktop: the window cannot be opened: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    int w = width;
    int h = height;
    SDL_GetWindowSize(state->window, &w, &h);
    state->size = SIZE{std::clamp(w, 1, kMaxSide), std::clamp(h, 1, kMaxSide)};
    return Adopt(std::move(state));
}

SdlBackend* SdlBackend::Adopt(std::unique_ptr<State> state) {
    SDL_StartTextInput();
    // From here the window belongs to the backend object, which closes it.
    std::unique_ptr<SdlBackend> backend(new (std::nothrow) SdlBackend(std::move(state)));
    if (!backend) {
        std::fprintf(stderr, "interactive desktop: out of memory\n");
        return nullptr;
    }
    SdlBackend* raw = backend.get();
    InstallBackend(std::move(backend));
    g_current = raw;
    sdl::LockToggles t = TogglesFromModsNow();
    SetKeyToggle(VK_CAPITAL, t.capsLock);
    SetKeyToggle(VK_NUMLOCK, t.numLock);
    SetKeyToggle(VK_SCROLL, t.scrollLock);
    return raw;
}

SdlBackend* SdlBackend::Current() { return g_current; }

SDL_Window* SdlBackend::NativeWindow() const { return state_->window; }

SIZE SdlBackend::DesktopSize() const { return state_->size; }

// ============================================================================
// Showing the surface
// ============================================================================

namespace {

// Composes the desktop's rectangle `r` into the window surface `target`.
void ComposeRect(SDL_Surface* target, const SDL_Rect& r, std::vector<Pixel>* scratch) {
    auto* dst = static_cast<Uint8*>(target->pixels) + static_cast<size_t>(r.y) * static_cast<size_t>(target->pitch) +
                static_cast<size_t>(r.x) * 4u;
    const RECT area{r.x, r.y, r.x + r.w, r.y + r.h};
    if (target->format->format == SDL_PIXELFORMAT_RGB888) {
        // The desktop's own layout (0x00RRGGBB words): composed in place.
        ComposeDesktop(area, reinterpret_cast<Pixel*>(dst), target->pitch / static_cast<int>(sizeof(Pixel)));
        return;
    }
    scratch->resize(static_cast<size_t>(r.w) * static_cast<size_t>(r.h));
    ComposeDesktop(area, scratch->data(), r.w);
    SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888, scratch->data(), r.w * static_cast<int>(sizeof(Pixel)),
                      target->format->format, dst, target->pitch);
}

}  // namespace

void SdlBackend::PresentDesktop(const Region& damage) {
    SDL_Surface* target = SDL_GetWindowSurface(state_->window);
    if (target == nullptr || target->format->BytesPerPixel != 4) return;
    Region shown(damage);
    shown.Intersect(RECT{0, 0, std::min<int>(state_->size.cx, target->w), std::min<int>(state_->size.cy, target->h)});
    if (shown.IsEmpty()) return;
    std::vector<SDL_Rect> rects;
    std::vector<Pixel> scratch;
    try {
        std::vector<RECT> parts = shown.Rects();
        if (parts.size() > kMaxPresentRects) parts.assign(1, shown.Bounds());
        for (const RECT& p : parts) rects.push_back(SDL_Rect{p.left, p.top, p.right - p.left, p.bottom - p.top});
    } catch (const std::bad_alloc&) {
        return;  // the next damage shows it
    }
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    try {
        for (const SDL_Rect& r : rects) ComposeRect(target, r, &scratch);
    } catch (const std::bad_alloc&) {
        // What was composed shows; the rest with the next damage there.
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_UpdateWindowSurfaceRects(state_->window, rects.data(), static_cast<int>(rects.size()));
}

// ============================================================================
// The event pump
// ============================================================================

namespace {

void Deliver(InputEvent::Kind kind, POINT pt) {
    InputEvent e;
    e.kind = kind;
    e.pt = pt;
    DeliverInput(e);
}

void DeliverKey(bool down, int vk, bool extended) {
    InputEvent e;
    e.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
    e.vk = vk;
    e.extended = extended;
    DeliverInput(e);
}

void DeliverChars(const std::u16string& chars) {
    for (char16_t c : chars) {
        InputEvent e;
        e.kind = InputEvent::Kind::Char;
        e.ch = c;  // a character beyond the BMP goes as its two surrogates, in order
        DeliverInput(e);
    }
}

// The lock toggles as the window manager should hold them just before a key
// event is delivered: SDL reports the state after the event, and delivering a
// lock key's press flips its toggle once more.
void PrepareToggles(const sdl::LockToggles& after, int pressedVk) {
    auto set = [&](int vk, bool on) { SetKeyToggle(vk, pressedVk == vk ? !on : on); };
    set(VK_CAPITAL, after.capsLock);
    set(VK_NUMLOCK, after.numLock);
    set(VK_SCROLL, after.scrollLock);
}

InputEvent::Button ButtonOf(Uint8 sdlButton, bool* known) {
    *known = true;
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return InputEvent::Button::Left;
        case SDL_BUTTON_RIGHT: return InputEvent::Button::Right;
        case SDL_BUTTON_MIDDLE: return InputEvent::Button::Middle;
        default: *known = false; return InputEvent::Button::Left;
    }
}

}  // namespace

// ============================================================================
// Native windows
// ============================================================================

bool SdlBackend::ShowsNativeWindows() const { return state_->native; }

SdlBackend::State::Native* SdlBackend::State::ByHandle(HWND h) {
    for (Native& n : natives) {
        if (n.hwnd == h) return &n;
    }
    return nullptr;
}

SdlBackend::State::Native* SdlBackend::State::ById(Uint32 id) {
    for (Native& n : natives) {
        if (n.id == id) return &n;
    }
    return nullptr;
}

SDL_Window* SdlBackend::NativeWindowOf(HWND top) const {
    State::Native* n = state_->ByHandle(top);
    return n != nullptr ? n->window : nullptr;
}

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The window's own text, read without sending it a message.
std::u16string TitleOf(HWND h) {
    std::u16string text(256, u'\0');
    int length;
    while ((length = InternalGetWindowText(h, text.data(), static_cast<int>(text.size()))) >=
           static_cast<int>(text.size()) - 1)
        text.resize(text.size() * 2);
    text.resize(static_cast<size_t>(length));
    return text;
}

// The system window's kind for a top-level window's styles: decorated when it
// has a caption; a captionless window that never activates and stays on top is
// a tooltip, one with an owner or on top a pop-up menu (both placed by us and
// left undecorated by the system's window manager); any other is a plain
// borderless window.
Uint32 KindFlags(DWORD style, DWORD exStyle, bool owned, bool* popup) {
    *popup = false;
    if ((style & WS_CAPTION) == WS_CAPTION) return (style & WS_THICKFRAME) ? SDL_WINDOW_RESIZABLE : 0;
    if ((exStyle & WS_EX_TOPMOST) && (exStyle & (WS_EX_NOACTIVATE | WS_EX_TRANSPARENT))) {
        *popup = true;
        return SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
    }
    if (owned || (exStyle & WS_EX_TOPMOST)) {
        *popup = true;
        return SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    }
    return SDL_WINDOW_BORDERLESS | ((exStyle & WS_EX_TOOLWINDOW) ? SDL_WINDOW_SKIP_TASKBAR : 0);
}

void ShowNative(SDL_Window* window) {
#if defined(TQ3_WITH_XLIB)
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) && sdl::MapWithoutWaiting(window)) return;
#endif
    SDL_ShowWindow(window);
}

void HideNative(SDL_Window* window) {
#if defined(TQ3_WITH_XLIB)
    // Shown by ShowNative, the window may still be waiting for its map notice;
    // the display layer would then take the hide for nothing to do.
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) && sdl::WithdrawWithoutWaiting(window)) return;
#endif
    SDL_HideWindow(window);
}

}  // namespace

void SdlBackend::NativeWindowChanged(HWND top) {
    State& st = *state_;
    RECT r{};
    if (!GetWindowRect(top, &r)) return;
    auto style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongW(top, GWL_EXSTYLE));
    HWND owner = GetWindow(top, GW_OWNER);
    State::Native* n = st.ByHandle(top);
    if (!IsWindowVisible(top)) {
        if (n != nullptr && n->shown) {
            HideNative(n->window);
            n->shown = false;
        }
        return;
    }
    try {
        const int width = std::clamp<int>(r.right - r.left, 1, kMaxSide);
        const int height = std::clamp<int>(r.bottom - r.top, 1, kMaxSide);
        if (n == nullptr) {
            State::Native made;
            made.hwnd = top;
            made.title = TitleOf(top);
            Uint32 flags = SDL_WINDOW_HIDDEN | KindFlags(style, exStyle, owner != nullptr, &made.popup);
            made.window = SDL_CreateWindow(ToUtf8(made.title).c_str(), r.left, r.top, width, height, flags);
            if (made.window == nullptr) {
                std::fprintf(stderr, "interactive desktop: a window cannot be opened: %s\n", SDL_GetError());
                return;
            }
            made.id = SDL_GetWindowID(made.window);
            made.placed = r;
            st.natives.push_back(std::move(made));
            n = &st.natives.back();
        } else {
            std::u16string title = TitleOf(top);
            if (title != n->title) {
                SDL_SetWindowTitle(n->window, ToUtf8(title).c_str());
                n->title = std::move(title);
            }
        }
    } catch (const std::bad_alloc&) {
        return;  // it catches up with its next change
    }
    const Uint32 flags = SDL_GetWindowFlags(n->window);
    if (style & WS_MINIMIZE) {
        if (!(flags & SDL_WINDOW_MINIMIZED)) SDL_MinimizeWindow(n->window);
    } else if (style & WS_MAXIMIZE) {
        if (!(flags & SDL_WINDOW_MAXIMIZED)) SDL_MaximizeWindow(n->window);
    } else {
        if (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)) SDL_RestoreWindow(n->window);
        if (!SameRect(n->placed, r)) {
            if (n->placed.left != r.left || n->placed.top != r.top) SDL_SetWindowPosition(n->window, r.left, r.top);
            if (n->placed.right - n->placed.left != r.right - r.left || n->placed.bottom - n->placed.top != r.bottom - r.top)
                SDL_SetWindowSize(n->window, std::clamp<int>(r.right - r.left, 1, kMaxSide),
                                  std::clamp<int>(r.bottom - r.top, 1, kMaxSide));
            n->placed = r;
        }
    }
    // A window owned by a disabled window is modal for it: the system keeps it
    // above its owner, and the owner's system window refuses input meanwhile.
    if (!n->modal && owner != nullptr && !IsWindowEnabled(owner)) {
        if (State::Native* o = st.ByHandle(owner)) {
            n->modal = SDL_SetWindowModalFor(n->window, o->window) == 0;
        }
    }
    if (!n->shown) {
        ShowNative(n->window);
        n->shown = true;
    }
    if (!n->popup && GetActiveWindow() == top && SDL_GetKeyboardFocus() != n->window) SDL_RaiseWindow(n->window);
}

bool SdlBackend::ShowDragFrame([[maybe_unused]] const RECT* rect, [[maybe_unused]] int thickness) {
#if defined(TQ3_WITH_XLIB)
    // On a virtual desktop the screen DC's inversion shows everywhere already.
    State& st = *state_;
    if (!st.native || !st.onX) return false;
    if (rect == nullptr) {
        if (st.dragFrame) st.dragFrame->Hide();
        return true;
    }
    if (st.natives.empty()) return false;
    try {
        if (!st.dragFrame) st.dragFrame = std::make_unique<sdl::DragFrame>();
        return st.dragFrame->Show(st.natives.front().window, rect->left, rect->top, rect->right, rect->bottom,
                                  thickness);
    } catch (const std::bad_alloc&) {
        return false;  // the drag inverts the rectangle instead
    }
#else
    return false;
#endif
}

void SdlBackend::NativeWindowDestroyed(HWND top) {
    auto& natives = state_->natives;
    for (auto it = natives.begin(); it != natives.end(); ++it) {
        if (it->hwnd != top) continue;
        SDL_DestroyWindow(it->window);
        natives.erase(it);
        return;
    }
}

void SdlBackend::PresentWindow(HWND top, const Region& damage) {
    State::Native* n = state_->ByHandle(top);
    if (n == nullptr) return;
    SDL_Surface* target = SDL_GetWindowSurface(n->window);
    if (target == nullptr || target->format->BytesPerPixel != 4) return;
    Region shown(damage);
    shown.Intersect(RECT{0, 0, target->w, target->h});
    if (shown.IsEmpty()) return;
    std::vector<SDL_Rect> rects;
    std::vector<Pixel> scratch;
    try {
        std::vector<RECT> parts = shown.Rects();
        if (parts.size() > kMaxPresentRects) parts.assign(1, shown.Bounds());
        for (const RECT& p : parts) rects.push_back(SDL_Rect{p.left, p.top, p.right - p.left, p.bottom - p.top});
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
        for (const SDL_Rect& r : rects) {
            auto* dst = static_cast<Uint8*>(target->pixels) + static_cast<size_t>(r.y) * static_cast<size_t>(target->pitch) +
                        static_cast<size_t>(r.x) * 4u;
            const RECT area{r.x, r.y, r.x + r.w, r.y + r.h};
            if (target->format->format == SDL_PIXELFORMAT_RGB888) {
                ComposeWindow(top, area, reinterpret_cast<Pixel*>(dst), target->pitch / static_cast<int>(sizeof(Pixel)));
                continue;
            }
            scratch.resize(static_cast<size_t>(r.w) * static_cast<size_t>(r.h));
            ComposeWindow(top, area, scratch.data(), r.w);
            SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888, scratch.data(), r.w * static_cast<int>(sizeof(Pixel)),
                              target->format->format, dst, target->pitch);
        }
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } catch (const std::bad_alloc&) {
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        return;  // the next damage shows it
    }
    SDL_UpdateWindowSurfaceRects(n->window, rects.data(), static_cast<int>(rects.size()));
}

POINT SdlBackend::State::ToScreen(Uint32 windowId, int x, int y) {
    if (!native) return POINT{x, y};
    Native* n = ById(windowId);
    if (n == nullptr) {
        int gx = x, gy = y;
        SDL_GetGlobalMouseState(&gx, &gy);
        return POINT{gx, gy};
    }
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(n->window, &wx, &wy);
    return POINT{wx + x, wy + y};
}

void SdlBackend::State::OnNativeWindowEvent(const SDL_WindowEvent& e) {
    Native* n = ById(e.windowID);
    if (n == nullptr) return;
    HWND h = n->hwnd;
    auto style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
    switch (e.event) {
        case SDL_WINDOWEVENT_MOVED: {
            // The window manager moved it (or confirmed our move): the framework follows.
            const LONG w = n->placed.right - n->placed.left, hgt = n->placed.bottom - n->placed.top;
            n->placed = RECT{e.data1, e.data2, e.data1 + w, e.data2 + hgt};
            RECT r{};
            GetWindowRect(h, &r);
            if (r.left != e.data1 || r.top != e.data2)
                SetWindowPos(h, nullptr, e.data1, e.data2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            n->placed.right = n->placed.left + e.data1;
            n->placed.bottom = n->placed.top + e.data2;
            RECT r{};
            GetWindowRect(h, &r);
            if (r.right - r.left != e.data1 || r.bottom - r.top != e.data2)
                SetWindowPos(h, nullptr, 0, 0, e.data1, e.data2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED: SDL_UpdateWindowSurface(n->window); break;
        case SDL_WINDOWEVENT_CLOSE:
            // The close box of a window that a modal window disables does nothing.
            if (!(style & WS_DISABLED)) PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!(style & WS_MINIMIZE)) PostMessageW(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (!(style & WS_MAXIMIZE)) PostMessageW(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (style & (WS_MINIMIZE | WS_MAXIMIZE)) PostMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: {
            sdl::LockToggles t = TogglesFromModsNow();
            PrepareToggles(t, 0);
            CheckClipboard();
            if (!(style & WS_DISABLED)) {
                if (!n->popup) SetActiveWindow(h);
                break;
            }
            // The owner of a modal window: the modal window comes forward instead.
            for (Native& other : natives) {
                if (other.shown && GetWindow(other.hwnd, GW_OWNER) == h && IsWindowEnabled(other.hwnd)) {
                    SDL_RaiseWindow(other.window);
                    break;
                }
            }
            break;
        }
        case SDL_WINDOWEVENT_FOCUS_LOST:
            for (int vk : kModifierKeys) {
                if (GetAsyncKeyState(vk) & 0x8000) DeliverKey(false, vk, vk == VK_RCONTROL || vk == VK_RMENU);
            }
            // When no window of ours has the keyboard any more, another program
            // took it: menus and dropped lists close as on a switch of program.
            if (SDL_GetKeyboardFocus() == nullptr) {
                if (HWND active = GetActiveWindow()) SendMessageW(active, WM_CANCELMODE, 0, 0);
                if (GetCapture() != nullptr) ReleaseCapture();
                if (buttonsDown != 0) pointerLetGo = true;
            }
            break;
        case SDL_WINDOWEVENT_LEAVE:
            if (buttonsDown == 0) Deliver(InputEvent::Kind::MouseMove, POINT{-32768, -32768});
            break;
        default: break;
    }
}

// ============================================================================
// Waiting for events
// ============================================================================

bool SdlBackend::WaitForInput(DWORD timeoutMs) {
    if (!state_->native) state_->FollowActiveCaption();
    // A release made in another program sends us nothing: look again soon.
    if (state_->pointerLetGo) timeoutMs = std::min<DWORD>(timeoutMs, 50);
    SDL_Event event;
    int got;
    if (timeoutMs == 0)
        got = SDL_PollEvent(&event);
    else if (timeoutMs == INFINITE)
        got = SDL_WaitEvent(&event);
    else
        got = SDL_WaitEventTimeout(&event, static_cast<int>(std::min<DWORD>(timeoutMs, INT_MAX)));
    if (got == 0) {
        if (state_->pointerLetGo) state_->CheckLostRelease();
        return true;
    }
    state_->Dispatch(event);
    while (SDL_PollEvent(&event) != 0) state_->Dispatch(event);
    return true;
}

void SdlBackend::State::Dispatch(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: OnQuit(); break;
        case SDL_WINDOWEVENT:
            if (native)
                OnNativeWindowEvent(event.window);
            else
                OnWindowEvent(event.window);
            break;
        case SDL_KEYDOWN: OnKeyDown(event.key); break;
        case SDL_KEYUP: OnKeyUp(event.key); break;
        case SDL_TEXTINPUT: {
            // Text with no key press before it: an input method's result.
            try {
                DeliverChars(Utf8ToU16(event.text.text));
            } catch (const std::bad_alloc&) {
            }
            break;
        }
        case SDL_MOUSEMOTION:
            if (pointerLetGo) CheckLostRelease();
            Deliver(InputEvent::Kind::MouseMove, ToScreen(event.motion.windowID, event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: OnButton(event.button); break;
        case SDL_MOUSEWHEEL: OnWheel(event.wheel); break;
        case SDL_CLIPBOARDUPDATE: CheckClipboard(); break;
        default: break;
    }
}

void SdlBackend::State::OnWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            SIZE wanted{std::clamp(e.data1, 1, kMaxSide), std::clamp(e.data2, 1, kMaxSide)};
            if (wanted.cx == size.cx && wanted.cy == size.cy) break;
            if (ResizeDesktop(wanted.cx, wanted.cy)) size = wanted;
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED:
            // The window surface still holds the picture; the screen lost it.
            SDL_UpdateWindowSurface(window);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            // Tell a window tracking the pointer that it left, unless a drag holds it.
            if (buttonsDown == 0) Deliver(InputEvent::Kind::MouseMove, POINT{-32768, -32768});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            for (int vk : kModifierKeys) {
                if (GetAsyncKeyState(vk) & 0x8000) DeliverKey(false, vk, vk == VK_RCONTROL || vk == VK_RMENU);
            }
            if (buttonsDown != 0) pointerLetGo = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: {
            sdl::LockToggles t = TogglesFromModsNow();
            PrepareToggles(t, 0);
            // A user who copied in another program comes back here to paste.
            CheckClipboard();
            break;
        }
        default: break;
    }
}

void SdlBackend::State::OnKeyDown(const SDL_KeyboardEvent& e) {
    Uint16 mods = e.keysym.mod;
    sdl::LockToggles toggles = sdl::TogglesFromMods(mods);
    sdl::KeyCode key = sdl::KeyFromSdl(e.keysym.scancode, e.keysym.sym, toggles.numLock, (mods & KMOD_SHIFT) != 0);
    PrepareToggles(toggles, e.repeat ? 0 : key.vk);
    // The text SDL made of this press comes right behind it in the queue.
    SDL_Event next;
    const char* text = nullptr;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == SDL_TEXTINPUT)
        text = next.text.text;
    try {
        WCHAR translated = key.vk != 0 ? CharOfKeyPressedNow(key.vk) : 0;
        sdl::KeyTextPlan plan = sdl::PlanKeyText(key.vk, translated, (mods & (KMOD_CTRL | KMOD_ALT)) != 0, text,
                                                 SDL_IsTextInputActive() == SDL_TRUE);
        if (plan.textUsed) SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
        if (plan.vk != 0) DeliverKey(true, plan.vk, key.extended);
        DeliverChars(plan.chars);
    } catch (const std::bad_alloc&) {
        if (key.vk != 0) DeliverKey(true, key.vk, key.extended);
    }
}

void SdlBackend::State::OnKeyUp(const SDL_KeyboardEvent& e) {
    Uint16 mods = e.keysym.mod;
    sdl::LockToggles toggles = sdl::TogglesFromMods(mods);
    sdl::KeyCode key = sdl::KeyFromSdl(e.keysym.scancode, e.keysym.sym, toggles.numLock, (mods & KMOD_SHIFT) != 0);
    PrepareToggles(toggles, 0);
    if (key.vk != 0) DeliverKey(false, key.vk, key.extended);
}

void SdlBackend::State::OnButton(const SDL_MouseButtonEvent& e) {
    bool known;
    InputEvent::Button button = ButtonOf(e.button, &known);
    if (!known) return;
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    Uint32 mask = SDL_BUTTON(e.button);
    if (!down && (releasesToDrop & mask)) {
        // The release we handed SDL (CheckLostRelease): ours already knew.
        releasesToDrop &= ~mask;
        return;
    }
    Uint32 before = buttonsDown;
    buttonsDown = down ? (before | mask) : (before & ~mask);
    if (buttonsDown == 0) pointerLetGo = false;
    // While a button is held the pointer stays ours outside the window too, so a
    // drag that leaves it keeps going and its release is seen.
    if (before == 0 && buttonsDown != 0) SDL_CaptureMouse(SDL_TRUE);
    if (before != 0 && buttonsDown == 0) SDL_CaptureMouse(SDL_FALSE);
    InputEvent in;
    in.kind = down ? InputEvent::Kind::ButtonDown : InputEvent::Kind::ButtonUp;
    in.button = button;
    in.pt = ToScreen(e.windowID, e.x, e.y);
    DeliverInput(in);
}

// After another program took the keyboard with a button held, the display
// layer no longer holds the pointer and the release may go to another program's
// window (see x11_pointer.cpp). Asks the server which buttons are really down;
// for each that is not, the display layer is handed the release it missed and
// the windows learn that the button is up, with the pointer outside them, where
// it was released.
void SdlBackend::State::CheckLostRelease() {
    pointerLetGo = false;
#if defined(TQ3_WITH_XLIB)
    SDL_Window* any = window != nullptr || natives.empty() ? window : natives.front().window;
    const int heldNow = sdl::ButtonsHeldNow(any);
    if (heldNow < 0) return;
    const auto held = static_cast<Uint32>(heldNow);
    const Uint32 believed = SDL_GetMouseState(nullptr, nullptr);
    // A button still down may yet be released elsewhere: keep looking.
    pointerLetGo = ((believed | buttonsDown) & held) != 0;
    const Uint32 before = buttonsDown;
    for (int b = SDL_BUTTON_LEFT; b <= SDL_BUTTON_RIGHT; ++b) {
        const Uint32 mask = SDL_BUTTON(b);
        if ((held & mask) != 0) continue;
        if ((believed & mask) != 0 && sdl::SendButtonRelease(any, b)) releasesToDrop |= mask;
        if ((buttonsDown & mask) == 0) continue;
        buttonsDown &= ~mask;
        bool known;
        InputEvent up;
        up.kind = InputEvent::Kind::ButtonUp;
        up.button = ButtonOf(static_cast<Uint8>(b), &known);
        up.pt = POINT{-32768, -32768};
        if (known) DeliverInput(up);
    }
    if (before != 0 && buttonsDown == 0) SDL_CaptureMouse(SDL_FALSE);
#endif
}

void SdlBackend::State::OnWheel(const SDL_MouseWheelEvent& e) {
    bool flipped = e.direction == SDL_MOUSEWHEEL_FLIPPED;
    POINT pt = ToScreen(e.windowID, e.mouseX, e.mouseY);
    InputEvent in;
    in.kind = InputEvent::Kind::Wheel;
    in.pt = pt;
    if (e.y != 0 || e.preciseY != 0.0f) {
        in.delta = sdl::WheelDelta(e.y, e.preciseY, flipped);
        in.horizontal = false;
        if (in.delta != 0) DeliverInput(in);
    }
    if (e.x != 0 || e.preciseX != 0.0f) {
        in.delta = sdl::WheelDelta(e.x, e.preciseX, flipped);
        in.horizontal = true;
        if (in.delta != 0) DeliverInput(in);
    }
}

void SdlBackend::State::OnQuit() {
    // The user closed the OS window: each main window is asked to close, as its
    // close box would. While a modal window disables them nothing closes, as on
    // the platform; with no window left the program is told to quit.
    std::vector<HWND> targets;
    bool any = false;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        any = true;
        auto style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
        if (GetWindow(h, GW_OWNER) == nullptr && (style & WS_VISIBLE) && !(style & WS_DISABLED)) targets.push_back(h);
    }
    if (!any) {
        PostQuitMessage(0);
        return;
    }
    for (HWND h : targets) PostMessageW(h, WM_CLOSE, 0, 0);
}

void SdlBackend::State::FollowActiveCaption() {
    HWND active = GetActiveWindow();
    if (active == nullptr || !IsWindow(active)) return;
    try {
        // The window's own text, read without sending it a message; the buffer
        // grows until the whole text fits.
        std::u16string text(256, u'\0');
        int length;
        while ((length = InternalGetWindowText(active, text.data(), static_cast<int>(text.size()))) >=
               static_cast<int>(text.size()) - 1)
            text.resize(text.size() * 2);
        text.resize(static_cast<size_t>(length));
        if (text == title) return;
        title = std::move(text);
        SDL_SetWindowTitle(window, ToUtf8(title).c_str());
    } catch (const std::bad_alloc&) {
    }
}

// ============================================================================
// Cursors
// ============================================================================

void SdlBackend::SetCursorShape(CursorShape shape, const CursorImage* image) {
    if (shape == CursorShape::None) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* cursor = nullptr;
    SDL_SystemCursor id;
    if (shape == CursorShape::Custom && image != nullptr) {
        cursor = state_->CustomCursor(*image);
    } else if (sdl::SystemCursorFor(shape, &id)) {
        SDL_Cursor*& slot = state_->systemCursors[id];
        if (slot == nullptr) slot = SDL_CreateSystemCursor(id);
        cursor = slot;
    }
    if (cursor == nullptr) {
        // A shape the system cannot make shows as the arrow rather than not at all.
        SDL_Cursor*& arrow = state_->systemCursors[SDL_SYSTEM_CURSOR_ARROW];
        if (arrow == nullptr) arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        cursor = arrow;
    }
    if (cursor != nullptr) SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

SDL_Cursor* SdlBackend::State::CustomCursor(const CursorImage& image) {
    State& st = *this;
    if (st.customCursor != nullptr && st.customImage.width == image.width && st.customImage.height == image.height &&
        st.customImage.hotSpot.x == image.hotSpot.x && st.customImage.hotSpot.y == image.hotSpot.y &&
        st.customImage.argb == image.argb)
        return st.customCursor;
    if (image.width <= 0 || image.height <= 0 ||
        image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        return nullptr;
    // The image's words are 0xAARRGGBB, SDL's ARGB8888.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(image.argb.data()), image.width,
                                                              image.height, 32, image.width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return nullptr;
    SDL_Cursor* made = SDL_CreateColorCursor(surface, image.hotSpot.x, image.hotSpot.y);
    SDL_FreeSurface(surface);
    if (made == nullptr) return nullptr;
    try {
        st.customImage = image;
    } catch (const std::bad_alloc&) {
        st.customImage = CursorImage{};  // not reusable, still shown
    }
    // The previous image cursor may be the one shown: it goes once the new one is.
    SDL_Cursor* old = st.customCursor;
    st.customCursor = made;
    SDL_SetCursor(made);
    if (old != nullptr) SDL_FreeCursor(old);
    return made;
}

// ============================================================================
// Text input
// ============================================================================

// A focused window without an input context stops the system's text input (no
// composition window opens over it); otherwise the input method's candidate
// window is placed at the caret.
void SdlBackend::SetTextInput(bool on, const RECT& caret) {
    if (!on) {
        SDL_StopTextInput();
        return;
    }
    // SDL places the candidate window relative to its focused window: in native
    // mode that is the focused window's top-level window, else the desktop.
    POINT origin{0, 0};
    if (state_->native) {
        HWND top = GetAncestor(GetFocus(), GA_ROOT);
        RECT r;
        if (top != nullptr && GetWindowRect(top, &r)) origin = POINT{r.left, r.top};
    }
    SDL_Rect area{caret.left - origin.x, caret.top - origin.y, caret.right - caret.left, caret.bottom - caret.top};
    SDL_SetTextInputRect(&area);
    if (!SDL_IsTextInputActive()) SDL_StartTextInput();
}

// ============================================================================
// Clipboard
// ============================================================================

// Line ends cross the boundary translated: the framework's clipboard keeps the
// platform's CR LF, which the table view's paste splits records at, while the
// programs of the desktop end lines with LF alone. A CR LF pair leaving becomes
// LF; an LF arriving without a CR before it becomes CR LF. A CR alone is left as
// it is both ways.
namespace {

// The framework's text as the desktop's programs read it: UTF-8, each CR LF pair
// made LF. The pairs are taken out of the UTF-8 in place (CR and LF are one byte
// each there), so the text is converted once and not copied besides.
std::string ToDesktopText(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    std::size_t to = 0;
    for (std::size_t from = 0; from < utf8.size(); ++from) {
        if (utf8[from] == '\r' && from + 1 < utf8.size() && utf8[from + 1] == '\n') continue;
        utf8[to++] = utf8[from];
    }
    utf8.resize(to);
    return utf8;
}

// The desktop's text as the framework's clipboard keeps it: UTF-16, each LF
// without a CR before it given one. Built in one string, so that a large text
// from another program is not held three times over: room for the CRs is reserved
// before the conversion (at most one for each LF byte), and they are put in from
// the end, each character moved once.
std::u16string FromDesktopText(std::string_view utf8) {
    const auto lineFeeds = static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n'));
    std::u16string text;
    text.reserve(utf8.size() + lineFeeds);
    AppendUtf8AsU16(utf8, text);
    const auto lone = [&text](std::size_t i) { return text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'); };
    std::size_t added = 0;
    for (std::size_t i = 0; i < text.size(); ++i) added += lone(i) ? 1 : 0;
    std::size_t from = text.size();
    text.resize(text.size() + added);  // within the reserved room
    // Nothing before `from` has moved yet: the units written lie at `to` and after.
    for (std::size_t to = text.size(); added > 0;) {
        --from;
        const bool insert = lone(from);
        text[--to] = text[from];
        if (insert) {
            text[--to] = u'\r';
            --added;
        }
    }
    return text;
}

}  // namespace

bool SdlBackend::WriteSystemClipboardText(std::u16string_view text) {
    try {
        std::string utf8 = ToDesktopText(text);
        if (SDL_SetClipboardText(utf8.c_str()) != 0) return false;
        state_->clipboardKnown = std::move(utf8);
#if defined(TQ3_WITH_XLIB)
        // The window that now owns the selection is the display layer's: a
        // later owner that differs is another program.
        if (state_->onX) state_->ownClipboardWindow = sdl::ClipboardOwnerOverX();
#endif
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SdlBackend::ReadSystemClipboardText(std::u16string* text) {
    if (text == nullptr) return false;
    try {
#if defined(TQ3_WITH_XLIB)
        // On X the display layer reads another program's text only when it comes
        // whole, and leaves a program that sends a large text in pieces waiting on
        // it: such texts are read here, and the display layer reads only our own.
        if (state_->onX) {
            const unsigned long owner = sdl::ClipboardOwnerOverX();
            if (owner == 0) return false;
            if (owner != state_->ownClipboardWindow) {
                std::string utf8;
                if (!sdl::ReadClipboardOverX(&utf8, kMaxClipboardBytes) || utf8.empty()) return false;
                *text = FromDesktopText(utf8);
                return true;
            }
        }
#endif
        char* raw = SDL_GetClipboardText();
        if (raw == nullptr) return false;
        std::unique_ptr<char, void (*)(void*)> owned(raw, SDL_free);
        if (raw[0] == '\0') return false;
        *text = FromDesktopText(raw);
        state_->clipboardKnown = raw;
        return true;
    } catch (const std::bad_alloc&) {
        return false;  // too large to hold: the clipboard keeps what it had
    }
}

ULONGLONG SdlBackend::SystemClipboardSequence() const { return state_->clipboardSequence; }

void SdlBackend::State::CheckClipboard() {
#if defined(TQ3_WITH_XLIB)
    // Another program's text is not read to see whether it changed (it may be
    // large, and read in pieces): another owner counts as a change, and the text
    // is read when it is wanted.
    if (onX) {
        const unsigned long owner = sdl::ClipboardOwnerOverX();
        if (owner != ownClipboardWindow) {
            ++clipboardSequence;
            return;
        }
    }
#endif
    // SDL reports changes of ours as well as other programs'; only a text that
    // differs from the one last written or read counts, so the framework keeps
    // the formats it holds beside the text when it only sees its own copy.
    char* raw = SDL_GetClipboardText();
    if (raw == nullptr) return;
    try {
        if (clipboardKnown != raw) {
            clipboardKnown = raw;
            ++clipboardSequence;
        }
    } catch (const std::bad_alloc&) {
        ++clipboardSequence;
    }
    SDL_free(raw);
}

// ============================================================================
// Clock
// ============================================================================

ULONGLONG SdlBackend::Now() const { return SDL_GetTicks64(); }

}  // namespace tq3::fw
