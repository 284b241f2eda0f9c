// CSheetTabWnd
//
// Sections: creation and the arrow images; the tab list; geometry; size changes
// and the arrow buttons' states; the arrow commands; painting; mouse.
//
// Call order: the view's placing of the strip sends WM_WINDOWPOSCHANGING and
// WM_WINDOWPOSCHANGED, both of which fit the row to the new width (FitToWidth),
// which places the arrows (PlaceArrows). An arrow's click arrives as a command;
// each command changes scrollPos and the arrows' states and repaints. Painting
// measures the tabs (TabBoxes), draws the visible part of the row off the screen
// (DrawRow, DrawTab) and copies it beside the arrows.
#include "headers/sheet_tab_wnd.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "framework/app/window_dc.h"
#include "framework/controls/commctrl.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"

IMPLEMENT_DYNAMIC(CSheetTabWnd, CWnd)

BEGIN_MESSAGE_MAP(CSheetTabWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_DESTROY()
ON_COMMAND(kFirstTabArrowId, &CSheetTabWnd::OnFirstArrow)
ON_COMMAND(kPreviousTabArrowId, &CSheetTabWnd::OnPreviousArrow)
ON_COMMAND(kNextTabArrowId, &CSheetTabWnd::OnNextArrow)
ON_COMMAND(kLastTabArrowId, &CSheetTabWnd::OnLastArrow)
END_MESSAGE_MAP()

namespace {

constexpr int kArrowImageSize = 14;
constexpr COLORREF kArrowMaskColor = RGB(0, 255, 0);

}  // namespace

CSheetTabWnd::CSheetTabWnd() { LoadArrowImages(); }

CSheetTabWnd::~CSheetTabWnd() {
    for (HICON& icon : icons) {
        if (icon != nullptr) DestroyIcon(icon);
        icon = nullptr;
    }
}

// ---- Creation and the arrow images -----------------------------------------------

void CSheetTabWnd::LoadArrowImages() {
    if (images.GetSafeHandle() != nullptr) return;
    LPCWSTR name = MAKEINTRESOURCEW(kTabArrowsBitmapId);
    CBitmap strip;
    if (!strip.Attach(LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name))) return;
    images.Create(&strip, kArrowImageSize, 0, kArrowMaskColor);
}

BOOL CSheetTabWnd::Create(CWnd* parent) {
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent, kSheetTabId);
}

int CSheetTabWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    LoadArrowImages();  // a strip made before the library's resources were found tries again
    const int h = tabHeight;
    for (int i = 0; i < 4; ++i) {
        const CRect square(i * h, 1, (i + 1) * h, h + 1);
        if (!arrows[i].Create(square, this, kFirstTabArrowId + static_cast<UINT>(i))) return -1;
        if (icons[i] == nullptr && images.GetSafeHandle() != nullptr) {
            icons[i] = ImageList_GetIcon(images, i, ILD_NORMAL);
        }
        arrows[i].SetArrowIcon(icons[i], kArrowImageSize, kArrowImageSize);
    }
    return 0;
}

// ---- The tab list ------------------------------------------------------------------

int CSheetTabWnd::InsertItem(int index, LPCWSTR name) {
    const int count = GetItemCount();
    if (index < 0 || (count >= 1 && index > count)) return -1;
    try {
        CString label(name != nullptr ? name : u"");
        if (count == 0) {
            names.push_back(std::move(label));
            labelWidths.clear();
            curSel = 0;
            return 0;
        }
        names.insert(names.begin() + (index < count ? index : count), std::move(label));
        labelWidths.clear();
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return count;
}

int CSheetTabWnd::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) return 0;
    names.erase(names.begin() + index);
    labelWidths.clear();
    return 1;
}

void CSheetTabWnd::DeleteAllItems() {
    names.clear();
    labelWidths.clear();
    curSel = 0;
}

CString CSheetTabWnd::GetItemText(int index) const {
    if (index < 0 || index >= GetItemCount()) return CString();
    return names[static_cast<size_t>(index)];
}

int CSheetTabWnd::SetCurSel(int index) {
    if (index >= GetItemCount()) return -1;
    const int previous = curSel;
    curSel = index;
    if (m_hWnd != nullptr) {
        InvalidateRect(nullptr, FALSE);
        // The view switches sheets when it hears of the change, so it is told even
        // when the tab was already current: selecting a sheet again refreshes it.
        NMHDR header{m_hWnd, kSheetTabId, TCN_SELCHANGE};
        if (CWnd* parent = GetParent()) {
            parent->SendMessage(WM_NOTIFY, kSheetTabId, reinterpret_cast<LPARAM>(&header));
        }
    }
    return previous;
}

