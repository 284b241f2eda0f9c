// Layout and painting of menus in the classic look: a raised frame on the menu
// colour, a column for check marks, labels with their mnemonic underlined,
// accelerators aligned at the right, an arrow for items that open a submenu,
// etched separators, greyed items embossed, the highlighted item in the
// selection colours. A menu bar lays its items out in a row under the caption.
//
// Sections: metrics; pop-up layout; bar layout; painting.
#include <algorithm>

#include "framework/core/geometry.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/rgn.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/gdi/text/draw_text.h"
#include "framework/menus/menus_internal.h"

namespace tq3::fw::menus {
namespace {

// ============================================================================
// Metrics
// ============================================================================

constexpr int kFrame = 3;           // raised edge (2) and one pixel of air
constexpr int kSeparatorHeight = 8;  // an etched line in the middle
constexpr int kArrowColumn = 16;     // the submenu arrow's room at the right
constexpr int kAcceleratorGap = 16;  // between the longest label and the accelerators
constexpr int kBarItemPadding = 7;   // left and right of a bar item's label

struct Metrics {
    int textHeight = 0;
    int itemHeight = 0;
    int checkColumn = 0;
};

Metrics Measure(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    Metrics m;
    m.textHeight = tm.tmHeight;
    m.itemHeight = std::max<int>(tm.tmHeight + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
    m.checkColumn = GetSystemMetrics(SM_CXMENUCHECK) + 4;
    return m;
}

int TextWidth(HDC dc, std::u16string_view text) {
    if (text.empty()) return 0;
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}

// A screen context with the menu font selected, for measuring.
class MeasuringDC {
public:
    MeasuringDC() : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ != nullptr) old_ = SelectObject(dc_, MenuFont());
    }
    ~MeasuringDC() {
        if (dc_ == nullptr) return;
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    MeasuringDC(const MeasuringDC&) = delete;
    MeasuringDC& operator=(const MeasuringDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

HFONT MenuFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        LOGFONTW lf = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)
                          ? metrics.lfMenuFont
                          : DefaultGuiLogFont();
        HFONT made = CreateFontIndirectW(&lf);
        return made != nullptr ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

// ============================================================================
// Pop-up layout
// ============================================================================

SIZE LayOutPopup(Menu* menu, int maxHeight) {
    MeasuringDC dc;
    if (dc.Get() == nullptr) return SIZE{0, 0};
    const Metrics m = Measure(dc.Get());
    int labelWidth = 0, acceleratorWidth = 0;
    for (const Item& item : menu->items) {
        if (IsSeparator(item)) continue;
        labelWidth = std::max(labelWidth, TextWidth(dc.Get(), LabelOf(item)));
        acceleratorWidth = std::max(acceleratorWidth, TextWidth(dc.Get(), AcceleratorOf(item)));
    }
    // The arrow column is kept in every menu, so that menus of one bar line up.
    int inner = m.checkColumn + labelWidth + (acceleratorWidth > 0 ? kAcceleratorGap + acceleratorWidth : 0) +
                kArrowColumn;
    int y = kFrame;
    for (Item& item : menu->items) {
        int h = IsSeparator(item) ? kSeparatorHeight : m.itemHeight;
        item.rect = RECT{kFrame, y, kFrame + inner, y + h};
        y += h;
    }
    int height = y + kFrame;
    // Too many items for the desktop: the window shows what fits and scrolls
    // its items so that the highlighted one stays in view.
    if (maxHeight > 0 && height > maxHeight) height = maxHeight;
    menu->firstShown = 0;
    return SIZE{inner + 2 * kFrame, height};
}

bool ScrollToHighlight(Menu* menu, int clientHeight) {
    if (menu->items.empty() || menu->highlight < 0) return false;
    const auto& items = menu->items;
    auto top = [&](int i) { return items[static_cast<size_t>(i)].rect.top; };
    auto bottom = [&](int i) { return items[static_cast<size_t>(i)].rect.bottom; };
    int shownHeight = clientHeight - 2 * kFrame;
    int first = menu->firstShown;
    if (menu->highlight < first) first = menu->highlight;
    while (bottom(menu->highlight) - top(first) > shownHeight && first < menu->highlight) ++first;
    if (first == menu->firstShown) return false;
    menu->firstShown = first;
    return true;
}

int ItemAt(const Menu* menu, POINT client) {
    int shift = menu->bar || menu->items.empty() ? 0 : menu->items[static_cast<size_t>(menu->firstShown)].rect.top - kFrame;
    POINT p{client.x, client.y + shift};
    for (size_t i = static_cast<size_t>(menu->bar ? 0 : menu->firstShown); i < menu->items.size(); ++i) {
        if (PtInRect(&menu->items[i].rect, p)) return static_cast<int>(i);
    }
    return -1;
}

// ============================================================================
// Bar layout
// ============================================================================

int LayOutBar(Menu* menu, [[maybe_unused]] int width) {
    MeasuringDC dc;
    if (dc.Get() == nullptr) return 0;
    const int height = GetSystemMetrics(SM_CYMENU);
    // One row: the window manager leaves one row for the bar, and items past
    // the window's width are cut off by its edge.
    int x = 0;
    for (Item& item : menu->items) {
        int w = TextWidth(dc.Get(), LabelOf(item)) + 2 * kBarItemPadding;
        item.rect = RECT{x, 0, x + w, height};
        x += w;
    }
    return height;
}

// ============================================================================
// Painting
// ============================================================================

namespace {

void PaintCheck(HDC dc, const RECT& column, COLORREF colour) {
    // A 7x7 tick, thickened to three pixels, in the middle of the column.
    static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
    int x0 = column.left + (column.right - column.left - 7) / 2;
    int y0 = column.top + (column.bottom - column.top - 7) / 2;
    for (int i = 0; i < 7; ++i) {
        for (int t = 0; t < 3; ++t) SetPixelV(dc, x0 + i, y0 + kRise[i] + t, colour);
    }
}

void PaintArrow(HDC dc, const RECT& item, COLORREF colour) {
    int cx = item.right - kArrowColumn / 2;
    int cy = (item.top + item.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        for (int y = cy - 3 + i; y <= cy + 3 - i; ++y) SetPixelV(dc, cx - 2 + i, y, colour);
    }
}

void PaintLabel(HDC dc, const Item& item, const RECT& textRect, COLORREF colour, bool hidePrefix) {
    SetTextColor(dc, colour);
    std::u16string_view label = LabelOf(item);
    RECT r = textRect;
    UINT flags = DT_SINGLELINE | DT_VCENTER | (hidePrefix ? DT_HIDEPREFIX : 0);
    DrawTextW(dc, label.data(), static_cast<int>(label.size()), &r, flags | DT_LEFT);
    std::u16string_view accelerator = AcceleratorOf(item);
    if (!accelerator.empty()) {
        r = textRect;
        DrawTextW(dc, accelerator.data(), static_cast<int>(accelerator.size()), &r, flags | DT_RIGHT);
    }
}

void PaintPopupItem(HDC dc, const Item& item, RECT r, bool highlighted) {
    if (IsSeparator(item)) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillSolid(dc, r, GetSysColor(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
    const bool greyed = (item.flags & MF_GRAYED) != 0;
    COLORREF text = GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    RECT column{r.left, r.top, r.left + GetSystemMetrics(SM_CXMENUCHECK) + 4, r.bottom};
    RECT textRect{column.right, r.top, r.right - kArrowColumn, r.bottom};
    if (greyed && !highlighted) {
        // Embossed: a light copy one pixel down and right, the shadow on top.
        RECT light = textRect;
        OffsetRect(&light, 1, 1);
        PaintLabel(dc, item, light, GetSysColor(COLOR_3DHILIGHT), false);
        text = GetSysColor(COLOR_3DSHADOW);
    } else if (greyed) {
        text = GetSysColor(COLOR_GRAYTEXT);
    }
    PaintLabel(dc, item, textRect, text, false);
    if (item.flags & MF_CHECKED) PaintCheck(dc, column, text);
    if (item.flags & MF_POPUP) PaintArrow(dc, r, text);
}

}  // namespace

void PaintPopup(HDC dc, Menu* menu, const RECT& client) {
    FillSolid(dc, client, GetSysColor(COLOR_MENU));
    RECT frame = client;
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    if (menu->items.empty()) return;
    HGDIOBJ old = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    int shift = menu->items[static_cast<size_t>(menu->firstShown)].rect.top - kFrame;
    HRGN clip = CreateRectRgn(kFrame, kFrame, client.right - kFrame, client.bottom - kFrame);
    SelectClipRgn(dc, clip);
    for (size_t i = static_cast<size_t>(menu->firstShown); i < menu->items.size(); ++i) {
        RECT r = menu->items[i].rect;
        OffsetRect(&r, 0, -shift);
        if (r.top >= client.bottom - kFrame) break;
        PaintPopupItem(dc, menu->items[i], r, static_cast<int>(i) == menu->highlight);
    }
    SelectClipRgn(dc, nullptr);
    if (clip != nullptr) DeleteObject(clip);
    SelectObject(dc, old);
}

void PaintBar(HDC dc, Menu* menu, const RECT& bar, bool underlineMnemonics) {
    FillSolid(dc, bar, GetSysColor(COLOR_MENU));
    HGDIOBJ old = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const Item& item = menu->items[i];
        RECT r = item.rect;
        OffsetRect(&r, bar.left, bar.top);
        const bool highlighted = static_cast<int>(i) == menu->highlight;
        if (highlighted) {
            // The classic bar shows the open (or keyboard-selected) item pressed in.
            RECT edge = r;
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        RECT textRect{r.left + kBarItemPadding, r.top, r.right - kBarItemPadding, r.bottom};
        if (highlighted) OffsetRect(&textRect, 1, 1);
        std::u16string_view label = LabelOf(item);
        SetTextColor(dc, GetSysColor((item.flags & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        DrawTextW(dc, label.data(), static_cast<int>(label.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | (underlineMnemonics ? 0 : DT_HIDEPREFIX));
    }
    SelectObject(dc, old);
}

}  // namespace tq3::fw::menus
