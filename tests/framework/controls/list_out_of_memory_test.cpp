// Adding a string when memory runs out: each allocation of the addition is
// refused in turn, and every time the list answers LB_ERRSPACE (a combo box
// CB_ERRSPACE) and keeps exactly the items it had.
#include <string>

#include "framework/controls/combo_box.h"
#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

class ListOutOfMemoryTest : public ControlsTest {};

TEST_F(ListOutOfMemoryTest, AFailedAdditionLeavesTheListAsItWas) {
    struct Case {
        const char* what;
        const WCHAR* cls;
        DWORD style;
        UINT add, count, find, remove;
        LRESULT refused;
    } cases[] = {
        {"list in order", WC_LISTBOXW, 0, LB_ADDSTRING, LB_GETCOUNT, LB_FINDSTRINGEXACT, LB_DELETESTRING, LB_ERRSPACE},
        {"sorted list", WC_LISTBOXW, LBS_SORT, LB_ADDSTRING, LB_GETCOUNT, LB_FINDSTRINGEXACT, LB_DELETESTRING,
         LB_ERRSPACE},
        {"sorted combo box", WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_SORT, CB_ADDSTRING, CB_GETCOUNT, CB_FINDSTRINGEXACT,
         CB_DELETESTRING, CB_ERRSPACE},
    };
    // Long enough that neither the text nor its key fits a small buffer, and
    // enough items that the insert splits a chunk of the list's store.
    const std::u16string added(300, u'm');
    const auto text = reinterpret_cast<LPARAM>(added.c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HWND box = Make(c.cls, nullptr, c.style | WS_VSCROLL, RECT{10, 10, 160, 110});
        for (int i = 0; i < 512; ++i) {
            const std::u16string item = u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
            SendMessageW(box, c.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        const auto before = SendMessageW(box, c.count, 0, 0);
        LRESULT result = 0;
        const auto sweep = SweepAllocations({
            .prepare = [&] { SendMessageW(box, c.remove, static_cast<WPARAM>(SendMessageW(box, c.find, static_cast<WPARAM>(-1), text)), 0); },
            .operation = [&] { result = SendMessageW(box, c.add, 0, text); },
            .check =
                [&](const SweepRun& run) {
                    EXPECT_FALSE(run.threw);
                    if (run.refused == 0) return;
                    EXPECT_EQ(result, c.refused);
                    EXPECT_EQ(SendMessageW(box, c.count, 0, 0), before);
                    EXPECT_EQ(SendMessageW(box, c.find, static_cast<WPARAM>(-1), text), LB_ERR);
                },
            .limit = 200,
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GE(sweep.refusedRuns, c.style == 0 ? 1 : 2) << "the text, and in a sorted list its key";
        EXPECT_GE(result, 0) << "the run with memory enough adds it";
        EXPECT_EQ(SendMessageW(box, c.count, 0, 0), before + 1);
        DestroyWindow(box);
    }
}

}  // namespace
}  // namespace tq3::test
