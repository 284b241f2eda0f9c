// A table view whose client area is sized exactly, with helpers to read its scroll
// bars and to give its columns fixed widths.
#pragma once

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {

class ViewGeometryTest : public TableViewTest {
protected:
    // Resizes the frame so that the view's client area is cx x cy, then lets the
    // layout and the paints run.
    void SetClientSize(int cx, int cy) {
        CRect client;
        view->GetClientRect(&client);
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->MoveWindow(outer.left, outer.top, outer.Width() + cx - client.Width(),
                          outer.Height() + cy - client.Height());
        desktop.RunUntilIdle();
    }

    // Gives every column of `sheet` the widths in turn, laid edge to edge from 0.
    void SetWidths(int sheet, std::initializer_list<int> widths) {
        tq3::test::SetWidths(view, sheet, widths, 0, view->GetLineHeight());
    }

    SCROLLINFO Bar(int bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        view->GetScrollInfo(bar, &info, SIF_ALL);
        return info;
    }

    // A scroll message as the scroll bar sends it: the position in 16 bits.
    void VScroll(UINT code, int pos = 0) {
        view->SendMessage(WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
        desktop.RunUntilIdle();
    }
    void HScroll(UINT code, int pos = 0) {
        view->SendMessage(WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
        desktop.RunUntilIdle();
    }

    // A client height whose cell area holds 14 full rows and part of one more: 300
    // pixels at line height 18.
    int FourteenRowsAndAPart() { return 16 * view->GetLineHeight() + 12; }

    int TopLine() { return view->GetLineHeader().topLine; }
    int ScrollX() { return view->GetColumnHeader().scrollX; }

    // The window's rectangle in the view's client coordinates.
    CRect ChildRect(CWnd& child) {
        CRect r;
        child.GetWindowRect(&r);
        view->ScreenToClient(&r);
        return r;
    }
};

}  // namespace tq3::test
