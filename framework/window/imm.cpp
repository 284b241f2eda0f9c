// The input-method seam (see imm.h): contexts per window, and the backend's text
// input switched to follow the focus and the caret.
//
// Call flow: ImmAssociateContext(Ex) -> SyncTextInput; SetFocus, CreateCaret,
// SetCaretPos and DestroyCaret -> SyncTextInput -> Backend::SetTextInput when the
// wanted state differs from what the backend was last told.
#include "framework/window/imm.h"

#include "framework/core/geometry.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

// The one context every window starts with; it is never freed.
struct InputContext {
    int unused = 0;
};
InputContext g_default;

}  // namespace

HIMC DefaultInputContext() { return reinterpret_cast<HIMC>(&g_default); }

// Composed text reaches a window only while it has a context.
bool AcceptsComposedText(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w != nullptr && w->ime != nullptr;
}

void SyncTextInput() {
    State& s = S();
    Window* focus = FromHandle(s.focus);
    bool on = focus == nullptr || focus->ime != nullptr;
    RECT area{0, 0, 0, 0};
    if (focus != nullptr) {
        POINT o = ClientOriginOnScreen(focus);
        if (s.caret.hwnd == focus->handle) {
            area = RECT{o.x + s.caret.pos.x, o.y + s.caret.pos.y, o.x + s.caret.pos.x + s.caret.width,
                        o.y + s.caret.pos.y + s.caret.height};
        } else {
            area = RECT{o.x, o.y, o.x + (focus->client.right - focus->client.left),
                        o.y + (focus->client.bottom - focus->client.top)};
        }
    }
    if (s.textInputKnown && s.textInputOn == on && ::EqualRect(&s.textInputArea, &area)) return;
    s.textInputKnown = true;
    s.textInputOn = on;
    s.textInputArea = area;
    CurrentBackend().SetTextInput(on, area);
}

}  // namespace tq3::fw::wm

using namespace tq3::fw::wm;

HIMC ImmGetContext(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w != nullptr ? w->ime : nullptr;
}

BOOL ImmReleaseContext(HWND hwnd, HIMC context) {
    return FromHandle(hwnd) != nullptr && context != nullptr ? TRUE : FALSE;
}

HIMC ImmAssociateContext(HWND hwnd, HIMC context) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return nullptr;
    HIMC before = w->ime;
    w->ime = context;
    SyncTextInput();
    return before;
}

namespace {

void AssociateTree(Window* w, HIMC context, DWORD flags, bool children) {
    if (!((flags & IACE_IGNORENOCONTEXT) && w->ime == nullptr)) {
        w->ime = (flags & IACE_DEFAULT) ? DefaultInputContext() : context;
    }
    if (!children) return;
    for (Window* child : w->children) AssociateTree(child, context, flags, true);
}

}  // namespace

BOOL ImmAssociateContextEx(HWND hwnd, HIMC context, DWORD flags) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    AssociateTree(w, context, flags, (flags & IACE_CHILDREN) != 0);
    SyncTextInput();
    return TRUE;
}
