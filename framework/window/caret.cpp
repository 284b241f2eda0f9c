// The caret: one per process, owned by a window, drawn by inverting its rectangle
// on its window's surface and blinking on a timer. While any window DC is open the
// caret is taken off the surface, so that drawing under it is never mixed with
// its inversion.
#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

void Invert() {
    State& s = S();
    Window* w = FromHandle(s.caret.hwnd);
    if (w == nullptr) return;
    POINT o = ClientOriginOnScreen(w);
    Region area(RECT{o.x + s.caret.pos.x, o.y + s.caret.pos.y, o.x + s.caret.pos.x + s.caret.width,
                     o.y + s.caret.pos.y + s.caret.height});
    area.Intersect(VisibleRegion(w, true));
    Window* root = DrawingRoot(w);
    Surface* surface = SurfaceOf(root);
    if (surface == nullptr) return;
    area = ScreenToSurface(root, area);
    area.ForEachRect([&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            Pixel* row = surface->Row(y);
            for (int x = r.left; x < r.right; ++x) row[x] ^= 0x00FFFFFF;
        }
    });
    PresentDamage(root, area);
    s.caret.drawn = !s.caret.drawn;
}

bool ShouldShow() {
    const Caret& c = S().caret;
    return c.hwnd != nullptr && c.hideCount == 0 && c.blinkOn && S().caretPaintDepth == 0;
}

void Erase() {
    if (S().caret.drawn) Invert();
}

void Restart() {
    State& s = S();
    s.caret.blinkOn = true;
    if (ShouldShow() && !s.caret.drawn) Invert();
    if (s.caret.hwnd != nullptr && s.caret.hideCount == 0)
        SetSystemTimer(s.caret.hwnd, kCaretTimerId, s.caretBlinkTime);
}

}  // namespace

void CaretBeforePaint(HWND) {
    State& s = S();
    if (s.caretPaintDepth++ == 0) Erase();
}

void CaretAfterPaint(HWND) {
    State& s = S();
    if (s.caretPaintDepth > 0 && --s.caretPaintDepth == 0 && ShouldShow() && !s.caret.drawn) Invert();
}

void CaretBlink() {
    State& s = S();
    if (s.caret.hwnd == nullptr || s.caret.hideCount != 0 || s.caretPaintDepth != 0) return;
    s.caret.blinkOn = !s.caret.blinkOn;
    if (s.caret.blinkOn != s.caret.drawn) Invert();
}

void DestroyCaretOf(HWND hwnd) {
    if (S().caret.hwnd == hwnd && hwnd != nullptr) DestroyCaret();
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
    State& s = S();
    if (FromHandle(hwnd) == nullptr) return FALSE;
    if (s.caret.hwnd != nullptr) DestroyCaret();
    s.caret = Caret{};
    s.caret.hwnd = hwnd;
    s.caret.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    s.caret.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    SyncTextInput();
    return TRUE;
}

BOOL DestroyCaret() {
    State& s = S();
    if (s.caret.hwnd == nullptr) return FALSE;
    Erase();
    KillSystemTimer(s.caret.hwnd, kCaretTimerId);
    s.caret = Caret{};
    SyncTextInput();
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    State& s = S();
    if (s.caret.hwnd == nullptr || (hwnd != nullptr && hwnd != s.caret.hwnd)) return FALSE;
    if (s.caret.hideCount == 0) return TRUE;
    if (--s.caret.hideCount == 0) Restart();
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    State& s = S();
    if (s.caret.hwnd == nullptr || (hwnd != nullptr && hwnd != s.caret.hwnd)) return FALSE;
    if (s.caret.hideCount++ == 0) {
        Erase();
        KillSystemTimer(s.caret.hwnd, kCaretTimerId);
    }
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    State& s = S();
    if (s.caret.hwnd == nullptr) return FALSE;
    if (s.caret.pos.x == x && s.caret.pos.y == y) return TRUE;
    Erase();
    s.caret.pos = POINT{x, y};
    if (s.caret.hideCount == 0) Restart();
    SyncTextInput();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    if (point == nullptr || S().caret.hwnd == nullptr) return FALSE;
    *point = S().caret.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() { return S().caretBlinkTime; }

BOOL SetCaretBlinkTime(UINT milliseconds) {
    if (milliseconds == 0) return FALSE;
    S().caretBlinkTime = milliseconds;
    return TRUE;
}
