// Sheets and column widths for the tests of a table view: the shapes a test
// needs, made through the view's own interface.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/system/registry.h"
#include "view/table_view.h"

namespace tq3::test {

// Makes the test application's settings base key, without which a view neither
// reads nor stores its settings.
inline void MakeSettingsBaseKey(const std::u16string& vendor = u"TQ3ViewTestVendor") {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (u"Software\\" + vendor).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// Appends a sheet `name` with the data word `data`, `columns` text columns titled
// "title" and `lines` lines of as many empty fields.
inline void AddSheet(CTableView* view, const std::u16string& name, int columns = 0, int lines = 0, DWORD data = 0) {
    const int at = view->GetSheetCount();
    ASSERT_EQ(view->InsertSheet(at, name.c_str()), at);
    if (data != 0) {
        ASSERT_TRUE(view->SetSheetData(at, data));
    }
    for (int c = 0; c < columns; ++c) ASSERT_GE(view->InsertColumn(at, c, u"title", 0), 0);
    const std::u16string empty(static_cast<size_t>(columns > 0 ? columns - 1 : 0), u'\t');
    for (int l = 0; l < lines; ++l) ASSERT_GE(view->InsertLine(at, l, empty.c_str()), 0);
}

// Sheets named "sheet" with the given data words and column counts.
inline void AddSheets(CTableView* view, const std::vector<std::pair<DWORD, int>>& shapes) {
    for (const auto& [data, columns] : shapes) {
        AddSheet(view, u"sheet", columns, 0, data);
        ASSERT_EQ(view->GetSheetData(view->GetSheetCount() - 1), data);
    }
}

// Lays the columns of `sheet` out edge to edge with the given widths from `x`,
// each `height` pixels high.
inline void SetWidths(CTableView* view, int sheet, const std::vector<int>& widths, int x = 0, int height = 5) {
    for (size_t c = 0; c < widths.size(); ++c) {
        CColumnProp* column = view->GetColumnProp(sheet, static_cast<int>(c));
        ASSERT_NE(column, nullptr);
        column->extent = CRect(x, 0, x + widths[c], height);
        x += widths[c];
    }
}

inline std::vector<int> Widths(CTableView* view, int sheet) {
    std::vector<int> widths;
    for (int c = 0; c < view->GetColumnCount(sheet); ++c) widths.push_back(view->GetColumnProp(sheet, c)->extent.Width());
    return widths;
}

}  // namespace tq3::test
