// What the column header and the line header have in common: how they tell the
// view about a mouse action, and how they paint.
#pragma once

#include "framework/app/wnd.h"
#include "framework/controls/commctrl.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"
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

// Paints `client` through the strip's off-screen buffer, copied to `target` in one
// piece, so that a strip never shows half drawn (a column being resized, rows
// moving). The buffer is filled with the button face colour, with the button text
// and face colours, transparent text and `font` (when it has been made) selected;
// `draw(CDC&)` draws the content. Without memory for the buffer the screen keeps its pixels.
template <typename Draw>
void PaintStripOffScreen(CDC& target, const CRect& client, tq3::fw::OffscreenBuffer& buffer, CFont& font,
                         Draw&& draw) {
    CDC* memDC = buffer.Prepare(&target, CSize(client.Width(), client.Height()));
    if (memDC == nullptr) return;
    memDC->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CFont* previousFont = font.GetSafeHandle() != nullptr ? memDC->SelectObject(&font) : nullptr;
    const COLORREF previousText = memDC->SetTextColor(GetSysColor(COLOR_BTNTEXT));
    const COLORREF previousBack = memDC->SetBkColor(GetSysColor(COLOR_BTNFACE));
    // Titles and numbers go onto the face just filled: transparent, so that their
    // boxes are not filled again with the same colour.
    const int previousMode = memDC->SetBkMode(TRANSPARENT);
    draw(*memDC);
    memDC->SetBkMode(previousMode);
    memDC->SetTextColor(previousText);
    memDC->SetBkColor(previousBack);
    if (previousFont != nullptr) memDC->SelectObject(previousFont);
    target.BitBlt(0, 0, client.Width(), client.Height(), memDC, 0, 0, SRCCOPY);
}

}  // namespace tq3
