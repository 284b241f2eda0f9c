#include "demo/demo_targets.h"

#include "framework/core/utf.h"

namespace tq3::demo {

namespace {

// The screen point of `client` in `window`, when the window shows it and nothing
// covers it there.
// With `orChild`, a child window of it may be what shows there (a point of the
// view's client area that falls on one of its strips).
bool VisiblePoint(CWnd& window, POINT client, POINT* screen, bool orChild = false) {
    if (window.m_hWnd == nullptr || !IsWindowVisible(window.m_hWnd)) return false;
    CRect area;
    window.GetClientRect(&area);
    if (!area.PtInRect(client)) return false;
    *screen = client;
    window.ClientToScreen(screen);
    HWND shown = WindowFromPoint(*screen);
    return shown == window.m_hWnd || (orChild && shown != nullptr && IsChild(window.m_hWnd, shown));
}


// The centre of a cell, from the view's own cell geometry.
bool CellCentre(CDemoView& view, int line, int column, POINT* client) {
    CRect cell = view.GetCellRect(line, column);
    if (cell.IsRectEmpty()) return false;
    *client = cell.CenterPoint();
    return true;
}

// The centre of a sheet tab in the tab strip, from the strip's own tab geometry.
bool TabCentre(CSheetTabWnd& strip, int index, POINT* client) {
    CRect box = strip.GetItemRect(index);
    if (box.IsRectEmpty()) return false;
    box.OffsetRect(-strip.scrollPos, 0);
    *client = box.CenterPoint();
    return true;
}

std::string Number(int value) { return std::to_string(value); }

}  // namespace

bool SheetIndex(CDemoView& view, const Target& target, int* index, std::string* error) {
    if (target.name.empty()) {
        *index = target.a;
        if (*index < view.GetSheetCount()) return true;
        *error = "there is no sheet #" + Number(*index) + " (" + Number(view.GetSheetCount()) + " sheets)";
        return false;
    }
    for (int i = 0; i < view.GetSheetCount(); ++i) {
        if (std::u16string_view(view.GetSheetName(i).GetString()) == target.name) {
            *index = i;
            return true;
        }
    }
    *error = "there is no sheet named \"" + tq3::fw::ToUtf8(target.name) + "\"";
    return false;
}

bool TargetPoint(CDemoView& view, const Target& target, POINT* screen, std::string* error) {
    POINT client{0, 0};
    switch (target.kind) {
        case Target::Kind::View: {
            CRect area;
            view.GetClientRect(&area);
            client = area.CenterPoint();
            if (VisiblePoint(view, client, screen)) return true;
            *error = "the view is not visible";
            return false;
        }
        case Target::Kind::Point:
            client = POINT{target.a, target.b};
            if (VisiblePoint(view, client, screen, true)) return true;
            *error = "point " + Number(target.a) + " " + Number(target.b) + " is not on the view's visible area";
            return false;
        case Target::Kind::Cell:
            if (CellCentre(view, target.a, target.b, &client) && VisiblePoint(view, client, screen)) return true;
            *error = "cell " + Number(target.a) + " " + Number(target.b) + " is not shown (scroll it into view first)";
            return false;
        case Target::Kind::Tab: {
            int index = 0;
            if (!SheetIndex(view, target, &index, error)) return false;
            if (TabCentre(view.GetSheetTab(), index, &client) && VisiblePoint(view.GetSheetTab(), client, screen)) {
                return true;
            }
            *error = "the tab of sheet #" + Number(index) + " is not shown";
            return false;
        }
        case Target::Kind::Column: {
            CColumnHeaderWnd& header = view.GetColumnHeader();
            CRect item;
            if (header.GetColumnRect(target.a, &item) && !item.IsRectEmpty()) {
                item.OffsetRect(-header.scrollX, 0);
                if (VisiblePoint(header, item.CenterPoint(), screen)) return true;
            }
            *error = "the header of column " + Number(target.a) + " is not shown";
            return false;
        }
        case Target::Kind::Divider: {
            // The right edge of the column's header item, where a drag resizes it.
            CColumnHeaderWnd& header = view.GetColumnHeader();
            CRect item;
            if (header.GetColumnRect(target.a, &item) && !item.IsRectEmpty()) {
                item.OffsetRect(-header.scrollX, 0);
                if (VisiblePoint(header, POINT{item.right - 1, item.CenterPoint().y}, screen)) return true;
            }
            *error = "the right edge of column " + Number(target.a) + " is not shown";
            return false;
        }
        case Target::Kind::Line: {
            // Rows of the line header sit under its caption box, one line height each.
            CLineHeaderWnd& header = view.GetLineHeader();
            const int row = target.a - header.topLine;
            const int height = view.GetLineHeight();
            if (row >= 0 && target.a < view.GetLineCount(view.GetSelSheet())) {
                CRect area;
                header.GetClientRect(&area);
                client = POINT{area.Width() / 2, (row + 1) * height + height / 2};
                if (VisiblePoint(header, client, screen)) return true;
            }
            *error = "the header of line " + Number(target.a) + " is not shown";
            return false;
        }
        case Target::Kind::Corner: {
            // The line header's caption box, above its first row.
            CLineHeaderWnd& header = view.GetLineHeader();
            CRect area;
            header.GetClientRect(&area);
            client = POINT{area.Width() / 2, view.GetLineHeight() / 2};
            if (VisiblePoint(header, client, screen)) return true;
            *error = "the corner box is not shown";
            return false;
        }
    }
    *error = "unknown target";
    return false;
}

}  // namespace tq3::demo
