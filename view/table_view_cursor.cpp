// The cursor and the selection of a CTableView: reading and setting them, and the
// moves the keyboard makes.
//
// Every sheet keeps a selection (a rectangle of cell indexes, columns left..right
// and lines top..bottom, all inclusive) and a cursor cell, the anchor the
// selection grows from. Some Shift moves store the rectangle the other way round
// (left > right); a reversed rectangle names the same cells as its ordered form,
// and the moves that need it ordered order it in place first.
//
// A move draws only the difference between the old and the new selection
// (DrawCursor, view/table_view_paint.cpp) and scrolls a cell into view
// (EnsureVisible, view/table_view_geometry.cpp). A move of the cursor alone inside
// an unchanged selection goes through SetSel, which repaints the view instead.
//
// Values a host stored are taken as they are, however far outside the sheet: the
// steps below are computed in 64 bits and clamped to the int range, so that a
// cursor at INT_MIN paging up does not wrap around, and every drawing and
// scrolling step already treats a cell the sheet lacks as nothing to show.
//
// Call order: PreTranslateMessage (view/table_view_keys.cpp) -> OnKey... ->
// MoveCursor or ChangeSelection or SetSel -> DrawCursor, EnsureVisible,
// TellCursorMoved -> OnCursorMoved (the host).
#include <algorithm>
#include <climits>

#include "settings/language.h"
#include "view/table_view.h"

namespace {

int Clamped(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

CRect Ordered(CRect rect) {
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    return rect;
}

bool SameRect(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The column kept in view when a Shift move changes lines: the far edge of the
// selection from the cursor, or the cursor's own column inside it. The second
// rule keeps column 0 in view while the cursor stands there.
int ColumnRule1(const CRect& sel, int cx) {
    if (cx == sel.left) return sel.right;
    if (cx == sel.right) return sel.left;
    return cx;
}
int ColumnRule2(const CRect& sel, int cx) { return cx == 0 ? 0 : ColumnRule1(sel, cx); }

CRect Cell(int column, int line) { return CRect(column, line, column, line); }

}  // namespace

// ---- Reading and setting ---------------------------------------------------------------

void CTableView::GetSel(CRect& rcSel, CPoint& ptCursor) const {
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) {
        rcSel.SetRectEmpty();
        ptCursor = CPoint(0, 0);
        return;
    }
    rcSel = sheet->selection;
    ptCursor = sheet->cursor;
}

void CTableView::SetSel(CRect rcSel, CPoint ptCursor) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    CRect oldSel = sheet->selection;
    CPoint oldCursor = sheet->cursor;
    sheet->selection = rcSel;
    sheet->cursor = ptCursor;
    DrawCursor(&rcSel, &ptCursor, &oldSel, &oldCursor);
    EnsureVisible(ptCursor.y, ptCursor.x);
    if (ptCursor != oldCursor) {
        TellCursorMoved(ptCursor.y, ptCursor.x);
        // The hook may have closed the window.
        if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) Invalidate(TRUE);
    }
}

void CTableView::TellCursorMoved(int line, int column) {
    CSwitchAppRes scope;  // the host's code runs with the application's resources
    OnCursorMoved(line, column);
}

int CTableView::VerticalPage() const {
    if (m_hWnd == nullptr) return 0;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE;
    const_cast<CTableView*>(this)->GetScrollInfo(SB_VERT, &info, SIF_PAGE);
    return static_cast<int>(info.nPage);
}

void CTableView::MoveCursor(CPoint cursor, bool hookFirst) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    CRect oldSel = sheet->selection;
    CPoint oldCursor = sheet->cursor;
    CRect sel = Cell(cursor.x, cursor.y);
    sheet->selection = sel;
    sheet->cursor = cursor;
    const bool moved = cursor != oldCursor;
    if (moved && hookFirst) {
        TellCursorMoved(cursor.y, cursor.x);
        // The host may have closed the window, switched sheets or set a selection
        // of its own; what it did stands, and the screen is painted afresh for it.
        if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
        if (CurrentSheet() != sheet || !SameRect(sheet->selection, sel) || sheet->cursor != cursor) {
            Invalidate(TRUE);
            return;
        }
    }
    DrawCursor(&sel, &cursor, &oldSel, &oldCursor);
    EnsureVisible(cursor.y, cursor.x);
    if (moved && !hookFirst) TellCursorMoved(cursor.y, cursor.x);
}

