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
        {"add at both ends", [](CStringList& l) { l.AddTail(u"a"); l.AddTail(u"b"); l.AddHead(u"z"); }, {"z", "a", "b"}},
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
             l.AddTail(u"m");
             l.InsertBefore(nullptr, u"h");
             l.InsertAfter(nullptr, u"t");
         },
         {"h", "m", "t"}},
        {"insert into an empty list", [](CStringList& l) { l.InsertAfter(nullptr, u"only"); }, {"only"}},
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
        {"remove ends returns them",
         [](CStringList& l) {
             l.AddTail(u"x");
             l.AddTail(u"y");
             l.AddTail(u"z");
             EXPECT_EQ(l.RemoveHead(), u"x");
             EXPECT_EQ(l.RemoveTail(), u"z");
         },
         {"y"}},
        {"set and write through references",
         [](CStringList& l) {
             POSITION p = l.AddTail(u"old");
             l.AddTail(u"tail");
             l.SetAt(p, u"new");
             l.GetTail() += u"!";
             POSITION walk = l.GetHeadPosition();
             l.GetNext(walk) += u"?";
         },
         {"new?", "tail!"}},
        {"remove everything, then reuse",
         [](CStringList& l) {
             l.AddTail(u"a");
             l.AddTail(u"b");
             l.RemoveAll();
             EXPECT_TRUE(l.IsEmpty());
             EXPECT_EQ(l.GetHeadPosition(), nullptr);
             l.AddHead(u"c");
         },
         {"c"}},
        {"append a list, and the list itself",
         [](CStringList& l) {
             CStringList other;
             other.AddTail(u"o1");
             other.AddTail(u"o2");
             l.AddTail(u"x");
             l.AddTail(&other);
             l.AddHead(&other);
             EXPECT_EQ(other.GetCount(), 2);
             CStringList self;
             self.AddTail(u"s1");
             self.AddTail(u"s2");
             self.AddTail(&self);
             self.AddHead(&self);
             EXPECT_EQ(Contents(self), (Strings{"s1", "s2", "s1", "s2", "s1", "s2", "s1", "s2"}));
         },
         {"o1", "o2", "x", "o1", "o2"}},
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
    POSITION first = list.Find(u"a");
    ASSERT_NE(first, nullptr);
    POSITION second = list.Find(u"a", first);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.Find(u"a", second), nullptr);
    EXPECT_EQ(list.Find(u"A"), nullptr);  // exact match
    EXPECT_EQ(list.Find(CString(u"d")), list.FindIndex(4));
    EXPECT_EQ(list.Find(static_cast<LPCWSTR>(nullptr)), nullptr);
    struct Case {
        INT_PTR index;
        const char16_t* expected;  // null: no position
    } cases[] = {{0, u"a"}, {1, u"b"}, {3, u"c"}, {4, u"d"}, {5, u"e"}, {6, nullptr}, {-1, nullptr}, {1000, nullptr}};
    for (const auto& c : cases) {
        POSITION pos = list.FindIndex(c.index);
        if (c.expected == nullptr) {
            EXPECT_EQ(pos, nullptr) << c.index;
        } else {
            ASSERT_NE(pos, nullptr) << c.index;
            EXPECT_EQ(list.GetAt(pos), c.expected) << c.index;
        }
    }
}

TEST(StringList, EmptyListsAndNullPositionsAreHarmless) {
    CStringList list;
    EXPECT_TRUE(list.RemoveHead().IsEmpty());
    EXPECT_TRUE(list.RemoveTail().IsEmpty());
    EXPECT_TRUE(list.GetHead().IsEmpty());
    list.GetTail() = u"scribble";  // writes to a throwaway element
    EXPECT_TRUE(list.GetHead().IsEmpty());
    POSITION none = nullptr;
    EXPECT_TRUE(list.GetNext(none).IsEmpty());
    EXPECT_EQ(none, nullptr);
    EXPECT_TRUE(list.GetAt(nullptr).IsEmpty());
    list.SetAt(nullptr, u"x");
    list.RemoveAt(nullptr);
    list.AddTail(static_cast<const CStringList*>(nullptr));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.FindIndex(0), nullptr);
}

TEST(StringList, ManyElementsAcrossBlocks) {
    CStringList list(4);
    for (int i = 0; i < 1000; ++i) {
        CString s;
        s.Format(u"%d", i);
        list.AddTail(s);
    }
    // Remove the odd ones, then add more so that freed nodes are reused.
    INT_PTR index = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr; ++index) {
        POSITION here = pos;
        list.GetNext(pos);
        if (index % 2) list.RemoveAt(here);
    }
    for (int i = 0; i < 10; ++i) list.AddHead(u"new");
    EXPECT_EQ(list.GetCount(), 510);
    EXPECT_EQ(list.GetAt(list.FindIndex(10)), u"0");
    EXPECT_EQ(list.GetAt(list.FindIndex(509)), u"998");
    EXPECT_EQ(list.GetAt(list.FindIndex(300)), u"580");
}

class CItem : public CObject {
    DECLARE_DYNCREATE(CItem)
public:
    int id = 0;
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
    a.id = 1;
    b.id = 2;
    c.id = 3;
    CHistory history;
    EXPECT_TRUE(history.IsKindOf(RUNTIME_CLASS(CObList)));

    history.AddTail(&a);
    history.AddTail(&b);
    CObList other;
    other.AddTail(&c);
    other.AddTail(&history);  // the list's elements, not the list object
    EXPECT_EQ(other.GetCount(), 3);
    other.AddTail(static_cast<CObject*>(&history));  // the list object as an element
    EXPECT_EQ(other.GetCount(), 4);
    EXPECT_EQ(other.GetTail(), static_cast<CObject*>(&history));

    EXPECT_EQ(other.Find(&b), other.FindIndex(2));
    EXPECT_EQ(other.Find(&b, other.FindIndex(2)), nullptr);

    CTypedPtrList<CObList, CItem*> typed;
    typed.AddTail(&b);
    typed.AddHead(&a);
    typed.InsertAfter(typed.GetHeadPosition(), &c);
    std::vector<int> ids;
    for (POSITION pos = typed.GetHeadPosition(); pos != nullptr;) ids.push_back(typed.GetNext(pos)->id);
    EXPECT_EQ(ids, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(typed.Find(&c), typed.FindIndex(1));
    EXPECT_EQ(typed.RemoveTail()->id, 2);
    EXPECT_EQ(typed.RemoveHead()->id, 1);
    EXPECT_EQ(typed.GetHead(), &c);

    int x = 5, y = 6;
    CTypedPtrList<CPtrList, int*> ints;
    ints.AddTail(&x);
    ints.AddTail(&y);
    CTypedPtrList<CPtrList, int*> copy;
    copy.AddTail(&ints);
    EXPECT_EQ(*copy.GetTail(), 6);
    EXPECT_EQ(copy.GetCount(), 2);
}

}  // namespace
}  // namespace tq3::test
