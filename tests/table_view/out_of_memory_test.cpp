// Running out of memory inside an insertion: each insertion is tried with the
// allocator failing at its first, second, third... allocation, and must either
// succeed completely or fail with -1 leaving the table and the strips as they were.
#include "tests/support/failing_allocator.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

struct Shape {
    int sheets, tabs, lines, columns, headerColumns, headerLines;
    bool operator==(const Shape&) const = default;
};

class OutOfMemoryTest : public TableViewTest {
protected:
    Shape Now() {
        return Shape{view->GetSheetCount(),
                     view->GetSheetTab().GetItemCount(),
                     view->GetLineCount(0),
                     view->GetColumnCount(0),
                     view->GetColumnHeader().GetColumnCount(),
                     view->GetLineHeader().headerLineCount};
    }

    // Runs `insert` with the n-th allocation failing, for n = 0, 1, 2... until
    // an attempt meets no failure; checks every failed attempt changed nothing.
    template <typename Insert, typename Undo>
    void SweepFailures(Insert insert, Undo undo) {
        for (long succeed = 0; succeed < 200; ++succeed) {
            const Shape before = Now();
            int result = 0;
            long refused = 0;
            {
                FailingAllocations failing(succeed);
                result = insert();
                refused = failing.Refused();
            }
            if (refused == 0) {
                EXPECT_GE(result, 0) << "no allocation failed";
                return;
            }
            if (result < 0) {
                EXPECT_EQ(Now(), before) << "failure at allocation " << succeed << " changed the table";
            } else {
                undo();
                EXPECT_EQ(Now(), before) << "after undoing the insertion that survived allocation " << succeed;
            }
        }
        ADD_FAILURE() << "the insertion kept allocating";
    }
};

TEST_F(OutOfMemoryTest, InsertionsFailCleanly) {
    AddSheets(1, 2, 2);
    view->SetSelSheet(0);
    SweepFailures([&] { return view->InsertSheet(1, u"a sheet with a name too long for any small-string buffer"); },
                  [&] { view->DeleteSheet(1); });
    SweepFailures([&] { return view->InsertLine(0, 1, u"a line text long enough to need its own block\tsecond"); },
                  [&] { view->DeleteLine(0, 1); });
    SweepFailures([&] { return view->InsertColumn(0, 1, u"a column title long enough to need its own block", 0); },
                  [&] { view->DeleteColumn(0, 1); });
}

}  // namespace
}  // namespace tq3::test
