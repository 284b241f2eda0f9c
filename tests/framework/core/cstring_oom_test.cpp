// Out-of-memory behaviour of CString: every allocation an operation makes is
// failed in turn, and each failure must leave the string exactly as it was.
#include <gtest/gtest.h>

#include <new>
#include <ostream>

#include "framework/core/cstring.h"
#include "framework/core/utf.h"
#include "tests/support/failing_allocator.h"

inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << tq3::fw::ToUtf8(s) << '"'; }

namespace {

using Edit = void (*)(CString&);

TEST(CStringOutOfMemory, FailedOperationsLeaveTheStringUnchanged) {
    struct Case {
        const char* what;
        Edit edit;
    } cases[] = {
        {"append past the capacity", [](CString& s) { s += u"-and-some-more-text-to-grow"; }},
        {"append itself", [](CString& s) { s += s; }},
        {"insert", [](CString& s) { s.Insert(3, u"inserted"); }},
        {"replace", [](CString& s) { s.Replace(u"e", u"EEE"); }},
        {"format", [](CString& s) { s.Format(u"%s|%05d|%.*f|%S", s.GetString(), -42, 2, 2.5, "utf8"); }},
        {"append format", [](CString& s) { s.AppendFormat(u"%0200d", 7); }},
        {"get buffer", [](CString& s) { s.GetBuffer(500); }},
        {"set length", [](CString& s) { s.GetBufferSetLength(300); }},
        {"free extra", [](CString& s) { s.Preallocate(100); s.FreeExtra(); }},
        {"copy assignment", [](CString& s) { s = CString(u"another text, long enough"); }},
        {"concatenation", [](CString& s) { s = s + u"+" + s; }},
        {"extraction", [](CString& s) { s = s.Mid(2, 5) + s.Left(3); }},
        {"from UTF-8", [](CString& s) { s = tq3::fw::FromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"); }},
    };
    const CString original(u"some text here");
    for (const auto& c : cases) {
        CString expected(original);
        c.edit(expected);
        bool succeeded = false;
        int failures = 0;
        for (int allowed = 0; allowed < 50 && !succeeded; ++allowed) {
            CString s(original);
            try {
                tq3::test::FailingAllocations failing(allowed);
                c.edit(s);
                succeeded = true;
            } catch (const std::bad_alloc&) {
                ++failures;
            }
            EXPECT_EQ(s, succeeded ? expected : original) << c.what << " with " << allowed << " allocations";
        }
        EXPECT_TRUE(succeeded) << c.what;
        // Each operation here needs memory, so the first attempt must have failed.
        EXPECT_GT(failures, 0) << c.what;
    }
}

}  // namespace