void CTableView::ChangeSelection(const CRect& selection, int line, int column) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    CRect oldSel = sheet->selection;
    CRect sel = selection;
    CPoint cursor = sheet->cursor;
    sheet->selection = sel;
    DrawCursor(&sel, &cursor, &oldSel, &cursor);
    EnsureVisible(line, column);
}

// ---- The moves ---------------------------------------------------------------------------

void CTableView::OnKeyUpArrow(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    if (!bShift) {
        MoveCursor(c.y > 0 ? CPoint(c.x, c.y - 1) : c, false);
        return;
    }
    sheet->selection = Ordered(sheet->selection);
    CRect s = sheet->selection;
    if (c.y <= s.top && c.y < s.bottom) {
        // The cursor holds the top edge: the bottom edge comes up.
        if (s.bottom <= 0) return;
        --s.bottom;
        ChangeSelection(s, s.bottom, ColumnRule2(s, c.x));
        return;
    }
    if (s.top <= 0) return;
    --s.top;
    const bool inside = s.top + 1 < c.y && c.y < s.bottom;
    ChangeSelection(s, s.top, inside ? ColumnRule1(s, c.x) : ColumnRule2(s, c.x));
}

void CTableView::OnKeyDownArrow(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    const int last = sheet->GetLineCount() - 1;
    if (!bShift) {
        MoveCursor(c.y < last ? CPoint(c.x, c.y + 1) : c, false);
        return;
    }
    sheet->selection = Ordered(sheet->selection);
    CRect s = sheet->selection;
    if (s.top < c.y && c.y < s.bottom) {
        if (s.bottom >= last) return;
        ++s.bottom;
        ChangeSelection(s, s.bottom, ColumnRule1(s, c.x));
    } else if (c.y > s.top) {
        // The cursor holds the bottom edge: the top edge goes down.
        if (s.top >= last) return;
        ++s.top;
        ChangeSelection(s, s.top, ColumnRule2(s, c.x));
    } else {
        if (s.bottom >= last) return;
        ++s.bottom;
        ChangeSelection(s, s.bottom, ColumnRule2(s, c.x));
    }
}

void CTableView::OnKeyLeftArrow(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    if (!bShift) {
        MoveCursor(c.x > 0 ? CPoint(c.x - 1, c.y) : c, true);
        return;
    }
    // The stored edges, reversed or not: a one-column selection grown to the left
    // is stored with left > right.
    CRect s = sheet->selection;
    const int top = lineHeader.topLine;
    if (c.x == s.left) {
        if (s.right <= 0) return;
        --s.right;
        ChangeSelection(s, top, s.right);
    } else if (c.x == s.right) {
        if (s.left <= 0) return;
        --s.left;
        ChangeSelection(s, top, s.left);
    } else if (s.left > 0) {
        --s.left;
        ChangeSelection(s, top, s.left);
    } else {
        ChangeSelection(s, top, c.x);
    }
}

void CTableView::OnKeyRightArrow(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    const int last = sheet->GetColumnCount() - 1;
    if (!bShift) {
        MoveCursor(c.x < last ? CPoint(c.x + 1, c.y) : c, true);
        return;
    }
    CRect s = sheet->selection;
    const int top = lineHeader.topLine;
    if (c.x == s.left) {
        if (s.right >= last) return;
        ++s.right;
        ChangeSelection(s, top, s.right);
    } else if (c.x == s.right) {
        if (s.left >= last) return;
        ++s.left;
        ChangeSelection(s, top, s.left);
    } else if (s.right < last) {
        ++s.right;
        ChangeSelection(s, top, s.right);
    } else {
        ChangeSelection(s, top, c.x);
    }
}

