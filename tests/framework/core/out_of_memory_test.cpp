// Out-of-memory behaviour of the core classes: every allocation an operation
// makes is failed in turn; each failure must leave the data exactly as it was.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>
#include <ostream>

#include "framework/core/cstring.h"
#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "framework/core/utf.h"
#include "tests/support/failing_allocator.h"

class CWidget : public CObject {
    DECLARE_DYNCREATE(CWidget)
protected:
    CWidget() = default;
};
IMPLEMENT_DYNCREATE(CWidget, CObject)

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

TEST(CObjectOutOfMemory, DynamicCreationGivesNull) {
    CObject* created = nullptr;
    {
        tq3::test::FailingAllocations failing(0);
        created = CRuntimeClass::CreateObject("CWidget");
        EXPECT_GT(failing.Refused(), 0);
    }
    EXPECT_EQ(created, nullptr);
    {
        tq3::test::FailingAllocations failing(0);
        created = CWidget::CreateObject();
    }
    EXPECT_EQ(created, nullptr);
    created = CRuntimeClass::CreateObject("CWidget");
    ASSERT_NE(created, nullptr);
    delete created;
}

TEST(ListsOutOfMemory, FailedAdditionsLeaveTheListAsItWas) {
    struct Case {
        const char* what;
        void (*edit)(CStringList&);
    } cases[] = {
        {"add past a block", [](CStringList& l) { l.AddTail(u"new"); }},
        {"insert", [](CStringList& l) { l.InsertAfter(l.GetHeadPosition(), u"inserted text"); }},
        {"append itself", [](CStringList& l) { l.AddTail(&l); }},
        {"prepend itself", [](CStringList& l) { l.AddHead(&l); }},
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
    for (const auto& c : cases) {
        bool succeeded = false;
        int failures = 0;
        for (int allowed = 0; allowed < 50 && !succeeded; ++allowed) {
            CStringList list(2);  // two nodes per block: the third element needs a new block
            list.AddTail(u"one");
            list.AddTail(u"two");
            list.AddTail(u"three");
            const auto before = contents(list);
            try {
                tq3::test::FailingAllocations failing(allowed);
                c.edit(list);
                succeeded = true;
            } catch (const std::bad_alloc&) {
                ++failures;
                EXPECT_EQ(contents(list), before) << c.what << " with " << allowed << " allocations";
                EXPECT_EQ(list.GetCount(), 3) << c.what;
            }
        }
        EXPECT_TRUE(succeeded) << c.what;
        EXPECT_GT(failures, 0) << c.what;
    }
}

}  // namespace