// ---- Geometry ------------------------------------------------------------------------

bool CSheetTabWnd::MeasureLabels() const {
    // The widths are kept while the names and the font stay: a repaint or an arrow
    // click then costs the same whatever the number of sheets.
    LOGFONTW current{};
    if (font.GetSafeHandle() != nullptr) font.GetLogFont(&current);
    const bool sameFont = measuredFont == font.GetSafeHandle() &&
                          std::memcmp(&measuredLogFont, &current, sizeof current) == 0;
    if (sameFont && labelWidths.size() == names.size()) return true;
    labelWidths.clear();
    try {
        labelWidths.reserve(names.size());
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CFont* previous = font.GetSafeHandle() != nullptr ? dc.SelectObject(const_cast<CFont*>(&font)) : nullptr;
        for (const CString& name : names) labelWidths.push_back(dc.GetTextExtent(name).cx);
        if (previous != nullptr) dc.SelectObject(previous);
    } catch (const std::bad_alloc&) {
        labelWidths.clear();
        return false;
    }
    measuredFont = font.GetSafeHandle();
    measuredLogFont = current;
    return true;
}

std::vector<CRect> CSheetTabWnd::TabBoxes() const {
    std::vector<CRect> boxes;
    if (!MeasureLabels()) return boxes;
    try {
        boxes.reserve(names.size());
        const int h = tabHeight;
        int left = ArrowAreaWidth();
        for (const int width : labelWidths) {
            const int right = left + width + 2 * h;
            boxes.emplace_back(left, 0, right, h);
            left = right + 1;
        }
    } catch (const std::bad_alloc&) {
        boxes.clear();
    }
    return boxes;
}

CRect CSheetTabWnd::GetItemRect(int index) const {
    if (index < 0 || index >= GetItemCount()) return CRect(0, 0, 0, 0);
    const std::vector<CRect> boxes = TabBoxes();
    return static_cast<size_t>(index) < boxes.size() ? boxes[static_cast<size_t>(index)] : CRect(0, 0, 0, 0);
}

bool CSheetTabWnd::MakeTabShape(const CRect& box, CRgn& shape) const {
    const int half = tabHeight / 2;
    POINT points[4] = {
        {box.left, box.top},
        {box.left + half, box.top + tabHeight},
        {box.right - half, box.top + tabHeight},
        {box.right, box.top},
    };
    return shape.CreatePolygonRgn(points, 4, ALTERNATE) != FALSE;
}

int CSheetTabWnd::GetItemRgn(int index, CRgn& region) const {
    const CRect box = GetItemRect(index);
    if (box.IsRectNull()) return 0;
    CRgn shape;
    if (!MakeTabShape(box, shape)) return 0;
    if (region.GetSafeHandle() == nullptr) {
        region.Attach(shape.Detach());
    } else {
        region.CopyRgn(&shape);
    }
    return 1;
}

int CSheetTabWnd::TotalWidth() const {
    const std::vector<CRect> boxes = TabBoxes();
    return boxes.empty() ? 0 : boxes.back().right + 1 - ArrowAreaWidth();
}

int CSheetTabWnd::MaxScroll(int width) const { return MaxScrollOf(TotalWidth(), width); }

int CSheetTabWnd::MaxScrollOf(int total, int width) const {
    if (width < 0) {
        CRect client;
        if (m_hWnd != nullptr) GetClientRect(&client);
        width = client.Width();
    }
    return total + ArrowAreaWidth() - (width - kTabRowReserve);
}

int CSheetTabWnd::TabAtLeftEdge(const std::vector<CRect>& boxes) const {
    const POINT edge{scrollPos + ArrowAreaWidth(), 1};
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].PtInRect(edge)) return static_cast<int>(i);
    }
    return -1;
}

// ---- Size changes and the arrow buttons' states ------------------------------------

void CSheetTabWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanging(lpwndpos);
    CRect window;
    GetWindowRect(&window);
    const int width = (lpwndpos->flags & SWP_NOSIZE) != 0 ? window.Width() : lpwndpos->cx;
    FitToWidth(width, window.Width());
}

void CSheetTabWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanged(lpwndpos);
    CRect window;
    GetWindowRect(&window);
    FitToWidth(window.Width(), window.Width());
}

