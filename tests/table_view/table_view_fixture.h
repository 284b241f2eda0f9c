// A table view in a frame on a headless desktop, with a spy on the host's hooks,
// helpers to size its client area exactly, read its scroll bars and scroll it.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/table_view_support.h"
#include "view/table_view.h"

namespace tq3::test {

// Records every hook call, in order, as "sheet 1", "cell 2,3", "cursor 0,0".
class SpyTableView : public CTableView {
public:
    SpyTableView() = default;
    using CTableView::GetSheetObj;
    using CTableView::ReadFindReplaceHistory;
    using CTableView::WriteFindReplaceHistory;
    // The undo buffer, which a host fills through its derived view.
    CUndoList& UndoBuffer() { return undoBuffer; }

    void OnSheetChanged(int sheet) override {
        calls.push_back("sheet " + std::to_string(sheet));
        CTableView::OnSheetChanged(sheet);
    }
    void OnCellChanged(int line, int column) override {
        calls.push_back("cell " + std::to_string(line) + "," + std::to_string(column));
        if (onCellChanged) onCellChanged();
    }
    void OnCursorMoved(int line, int column) override {
        calls.push_back("cursor " + std::to_string(line) + "," + std::to_string(column));
        if (onCursorMoved) onCursorMoved();
    }

    std::vector<std::string> calls;
    std::function<void()> onCellChanged;
    std::function<void()> onCursorMoved;
};

class TableViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new SpyTableView;
        frame = tq3::testing::CreateFrameWithView(view);
        ASSERT_NE(frame, nullptr);
        view->calls.clear();
    }

    // Sheets named "s0", "s1"... each with `columns` text columns and `lines` lines
    // of as many empty fields.
    void AddSheets(int count, int columns = 0, int lines = 0) {
        for (int s = 0; s < count; ++s) {
            const int at = view->GetSheetCount();
            const char16_t name[] = {u's', static_cast<char16_t>(u'0' + at), 0};
            AddSheet(view, name, columns, lines);
        }
    }

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

    // Gives the columns of `sheet` the widths in turn, laid edge to edge from 0.
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

    // The selection (columns left..right, lines top..bottom) and the cursor as
    // GetSel reports them.
    CRect Sel() {
        CRect sel;
        CPoint cursor;
        view->GetSel(sel, cursor);
        return sel;
    }
    CPoint Cursor() {
        CRect sel;
        CPoint cursor;
        view->GetSel(sel, cursor);
        return cursor;
    }
    // Selects as a host does, lets the paints run and forgets the hooks called so far.
    void Put(const CRect& sel, CPoint cursor) {
        view->SetSel(sel, cursor);
        desktop.RunUntilIdle();
        view->calls.clear();
    }
    std::u16string Cell(int line, int column, int sheet = 0) {
        const CString text = view->GetCellText(sheet, line, column);
        return std::u16string(text.GetString(), static_cast<size_t>(text.GetLength()));
    }
    CPoint Middle(int line, int column) { return view->GetCellRect(line, column).CenterPoint(); }

    // A client height whose cell area holds 14 full rows and part of one more: 300
    // pixels at line height 18.
    int FourteenRowsAndAPart() { return 16 * view->GetLineHeight() + 12; }
    int TopLine() { return view->GetLineHeader().topLine; }
    int ScrollX() { return view->GetColumnHeader().scrollX; }

    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    SpyTableView* view = nullptr;
    CFrameWnd* frame = nullptr;
};

}  // namespace tq3::test
