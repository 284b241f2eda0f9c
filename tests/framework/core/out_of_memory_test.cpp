// Out-of-memory behaviour of the core classes: every allocation an operation
// makes is failed in turn; each failure must leave the data exactly as it was.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "framework/core/cstring.h"
#include "framework/core/lists.h"
#include "framework/core/utf.h"
#include "tests/support/failing_allocator.h"

inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << tq3::fw::ToUtf8(s) << '"'; }

namespace tq3::test {
namespace {

using Edit = void (*)(CString&);

TEST(CStringOutOfMemory, FailedOperationsLeaveTheStringUnchanged) {
    struct Case {
        const char* what;
        Edit edit;
    } cases[] = {
        {"append past the capacity", [](CString& s) { s += u"-and-some-more-text-to-grow"; }},
        {"replace", [](CString& s) { s.Replace(u"e", u"EEE"); }},
        {"format", [](CString& s) { s.Format(u"%s|%05d|%.*f|%S", s.GetString(), -42, 2, 2.5, "utf8"); }},
        {"set length", [](CString& s) { s.GetBufferSetLength(300); }},
        {"concatenation", [](CString& s) { s = s + u"+" + s; }},
        {"from UTF-8", [](CString& s) { s = tq3::fw::FromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"); }},
    };
    const CString original(u"some text here");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CString expected(original);
        c.edit(expected);
        CString s;
        const auto sweep = tq3::test::SweepAllocations({
            .prepare = [&] { s = original; },
            .operation = [&] { c.edit(s); },
            .check = [&](const tq3::test::SweepRun& run) { EXPECT_EQ(s, run.threw ? original : expected); },
            .limit = 50,
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GT(sweep.refusedRuns, 0) << "each operation here needs memory";
    }
}

TEST(ListsOutOfMemory, FailedAdditionsLeaveTheListAsItWas) {
    struct Case {
        const char* what;
        void (*edit)(CStringList&);
    } cases[] = {
        {"add past a block", [](CStringList& l) { l.AddTail(u"new"); }},
        {"append itself", [](CStringList& l) { l.AddTail(&l); }},
        {"set an element", [](CStringList& l) { l.SetAt(l.GetTailPosition(), u"a longer replacement"); }},
    };
    auto contents = [](const CStringList& l) {
        std::vector<std::u16string> items;
        for (POSITION pos = l.GetHeadPosition(); pos != nullptr;) {
            const CString& s = l.GetNext(pos);
            items.emplace_back(s.GetString(), s.GetLength());
        }
        return items;
    };
    const std::vector<std::u16string> before{u"one", u"two", u"three"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CStringList> list;
        const auto sweep = tq3::test::SweepAllocations({
            .prepare =
                [&] {
                    list = std::make_unique<CStringList>(2);  // two nodes per block: the third needs a new one
                    for (const auto& s : before) list->AddTail(s.c_str());
                },
            .operation = [&] { c.edit(*list); },
            .check =
                [&](const tq3::test::SweepRun& run) {
                    if (run.threw) {
                        EXPECT_EQ(contents(*list), before) << run.allowed << " allocations";
                    }
                },
            .limit = 50,
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GT(sweep.refusedRuns, 0);
    }
}

}  // namespace
}  // namespace tq3::test
