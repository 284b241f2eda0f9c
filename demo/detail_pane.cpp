// Sections: the rows of a line | showing them | painting.
#include "demo/detail_pane.h"

#include <algorithm>

#include "framework/app/window_dc.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/gdi/text/draw_text.h"
#include "view/table_view.h"

namespace tq3::demo {

namespace {

constexpr int kMargin = 6;      // around the rows and between title and text
constexpr int kRowPadding = 4;  // above and below a row's text

std::u16string ToU16(const CString& text) { return std::u16string(text.GetString(), text.GetLength()); }

}  // namespace

// ---- the rows of a line ------------------------------------------------------------

std::vector<DetailRow> LineDetails(CTableView& view, int sheet, int line) {
    std::vector<DetailRow> rows;
    if (sheet < 0 || sheet >= view.GetSheetCount() || line < 0 || line >= view.GetLineCount(sheet)) return rows;
    const int columns = view.GetColumnCount(sheet);
    rows.reserve(static_cast<size_t>(columns));
    for (int column = 0; column < columns; ++column) {
        const CColumnProp* prop = view.GetColumnProp(sheet, column);
        rows.push_back(DetailRow{prop != nullptr ? ToU16(prop->title) : std::u16string(),
                                 ToU16(view.GetCellText(sheet, line, column))});
    }
    return rows;
}

// ---- showing them ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDetailPane, CView)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

void CDetailPane::ShowLine(std::u16string heading, std::vector<DetailRow> rows) {
    const bool same = heading == heading_ && rows.size() == rows_.size() &&
                      std::equal(rows.begin(), rows.end(), rows_.begin(), [](const DetailRow& a, const DetailRow& b) {
                          return a.title == b.title && a.text == b.text;
                      });
    if (same) return;
    heading_ = std::move(heading);
    rows_ = std::move(rows);
    if (m_hWnd != nullptr) Invalidate(TRUE);
}

int CDetailPane::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

// ---- painting ------------------------------------------------------------------------

HGDIOBJ CDetailPane::SelectFont(CDC& dc) {
    CFont* font = fontSource_ ? fontSource_() : nullptr;
    HGDIOBJ handle = font != nullptr && font->GetSafeHandle() != nullptr ? font->GetSafeHandle()
                                                                          : ::GetStockObject(DEFAULT_GUI_FONT);
    return ::SelectObject(dc.GetSafeHdc(), handle);
}

int CDetailPane::RowHeight() {
    CClientDC dc(this);
    HGDIOBJ old = SelectFont(dc);
    TEXTMETRICW metrics{};
    dc.GetTextMetrics(&metrics);
    ::SelectObject(dc.GetSafeHdc(), old);
    return static_cast<int>(metrics.tmHeight) + 2 * kRowPadding;
}

CRect CDetailPane::RowRect(int row) {
    CRect client;
    GetClientRect(&client);
    const int height = RowHeight();
    // The heading, a rule of one pixel below it, then the rows.
    const int top = kMargin + (row < 0 ? 0 : height + 1 + row * height);
    return CRect(client.left + kMargin, top, client.right - kMargin, top + height);
}

void CDetailPane::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    HGDIOBJ old = SelectFont(*pDC);
    pDC->SetBkMode(TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

    CRect heading = RowRect(-1);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->DrawText(heading_.c_str(), static_cast<int>(heading_.size()), &heading, format);
    pDC->FillSolidRect(heading.left, heading.bottom, heading.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));

    // The titles take a column as wide as the widest of them, at most half the pane.
    int titleWidth = 0;
    for (const DetailRow& row : rows_) {
        titleWidth = std::max<int>(titleWidth, pDC->GetTextExtent(row.title.c_str(), static_cast<int>(row.title.size())).cx);
    }
    titleWidth = std::min(titleWidth, heading.Width() / 2);
    for (size_t i = 0; i < rows_.size(); ++i) {
        CRect band = RowRect(static_cast<int>(i));
        if (band.top >= client.bottom) break;
        CRect title(band.left, band.top, band.left + titleWidth, band.bottom);
        CRect text(title.right + kMargin, band.top, band.right, band.bottom);
        pDC->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        pDC->DrawText(rows_[i].title.c_str(), static_cast<int>(rows_[i].title.size()), &title, format);
        pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        pDC->DrawText(rows_[i].text.c_str(), static_cast<int>(rows_[i].text.size()), &text, format);
    }
    ::SelectObject(pDC->GetSafeHdc(), old);
}

}  // namespace tq3::demo
