// What the column header and the line header have in common: how they tell the
// view about a mouse action, and how they paint.
#pragma once

#include "framework/app/wnd.h"
#include "framework/controls/commctrl.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3 {

// Sends the strip's parent WM_NOTIFY with a header record for `item` (-1: none)
// and `button` (0 left, 1 right).
inline void NotifyStripParent(CWnd& strip, UINT id, UINT code, int item, int button) {
    NMHEADERW record{};
    record.hdr.hwndFrom = strip.m_hWnd;
    record.hdr.idFrom = id;
    record.hdr.code = code;
    record.iItem = item;
    record.iButton = button;
    record.pitem = nullptr;
    if (CWnd* parent = strip.GetParent()) parent->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&record));
}

// Paints `client` through a bitmap off the screen, copied to `target` in one piece,
// so that a strip never shows half drawn (a column being resized, rows moving).
// The bitmap starts in the button face colour with the button text and face
// colours and `font` (when it has been made) selected; `draw(CDC&)` draws the
// content. Without memory for the bitmap the screen keeps its pixels.
template <typename Draw>
void PaintStripOffScreen(CDC& target, const CRect& client, CFont& font, Draw&& draw) {
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(&target) || !bitmap.CreateCompatibleBitmap(&target, client.Width(), client.Height())) {
        return;
    }
    CBitmap* previousBitmap = memDC.SelectObject(&bitmap);
    memDC.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont* previousFont = font.GetSafeHandle() != nullptr ? memDC.SelectObject(&font) : nullptr;
    const COLORREF previousText = memDC.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    const COLORREF previousBack = memDC.SetBkColor(GetSysColor(COLOR_BTNFACE));
    draw(memDC);
    memDC.SetTextColor(previousText);
    memDC.SetBkColor(previousBack);
    if (previousFont != nullptr) memDC.SelectObject(previousFont);
    target.BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(previousBitmap);
}

}  // namespace tq3
