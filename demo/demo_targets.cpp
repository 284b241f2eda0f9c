#include "demo/demo_targets.h"

#include <algorithm>

#include "demo/demo_frame.h"
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
        case Target::Kind::Gripper:
        case Target::Kind::SizingEdge:
        case Target::Kind::Caption:
        case Target::Kind::CloseButton:
        case Target::Kind::FramePoint:
        case Target::Kind::FrameSide:
            break;  // found through the frame (ScriptTargetPoint)
    }
    *error = "unknown target";
    return false;
}

namespace {

// A point of `bar`'s window (window coordinates) that the bar itself shows.
bool BarWindowPoint(CWnd& bar, POINT inWindow, POINT* screen) {
    CRect window;
    bar.GetWindowRect(&window);
    *screen = POINT{window.left + inWindow.x, window.top + inWindow.y};
    return IsWindowVisible(bar.m_hWnd) && WindowFromPoint(*screen) == bar.m_hWnd;
}

// A point on the caption of the bar's floating frame: along its top, below the
// border, where the frame answers the hit test with HTCAPTION.
bool CaptionPoint(CFrameWnd& floating, POINT* screen) {
    CRect window;
    floating.GetWindowRect(&window);
    for (int y = window.top; y < window.bottom && y < window.top + 40; ++y) {
        const POINT at{window.left + std::min<int>(30, window.Width() / 2), y};
        if (floating.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) == HTCAPTION &&
            WindowFromPoint(at) == floating.m_hWnd) {
            *screen = at;
            return true;
        }
    }
    return false;
}

// Just inside one side of the frame's client area, where a drop docks a dragged
// bar at that side. The top and bottom dock bars stretch over the whole width,
// so the left and right sides are only theirs between those two: the point is
// in the middle of that stretch (client coordinates).
POINT SidePoint(CFrameWnd& frame, int side) {
    constexpr int kInside = 4;
    CRect client;
    frame.GetClientRect(&client);
    auto edgeOf = [&](UINT id, bool upper) {
        CDockBar* dock = frame.GetDockBar(id);
        if (dock == nullptr || dock->m_hWnd == nullptr) return static_cast<int>(upper ? client.top : client.bottom);
        CRect r;
        dock->GetWindowRect(&r);
        frame.ScreenToClient(&r);
        return static_cast<int>(upper ? r.bottom : r.top);
    };
    const int top = edgeOf(AFX_IDW_DOCKBAR_TOP, true);
    const int bottom = edgeOf(AFX_IDW_DOCKBAR_BOTTOM, false);
    switch (side) {
        case Target::kTop: return POINT{client.CenterPoint().x, client.top + kInside};
        case Target::kBottom: return POINT{client.CenterPoint().x, client.bottom - 1 - kInside};
        case Target::kLeft: return POINT{client.left + kInside, (top + bottom) / 2};
        default: return POINT{client.right - 1 - kInside, (top + bottom) / 2};
    }
}

}  // namespace

bool ScriptTargetPoint(CDemoFrame& frame, const Target& target, POINT* screen, std::string* error) {
    CDemoBar& bar = frame.Bar();
    const bool docked = bar.m_hWnd != nullptr && !bar.IsFloating();
    switch (target.kind) {
        case Target::Kind::Gripper:
            if (docked && VisiblePoint(bar, bar.GetGripperRect().CenterPoint(), screen)) return true;
            *error = "the bar's gripper is not shown (the bar floats or is hidden)";
            return false;
        case Target::Kind::SizingEdge:
            if (docked && BarWindowPoint(bar, bar.rectEdge.CenterPoint(), screen)) return true;
            *error = "the bar's sizing edge is not shown (the bar floats or is hidden)";
            return false;
        case Target::Kind::CloseButton: {
            CRect button;
            if (docked && bar.closeButton.m_hWnd != nullptr) {
                bar.closeButton.GetClientRect(&button);
                if (VisiblePoint(bar.closeButton, button.CenterPoint(), screen)) return true;
            }
            *error = "the bar's close button is not shown";
            return false;
        }
        case Target::Kind::Caption: {
            CFrameWnd* floating = bar.m_hWnd != nullptr && bar.IsFloating() ? bar.GetParentFrame() : nullptr;
            if (floating != nullptr && floating != &frame && IsWindowVisible(floating->m_hWnd) &&
                CaptionPoint(*floating, screen)) {
                return true;
            }
            *error = "the bar does not float: there is no caption of its own";
            return false;
        }
        case Target::Kind::FramePoint:
        case Target::Kind::FrameSide: {
            CRect client;
            frame.GetClientRect(&client);
            const POINT at = target.kind == Target::Kind::FrameSide ? SidePoint(frame, target.a)
                                                                    : POINT{target.a, target.b};
            if (!client.PtInRect(at)) {
                *error = "point " + Number(at.x) + " " + Number(at.y) + " is not in the frame's client area";
                return false;
            }
            *screen = at;
            frame.ClientToScreen(screen);
            return true;
        }
        default:
            break;
    }
    if (frame.View() == nullptr) {
        *error = "the view is gone";
        return false;
    }
    return TargetPoint(*frame.View(), target, screen, error);
}

}  // namespace tq3::demo
