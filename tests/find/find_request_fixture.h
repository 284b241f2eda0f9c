// A table view with one sheet, and find/replace requests sent to it as the
// dialog sends them: a FindReplaceNotify record with WM_NOTIFY.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {

class FindRequestTest : public TableViewTest {
protected:
    // One sheet with these lines and as many text columns as the widest has
    // fields, displayed, one cell selected at the top left.
    void Fill(const std::vector<std::u16string>& lines) {
        view->DeleteAllSheets();
        int columns = 1;
        for (const std::u16string& line : lines) {
            columns = std::max(columns, static_cast<int>(std::count(line.begin(), line.end(), u'\t')) + 1);
        }
        AddSheet(view, u"sheet", columns);
        for (size_t l = 0; l < lines.size(); ++l) {
            ASSERT_GE(view->InsertLine(0, static_cast<int>(l), lines[l].c_str()), 0);
        }
        view->SetSelSheet(0);
        view->SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
        view->calls.clear();
    }

    // A request from the dialog's current cell (line, column).
    FindReplaceNotify Request(int line, int column, const char16_t* find, DWORD flags, RECT* area,
                              const char16_t* replacement = nullptr) {
        FindReplaceNotify request{};
        request.hdr.hwndFrom = frame->m_hWnd;
        request.hdr.idFrom = 0;
        request.hdr.code = kFindReplaceRequest;
        request.line = line;
        request.column = column;
        request.findText = find;
        request.replaceText = replacement;
        request.flags = flags;
        request.match = POINT{-7, -7};
        request.area = area;
        return request;
    }

    LRESULT Send(FindReplaceNotify& request) {
        return view->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    }

    std::vector<std::u16string> Column(int column) {
        std::vector<std::u16string> cells;
        for (int l = 0; l < view->GetLineCount(0); ++l) cells.push_back(Cell(l, column));
        return cells;
    }
};

}  // namespace tq3::test
