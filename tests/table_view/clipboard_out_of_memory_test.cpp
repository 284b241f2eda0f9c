// Running out of memory in the middle of a paste or a cut: every cell is whole,
// holding either its old text or its new one, the busy cursor goes, and the view
// goes on working once memory is back.
#include "tests/support/failing_allocator.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using ClipboardOutOfMemoryTest = TableViewTest;

std::u16string Text(const char16_t* what, int line, int column) {
    return std::u16string(what) + u" text of line " + char16_t(u'0' + line) + u" column " + char16_t(u'0' + column) +
           u", long enough to need a block of its own";
}

TEST_F(ClipboardOutOfMemoryTest, PasteAndCutLeaveEveryCellWhole) {
    AddSheets(1, 4, 4);
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    std::u16string block;
    for (int l = 0; l < 3; ++l) {
        for (int c = 0; c < 3; ++c) block += Text(u"new", l, c) + (c < 2 ? u"\t" : u"\r\n");
    }
    auto reset = [&] {
        for (int l = 0; l < 4; ++l) {
            for (int c = 0; c < 4; ++c) view->SetCellText(0, l, c, Text(u"old", l, c).c_str());
        }
        view->SetSel(CRect(1, 1, 3, 3), CPoint(1, 1));
        desktop.SetClipboardText(block);
    };
    auto cell = [&](int l, int c) { return std::u16string(view->GetCellText(0, l, c).GetString()); };
    view->calls.reserve(1000);

    for (UINT command : {ID_EDIT_PASTE, ID_EDIT_CUT}) {
        SCOPED_TRACE(command == ID_EDIT_PASTE ? "paste" : "cut");
        const SweepResult sweep = SweepAllocations({
            .prepare = [&] { reset(); view->calls.clear(); },
            .operation = [&] { view->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0); },
            .check =
                [&](const SweepRun& run) {
                    EXPECT_FALSE(run.threw);
                    EXPECT_EQ(AfxGetApp()->m_nWaitCursorCount, 0) << "the busy cursor stayed";
                    for (int l = 0; l < 4; ++l) {
                        for (int c = 0; c < 4; ++c) {
                            const bool inBlock = l >= 1 && c >= 1;
                            const std::u16string now = cell(l, c), old = Text(u"old", l, c);
                            const std::u16string changed = command == ID_EDIT_CUT ? u"" : Text(u"new", l - 1, c - 1);
                            EXPECT_TRUE(now == old || (inBlock && now == changed))
                                << l << "," << c << " after failing at allocation " << run.allowed;
                        }
                    }
                    // Memory is back: the same command now goes through whole.
                    reset();
                    view->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
                    EXPECT_EQ(cell(3, 3), command == ID_EDIT_CUT ? u"" : Text(u"new", 2, 2));
                    desktop.RunUntilIdle();
                },
            .limit = 20000,
            .sparse = true,
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GT(sweep.refusedRuns, 3);
    }
}

}  // namespace
}  // namespace tq3::test