void CSheetTabWnd::FitToWidth(int width, int currentWidth) {
    bool back = false;
    bool forward = false;
    const int total = TotalWidth();
    if (width - kTabRowReserve < total + ArrowAreaWidth()) {
        const int most = MaxScrollOf(total, width);
        if (most < 1) {
            scrollPos = 0;
        } else if (currentWidth < width && scrollPos == MaxScrollOf(total, currentWidth)) {
            scrollPos = most;  // a row scrolled to its end stays at its end as the strip grows
        } else if (scrollPos > most) {
            scrollPos = most;  // never scrolled past the end, or Next would scroll back
        }
        back = scrollPos != 0;
        forward = scrollPos != most;
    } else {
        scrollPos = 0;
    }
    PlaceArrows();
    EnableArrows(back, forward);
    Invalidate(TRUE);
}

void CSheetTabWnd::PlaceArrows() {
    const int h = tabHeight;
    for (int i = 0; i < 4; ++i) {
        if (arrows[i].m_hWnd == nullptr) continue;
        arrows[i].MoveWindow(i * h, 1, h, h);
        arrows[i].ShowWindow(SW_SHOW);
    }
}

void CSheetTabWnd::EnableArrows(bool back, bool forward) {
    const bool enable[4] = {back, back, forward, forward};
    for (int i = 0; i < 4; ++i) {
        if (arrows[i].m_hWnd != nullptr) arrows[i].EnableWindow(enable[i] ? TRUE : FALSE);
    }
}

// ---- The arrow commands ----------------------------------------------------------------

void CSheetTabWnd::OnFirstArrow() {
    scrollPos = 0;
    EnableArrows(false, true);
    Invalidate(TRUE);
    GiveFocusToView();
}

void CSheetTabWnd::OnLastArrow() {
    scrollPos = MaxScroll();
    EnableArrows(true, false);
    Invalidate(TRUE);
    GiveFocusToView();
}

void CSheetTabWnd::OnPreviousArrow() {
    const std::vector<CRect> boxes = TabBoxes();
    const int a = ArrowAreaWidth();
    const int most = MaxScrollOf(boxes.empty() ? 0 : boxes.back().right + 1 - a);
    if (most < 0 || boxes.empty()) {
        scrollPos = 0;
    } else {
        const int i = TabAtLeftEdge(boxes);
        if (i == 0) {
            scrollPos = 0;
        } else if (i > 0) {
            const int d = boxes[static_cast<size_t>(i)].left - a;
            // A tab starting exactly at the edge: show the one before it. A tab cut
            // by the edge: show it whole first.
            scrollPos = d >= scrollPos ? std::min(boxes[static_cast<size_t>(i) - 1].left - a, most) : d;
        } else {
            scrollPos = std::min(boxes.back().left - a, most);
        }
    }
    AfterArrowScroll();
}

void CSheetTabWnd::OnNextArrow() {
    const std::vector<CRect> boxes = TabBoxes();
    const int most = MaxScrollOf(boxes.empty() ? 0 : boxes.back().right + 1 - ArrowAreaWidth());
    if (most < 0) {
        scrollPos = 0;
    } else {
        const int count = static_cast<int>(boxes.size());
        int i = 0;
        if (count > 0) {
            i = TabAtLeftEdge(boxes);
            if (i < 0) i = count;
        }
        scrollPos = i < count - 1 ? std::min(boxes[static_cast<size_t>(i) + 1].left - ArrowAreaWidth(), most) : most;
    }
    AfterArrowScroll();
}

void CSheetTabWnd::AfterArrowScroll() {
    if (scrollPos < 0) scrollPos = 0;
    EnableArrows(scrollPos >= 1, scrollPos < MaxScroll());
    Invalidate(TRUE);
    GiveFocusToView();
}

void CSheetTabWnd::GiveFocusToView() {
    // A click on an arrow leaves the keyboard with the sheet, as a click on a tab
    // does: the arrows only move the row of tabs.
    if (CWnd* view = GetParent()) {
        if (CWnd::GetFocus() != view) view->SetFocus();
    }
}

// ---- Painting ----------------------------------------------------------------------------

BOOL CSheetTabWnd::OnEraseBkgnd(CDC* /*pDC*/) {
    return TRUE;  // painting covers the whole client area
}

void CSheetTabWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    CGdiObject* previousPen = dc.SelectStockObject(BLACK_PEN);
    dc.MoveTo(client.left, 0);
    dc.LineTo(client.right, 0);
    dc.SelectObject(previousPen);

    std::vector<CRect> boxes = TabBoxes();
    const int h = tabHeight;
    const int a = ArrowAreaWidth();
    if (boxes.empty() || h <= 0) return;
    const int total = boxes.back().right + 1 - a;
    // Only the part of the row that shows beside the arrows is drawn: the row is
    // drawn off the screen from `scrollPos` on, so a long row of sheets costs no
    // more than the strip is wide.
    const int width = std::min(total - scrollPos, client.Width() - a);
    if (width <= 0) return;
    CDC* row = rowBuffer.Prepare(&dc, CSize(width, h));
    if (row == nullptr) return;
    for (CRect& box : boxes) box.OffsetRect(-(a + scrollPos), 0);
    DrawRow(*row, boxes, width);
    dc.BitBlt(a, 0, width, h, row, 0, 0, SRCCOPY);
}

void CSheetTabWnd::DrawRow(CDC& dc, const std::vector<CRect>& boxes, int rowWidth) {
    const int h = tabHeight;
    CFont* previousFont = font.GetSafeHandle() != nullptr ? dc.SelectObject(&font) : nullptr;
    CGdiObject* previousPen = dc.SelectStockObject(BLACK_PEN);
    CBrush current(GetSysColor(COLOR_WINDOW));
    CBrush other(GetSysColor(COLOR_BTNFACE));

    // The gaps between the tabs and the row's bottom corners, without the tabs.
    CRgn background;
    background.CreateRectRgn(0, 0, rowWidth, h);
    for (const CRect& box : boxes) {
        if (box.right < 0 || box.left > rowWidth) continue;
        CRgn shape;
        if (MakeTabShape(box, shape)) background.CombineRgn(&background, &shape, RGN_DIFF);
    }
    dc.FillRgn(&background, &other);

    // The sheet's lower edge runs along the top up to the current tab, which
    // stays open towards the sheet above it.
    const bool hasCurrent = curSel >= 0 && static_cast<size_t>(curSel) < boxes.size();
    dc.MoveTo(0, 0);
    dc.LineTo(hasCurrent ? boxes[static_cast<size_t>(curSel)].left : rowWidth, 0);

    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].right < 0 || boxes[i].left > rowWidth) continue;  // out of sight
        DrawTab(dc, boxes[i], static_cast<int>(i), current, other);
    }
    dc.SelectObject(previousPen);
    if (previousFont != nullptr) dc.SelectObject(previousFont);
}

void CSheetTabWnd::DrawTab(CDC& dc, const CRect& box, int index, CBrush& current, CBrush& other) {
    const int h = tabHeight;
    const int half = h / 2;
    const bool isCurrent = index == curSel;
    CRgn shape;
    if (MakeTabShape(box, shape)) dc.FillRgn(&shape, isCurrent ? &current : &other);

    dc.MoveTo(box.left, 0);
    dc.LineTo(box.left + half, h - 1);
    dc.LineTo(box.right - half, h - 1);
    dc.LineTo(box.right, 0);
    if (!isCurrent) dc.LineTo(box.left, 0);
    // A second line thickens the right slant, as if the tab cast a shadow.
    dc.MoveTo(box.right - half - 1, h - 1);
    dc.LineTo(box.right - 1, 0);

    dc.SetTextColor(GetSysColor(isCurrent ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    dc.SetBkColor(GetSysColor(isCurrent ? COLOR_WINDOW : COLOR_BTNFACE));
    CRect text = box;
    dc.DrawText(names[static_cast<size_t>(index)], &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- Mouse ---------------------------------------------------------------------------------

void CSheetTabWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    SetCapture();
    const int h = tabHeight;
    if (point.x >= 0 && point.x < ArrowAreaWidth() && point.y >= 0 && point.y < h) return;
    const std::vector<CRect> boxes = TabBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
        CRect box = boxes[i];
        box.OffsetRect(-scrollPos, 0);
        CRgn shape;
        if (MakeTabShape(box, shape) && shape.PtInRegion(point)) {
            SetCurSel(static_cast<int>(i));
            break;
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CSheetTabWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    if (::GetCapture() == m_hWnd) ReleaseCapture();
    // The keyboard belongs to the sheet, not to the strip that chose it.
    if (CWnd* parent = GetParent()) parent->SetFocus();
    CWnd::OnLButtonUp(nFlags, point);
}

void CSheetTabWnd::OnDestroy() {
    CWnd::OnDestroy();
    names.clear();
    labelWidths.clear();
    rowBuffer.Release();
}
