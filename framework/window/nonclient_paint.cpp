// The non-client area painted from a window's styles, text and scroll-bar
// layout (WM_NCPAINT's default). The window manager reads the window; the drawing
// layer paints from the plain values it is given and knows no windows.
//
// Call flow: DefWindowProcW(WM_NCPAINT) -> DrawNonClient -> DrawNonClientFrame,
// then LookOf -> DrawScrollBarLook for each visible bar, then DrawSizeBox.
#include <string>

#include "framework/gdi/nonclient.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

ScrollBarLook LookOf(const ScrollBarParts& parts, bool vertical) {
    ScrollBarLook look;
    look.vertical = vertical;
    look.arrowStartEnabled = parts.arrowStartEnabled;
    look.arrowEndEnabled = parts.arrowEndEnabled;
    look.arrowStart = parts.arrowStart;
    look.arrowEnd = parts.arrowEnd;
    look.track = parts.track;
    look.thumb = parts.thumb;
    switch (parts.pressed) {
        case ScrollBarPart::ArrowStart:
            look.pressed = 1;
            break;
        case ScrollBarPart::PageStart:
            look.pressed = 2;
            break;
        case ScrollBarPart::Thumb:
            look.pressed = 3;
            break;
        case ScrollBarPart::PageEnd:
            look.pressed = 4;
            break;
        case ScrollBarPart::ArrowEnd:
            look.pressed = 5;
            break;
        case ScrollBarPart::None:
            break;
    }
    return look;
}

}  // namespace

void DrawNonClient(HWND hwnd, HDC dc) {
    RECT window{};
    if (!GetWindowRect(hwnd, &window)) return;
    NonClientLook look;
    look.window = SIZE{window.right - window.left, window.bottom - window.top};
    look.style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    look.exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    // The system draws this window's caption and frame around it.
    if (NativelyDecorated(look.style)) {
        look.style &= ~(WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
        look.exStyle &= ~WS_EX_DLGMODALFRAME;
    }
    look.active = GetActiveWindow() == hwnd;
    // A top-level window's id is its menu.
    look.hasMenu = !(look.style & WS_CHILD) && GetWindowLongPtrW(hwnd, GWLP_ID) != 0;
    // Only a caption shows the window text, so only a caption asks for it.
    std::u16string text;
    int length = (look.style & WS_CAPTION) == WS_CAPTION ? GetWindowTextLengthW(hwnd) : 0;
    if (length > 0) {
        try {
            text.resize(static_cast<std::size_t>(length) + 1);
            text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
            look.caption = text.c_str();
            look.captionLength = static_cast<int>(text.size());
        } catch (const std::bad_alloc&) {
            look.caption = nullptr;  // the frame is still drawn, without its title
        }
    }
    DrawNonClientFrame(dc, look);
    for (int bar : {SB_VERT, SB_HORZ}) {
        ScrollBarParts parts;
        if (GetWindowScrollBarParts(hwnd, bar, &parts) && parts.visible) DrawScrollBarLook(dc, LookOf(parts, bar == SB_VERT));
    }
    RECT corner = GetWindowScrollBarCorner(hwnd);
    if (corner.right > corner.left && corner.bottom > corner.top) {
        DrawSizeBox(dc, corner, (look.style & WS_THICKFRAME) != 0);
    }
}

}  // namespace tq3::fw::wm