void CTableView::OnKeyPageUp(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    const long long page = VerticalPage();
    if (!bShift) {
        MoveCursor(CPoint(c.x, Clamped(std::max(c.y - page, 0LL))), false);
        return;
    }
    sheet->selection = Ordered(sheet->selection);
    CRect s = sheet->selection;
    if (c.y <= s.top && c.y < s.bottom) {
        s.bottom = Clamped(std::max(s.bottom - page, 0LL));
        ChangeSelection(s, s.bottom, ColumnRule1(s, c.x));
    } else {
        s.top = Clamped(std::max(s.top - page, 0LL));
        ChangeSelection(s, s.top, ColumnRule1(s, c.x));
    }
}

void CTableView::OnKeyPageDown(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CPoint c = sheet->cursor;
    const long long page = VerticalPage();
    const long long lines = sheet->GetLineCount();
    if (!bShift) {
        // A sheet without lines puts the cursor on line -1: no cell.
        MoveCursor(CPoint(c.x, Clamped(std::min(c.y + page, lines - 1))), false);
        return;
    }
    // The stored edges: this move does not order the selection.
    CRect s = sheet->selection;
    if (c.y > s.top && c.y >= s.bottom) {
        if (s.top >= lines - page) return;
        s.top = Clamped(s.top + page);
        ChangeSelection(s, s.top, ColumnRule1(s, c.x));
    } else if (c.y <= s.top && c.y > s.bottom) {
        s.bottom = c.y;
        ChangeSelection(s, s.bottom, ColumnRule1(s, c.x));
    } else {
        if (s.bottom >= lines - page) return;
        s.bottom = Clamped(s.bottom + page);
        ChangeSelection(s, s.bottom, ColumnRule1(s, c.x));
    }
}

void CTableView::OnKeyHome(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    sheet->selection = Ordered(sheet->selection);
    const CRect s = sheet->selection;
    if (!bShift) {
        // Column 0 of the selection's top line, not of the cursor's line.
        const int line = ctrl ? 0 : s.top;
        SetSel(Cell(0, line), CPoint(0, line));
    } else if (ctrl) {
        SetSel(CRect(0, 0, s.right, s.bottom), CPoint(0, 0));
    } else {
        SetSel(CRect(0, s.top, s.right, s.bottom), CPoint(0, sheet->cursor.y));
    }
}

void CTableView::OnKeyEnd(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    sheet->selection = Ordered(sheet->selection);
    const CRect s = sheet->selection;
    const CPoint c = sheet->cursor;
    const int lastColumn = sheet->GetColumnCount() - 1;
    const int lastLine = sheet->GetLineCount() - 1;
    if (!bShift) {
        const int line = ctrl ? lastLine : s.top;
        SetSel(Cell(lastColumn, line), CPoint(lastColumn, line));
    } else {
        SetSel(CRect(std::max(s.left, c.x), s.top, lastColumn, ctrl ? lastLine : s.bottom), c);
    }
}

void CTableView::OnKeyReturn(BOOL bShift) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    // The selection as stored: a reversed one is walked by its stored edges.
    const CRect s = sheet->selection;
    const CPoint c = sheet->cursor;
    if (s.top == s.bottom && s.left == s.right) {
        if (bShift) {
            OnKeyUpArrow(FALSE);
        } else {
            OnKeyDownArrow(FALSE);
        }
        return;
    }
    CPoint next = c;
    if (!bShift) {
        if (c.y >= s.bottom) {
            next = CPoint(c.x < s.right ? c.x + 1 : s.left, s.top);
        } else {
            next.y = c.y + 1;
        }
    } else {
        if (c.y <= s.top) {
            next = CPoint(c.x > s.left ? c.x - 1 : s.right, s.bottom);
        } else {
            next.y = c.y - 1;
        }
    }
    SetSel(s, next);
}
