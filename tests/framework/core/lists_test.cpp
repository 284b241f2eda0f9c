#include "framework/core/lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/utf.h"

namespace tq3::test {
namespace {

// The list read front to back and back to front; both must agree.
std::vector<std::string> Contents(const CStringList& list) {
    std::vector<std::string> forward;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) forward.push_back(tq3::fw::ToUtf8(list.GetNext(pos)));
    std::vector<std::string> backward;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;) backward.push_back(tq3::fw::ToUtf8(list.GetPrev(pos)));
    EXPECT_EQ(std::vector<std::string>(backward.rbegin(), backward.rend()), forward) << "links disagree";
    EXPECT_EQ(static_cast<INT_PTR>(forward.size()), list.GetCount());
    return forward;
}

using Strings = std::vector<std::string>;

TEST(StringList, EditingAtPositions) {
    struct Case {
        const char* what;
        void (*edit)(CStringList&);
        Strings expected;
    } cases[] = {
        {"insert around a position",
         [](CStringList& l) {
             POSITION a = l.AddTail(u"a");
             POSITION b = l.AddTail(u"b");
             l.InsertBefore(a, u"before-a");
             l.InsertAfter(b, u"after-b");
             l.InsertAfter(a, u"after-a");
         },
         {"before-a", "a", "after-a", "b", "after-b"}},
        {"null positions insert at the ends",
         [](CStringList& l) {
             l.InsertAfter(nullptr, u"m");
             l.InsertBefore(nullptr, u"h");
             l.InsertAfter(nullptr, u"t");
         },
         {"h", "m", "t"}},
        {"remove at head, middle and tail",
         [](CStringList& l) {
             POSITION p1 = l.AddTail(u"1");
             l.AddTail(u"2");
             POSITION p3 = l.AddTail(u"3");
             l.AddTail(u"4");
             POSITION p5 = l.AddTail(u"5");
             l.RemoveAt(p3);
             l.RemoveAt(p1);
             l.RemoveAt(p5);
         },
         {"2", "4"}},
        {"append the list to itself at both ends",
         [](CStringList& l) {
             l.AddTail(u"s1");
             l.AddTail(u"s2");
             l.AddTail(&l);
             l.AddHead(&l);
         },
         {"s1", "s2", "s1", "s2", "s1", "s2", "s1", "s2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CStringList list(3);  // small blocks, so that edits cross block boundaries
        c.edit(list);
        EXPECT_EQ(Contents(list), c.expected);
    }
}

TEST(StringList, FindAndFindIndex) {
    CStringList list;
    for (const char16_t* s : {u"a", u"b", u"a", u"c", u"d", u"e"}) list.AddTail(s);
    // A search from a position starts after it.
    POSITION second = list.Find(u"a", list.Find(u"a"));
    EXPECT_EQ(second, list.FindIndex(2));
    EXPECT_EQ(list.Find(u"a", second), nullptr);
    EXPECT_EQ(list.Find(CString(u"d")), list.FindIndex(4));
    EXPECT_EQ(list.GetAt(list.FindIndex(5)), u"e");
    EXPECT_EQ(list.FindIndex(6), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
}

TEST(StringList, EmptyListsAndNullPositionsAreHarmless) {
    CStringList list;
    EXPECT_TRUE(list.RemoveHead().IsEmpty());
    POSITION none = nullptr;
    EXPECT_TRUE(list.GetNext(none).IsEmpty());
    EXPECT_EQ(none, nullptr);
    list.RemoveAt(nullptr);
    list.AddTail(static_cast<const CStringList*>(nullptr));
    EXPECT_EQ(list.GetCount(), 0);
}

class CItem : public CObject {
    DECLARE_DYNCREATE(CItem)
};
IMPLEMENT_DYNCREATE(CItem, CObject)

// A list class of a host, the way the library's undo buffer is declared.
class CHistory : public CObList {
    DECLARE_DYNAMIC(CHistory)
public:
    CHistory() : CObList(10) {}
};
IMPLEMENT_DYNAMIC(CHistory, CObList)

TEST(ObjectList, HoldsObjectsAndIsAnObject) {
    CItem a, b, c;
    CHistory history;
    EXPECT_TRUE(history.IsKindOf(RUNTIME_CLASS(CObList)));

    history.AddTail(&a);
    history.AddTail(&b);
    CObList other;
    other.AddTail(&c);
    other.AddTail(&history);  // the list's elements, not the list object
    EXPECT_EQ(other.GetCount(), 3);
    other.AddTail(static_cast<CObject*>(&history));  // the list object as an element
    EXPECT_EQ(other.GetTail(), static_cast<CObject*>(&history));
    CTypedPtrList<CObList, CItem*> typed;
    typed.AddTail(&b);
    typed.AddHead(&a);
    EXPECT_EQ(typed.GetTail(), &b);
}

}  // namespace
}  // namespace tq3::test
