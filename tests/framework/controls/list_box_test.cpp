// The "LISTBOX" class: its items and their order, finding, what the parent hears
// for keys, clicks and focus, extended selection, scrolling, owner drawing and
// the selection's look.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;
using tq3::testing::CountDiffering;
using tq3::testing::Msg;

constexpr RECT kListRect{10, 10, 160, 110};

class ListBoxTest : public ControlsTest {
protected:
    HWND MakeList(DWORD style, const std::vector<std::u16string>& items, RECT r = kListRect) {
        HWND list = Make(WC_LISTBOXW, nullptr, style, r);
        for (const auto& item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        desktop.RunUntilIdle();
        return list;
    }
    static std::u16string Text(HWND list, int index) {
        const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0) return u"<none>";
        std::u16string text(static_cast<size_t>(length) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    static std::vector<std::u16string> Texts(HWND list) {
        std::vector<std::u16string> texts;
        for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) texts.push_back(Text(list, i));
        return texts;
    }
    static POINT ItemCentre(HWND list, int index) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static LRESULT Send(HWND list, UINT message, WPARAM w = 0, const WCHAR* text = nullptr) {
        return SendMessageW(list, message, w, reinterpret_cast<LPARAM>(text));
    }
};

TEST_F(ListBoxTest, ItemsKeepTheirOrderAndRefuseIndexesNamingNothing) {
    HWND sorted = MakeList(LBS_SORT, {u"pear", u"Apple", u"banana", u"apple", u"Cherry"});
    EXPECT_EQ(Texts(sorted), (std::vector<std::u16string>{u"Apple", u"apple", u"banana", u"Cherry", u"pear"}))
        << "the user's collation, case ignored, equal items in their order of arrival";
    EXPECT_EQ(Send(sorted, LB_INSERTSTRING, 0, u"zebra"), 0) << "an insert goes where it is told, sorted or not";
    EXPECT_EQ(Text(sorted, 0), u"zebra");

    HWND plain = MakeList(0, {u"one", u"two"});
    struct Case {
        const char* what;
        UINT message;
        WPARAM index;
        const WCHAR* text;
        LRESULT result;
        std::vector<std::u16string> after;
    } cases[] = {
        {"add goes to the end", LB_ADDSTRING, 0, u"three", 2, {u"one", u"two", u"three"}},
        {"insert before an item", LB_INSERTSTRING, 1, u"half", 1, {u"one", u"half", u"two", u"three"}},
        {"insert at -1 appends", LB_INSERTSTRING, static_cast<WPARAM>(-1), u"end", 4,
         {u"one", u"half", u"two", u"three", u"end"}},
        {"insert past the end", LB_INSERTSTRING, 9, u"x", LB_ERR, {u"one", u"half", u"two", u"three", u"end"}},
        {"delete answers the count left", LB_DELETESTRING, 1, nullptr, 4, {u"one", u"two", u"three", u"end"}},
        {"delete past the end", LB_DELETESTRING, 4, nullptr, LB_ERR, {u"one", u"two", u"three", u"end"}},
        {"null text is an empty item", LB_ADDSTRING, 0, nullptr, 4, {u"one", u"two", u"three", u"end", u""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Send(plain, c.message, c.index, c.text), c.result);
        EXPECT_EQ(Texts(plain), c.after);
    }
    WCHAR buffer[16] = u"untouched";
    for (WPARAM bad : {WPARAM{5}, static_cast<WPARAM>(-1)}) {
        EXPECT_EQ(Send(plain, LB_GETTEXT, bad, buffer), LB_ERR);
        EXPECT_EQ(Send(plain, LB_GETTEXTLEN, bad), LB_ERR);
        EXPECT_EQ(Send(plain, LB_GETITEMDATA, bad), LB_ERR);
        EXPECT_EQ(SendMessageW(plain, LB_SETITEMDATA, bad, 7), LB_ERR);
        EXPECT_EQ(Send(plain, LB_SETCARETINDEX, bad), LB_ERR);
    }
    EXPECT_EQ(std::u16string(buffer), u"untouched");
    EXPECT_EQ(SendMessageW(plain, LB_SETITEMDATA, 2, 0x1234), 1);
    EXPECT_EQ(Send(plain, LB_GETITEMDATA, 2), 0x1234);
    Send(plain, LB_RESETCONTENT);
    EXPECT_EQ(Send(plain, LB_GETCOUNT), 0);
    EXPECT_EQ(Send(plain, LB_GETTEXT, 0, buffer), LB_ERR);
}

TEST_F(ListBoxTest, FindingIgnoresCaseAndWrapsAround) {
    HWND list = MakeList(0, {u"Alpha", u"beta", u"alphabet", u"Beta", u"gamma"});
    struct Case {
        UINT message;
        int start;
        const WCHAR* text;
        LRESULT found;
    } cases[] = {
        {LB_FINDSTRING, -1, u"ALP", 0},       {LB_FINDSTRING, 0, u"alp", 2},
        {LB_FINDSTRING, 2, u"alp", 0},        {LB_FINDSTRING, 99, u"g", 4},
        {LB_FINDSTRING, -1, u"delta", LB_ERR}, {LB_FINDSTRINGEXACT, 1, u"beta", 3},
        {LB_FINDSTRINGEXACT, -1, u"alp", LB_ERR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "start " << c.start << ", found " << c.found);
        EXPECT_EQ(Send(list, c.message, static_cast<WPARAM>(c.start), c.text), c.found);
    }
    EXPECT_EQ(Send(list, LB_SELECTSTRING, 0, u"be"), 1);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 1);
    EXPECT_EQ(Send(list, LB_SELECTSTRING, 0, u"delta"), LB_ERR);
    EXPECT_EQ(Send(list, LB_GETCURSEL), 1) << "a failed search keeps the selection";
}

// ---- What the parent hears --------------------------------------------------------

struct InputCase {
    const char* name;
    DWORD style;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> heard;
    int selected;  // LB_GETCURSEL afterwards
    int top;       // LB_GETTOPINDEX afterwards
};

TEST_F(ListBoxTest, KeysAndClicksMoveTheSelectionAndNotify) {
    std::vector<std::u16string> items;
    for (char16_t c = u'a'; c <= u'z'; ++c) items.push_back(std::u16string(1, c) + u" item");
    const auto click = [](int index) {
        return [index](Desktop& d, HWND l) { d.Click(l, ItemCentre(l, index)); };
    };
    const std::vector<InputCase> cases = {
        {"click", LBS_NOTIFY, click(2), {LBN_SETFOCUS, LBN_SELCHANGE}, 2, 0},
        {"click without LBS_NOTIFY", 0, click(2), {LBN_SETFOCUS}, 2, 0},
        {"double click", LBS_NOTIFY,
         [](Desktop& d, HWND l) { d.DoubleClick(l, ItemCentre(l, 1)); },
         {LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCHANGE}, 1, 0},
        {"the first arrow selects the focus item", LBS_NOTIFY, Keys({{VK_DOWN}, {VK_DOWN}, {VK_DOWN}, {VK_UP}}),
         {LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}, 1, 0},
        {"right and left step as down and up, up at the top says nothing", LBS_NOTIFY,
         Keys({{VK_DOWN}, {VK_RIGHT}, {VK_LEFT}, {VK_LEFT}, {VK_UP}}),
         {LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}, 0, 0},
        {"end scrolls the last item into view", 0, Keys({{VK_END}}), {LBN_SETFOCUS}, 25, 20},
        {"page down goes to the last item in view", 0, Keys({{VK_HOME}, {VK_NEXT}}), {LBN_SETFOCUS}, 5, 0},
        {"page down twice turns a page", 0, Keys({{VK_HOME}, {VK_NEXT}, {VK_NEXT}}), {LBN_SETFOCUS}, 10, 5},
        {"page up from the end", 0, Keys({{VK_END}, {VK_PRIOR}}), {LBN_SETFOCUS}, 20, 20},
        {"type-ahead by first letter", LBS_NOTIFY, Typed(u"mM"), {LBN_SETFOCUS, LBN_SELCHANGE}, 12, 7},
        {"type-ahead wraps", 0, Typed(u"b", {{VK_END}}), {LBN_SETFOCUS}, 1, 1},
        {"focus leaves", LBS_NOTIFY,
         [](Desktop&, HWND l) {
             SetFocus(l);
             SetFocus(GetParent(l));
         },
         {LBN_SETFOCUS, LBN_KILLFOCUS}, -1, 0},
        {"wheel scrolls without selecting", LBS_NOTIFY,
         [](Desktop& d, HWND l) {
             SetFocus(l);
             d.Wheel(l, POINT{20, 20}, -WHEEL_DELTA);
         },
         {LBN_SETFOCUS}, -1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND list = MakeList(c.style | WS_VSCROLL, items);
        tq3::testing::MessageSpy spy;
        WatchCommands(spy);
        c.act(desktop, list);
        EXPECT_EQ(Heard(spy), c.heard);
        EXPECT_EQ(Send(list, LB_GETCURSEL), c.selected);
        EXPECT_EQ(Send(list, LB_GETTOPINDEX), c.top);
        DestroyWindow(list);
    }
}

TEST_F(ListBoxTest, ExtendedSelectionFollowsShiftAndControl) {
    HWND list = MakeList(LBS_EXTENDEDSEL | LBS_NOTIFY, {u"0", u"1", u"2", u"3", u"4", u"5"});
    const auto selection = [&] {
        int indexes[8] = {};
        const auto n = SendMessageW(list, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(indexes));
        return std::vector<int>(indexes, indexes + std::max<LRESULT>(n, 0));
    };
    desktop.Click(list, ItemCentre(list, 1));
    EXPECT_EQ(selection(), (std::vector<int>{1}));
    desktop.Click(list, ItemCentre(list, 3), tq3::testing::Button::Left, tq3::testing::kShift);
    EXPECT_EQ(selection(), (std::vector<int>{1, 2, 3}));
    desktop.Click(list, ItemCentre(list, 2), tq3::testing::Button::Left, tq3::testing::kControl);
    EXPECT_EQ(selection(), (std::vector<int>{1, 3}));
    desktop.KeyPress(VK_DOWN, tq3::testing::kShift);
    EXPECT_EQ(selection(), (std::vector<int>{2, 3})) << "Shift stretches from the anchor set by the last Ctrl-click";
    desktop.KeyPress(VK_END);
    EXPECT_EQ(selection(), (std::vector<int>{5}));
    EXPECT_EQ(Send(list, LB_GETSELCOUNT), 1);
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, TRUE, -1), LB_OKAY);
    EXPECT_EQ(Send(list, LB_GETSELCOUNT), 6);
    EXPECT_EQ(Send(list, LB_SETCURSEL, 1), LB_ERR) << "a single-selection message";
    EXPECT_EQ(SendMessageW(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(1, 4)), LB_OKAY);
    EXPECT_EQ(selection(), (std::vector<int>{0, 5}));
    desktop.MouseDown(list, ItemCentre(list, 0));
    desktop.MouseMove(list, ItemCentre(list, 2));
    desktop.MouseUp(list, ItemCentre(list, 2));
    EXPECT_EQ(selection(), (std::vector<int>{0, 1, 2})) << "a drag selects what it passes";
}

TEST_F(ListBoxTest, GeometryAnswersInItemsOfTheFontsHeight) {
    HWND list = MakeList(WS_VSCROLL, {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"});
    const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT));
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(client.bottom % height, 0) << "the list shortens itself to whole items";
    EXPECT_GT(client.bottom, kListRect.bottom - kListRect.top - height - 4);
    const int page = client.bottom / height;
    EXPECT_EQ(Send(list, LB_SETTOPINDEX, 3), LB_OKAY);
    RECT r{};
    EXPECT_EQ(SendMessageW(list, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, height);
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, height + 1)), 4);
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, client.bottom + 40)), MAKELONG(3 + page, 1))
        << "below the items: the nearest one, marked outside";
    EXPECT_EQ(Send(list, LB_SETTOPINDEX, 9), LB_OKAY);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 10 - page) << "the last page stays full";
    EXPECT_EQ(Send(list, LB_SETTOPINDEX, 10), LB_ERR);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &si);
    EXPECT_EQ(std::make_tuple(si.nMax, si.nPage, si.nPos), std::make_tuple(9, static_cast<UINT>(page), 10 - page));
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Send(list, LB_GETTOPINDEX), 0) << "the scroll bar scrolls";
    while (Send(list, LB_GETCOUNT) > page) Send(list, LB_DELETESTRING, 0);
    RECT fitting{};
    GetClientRect(list, &fitting);
    EXPECT_GT(fitting.right, client.right) << "the scroll bar goes once every item fits";
}

// ---- Looks --------------------------------------------------------------------------

TEST_F(ListBoxTest, TheSelectedItemShowsInTheHighlightColours) {
    HWND list = MakeList(LBS_NOINTEGRALHEIGHT, {u"first", u"second", u"third"});
    Send(list, LB_SETCURSEL, 1);
    desktop.RunUntilIdle();
    const auto rectOf = [&](int index) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    };
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const RECT item = rectOf(1);
    const auto selected = CaptureWindow(list, item);
    EXPECT_TRUE(CaptureWindow(list, RECT{item.right - 20, item.top, item.right, item.bottom}).FilledWith(highlight).ok)
        << selected.Picture(highlight);
    EXPECT_GT(selected.CountOther(highlight), 0) << "the text shows on it";
    EXPECT_GT(CaptureWindow(list, rectOf(2)).CountOther(window), 0) << "text in another item";
    RECT below = rectOf(2);
    OffsetRect(&below, 0, below.bottom - below.top);
    EXPECT_TRUE(CaptureWindow(list, below).FilledWith(window).ok) << "nothing below the last item";
    Send(list, LB_SETCURSEL, static_cast<WPARAM>(-1));
    desktop.RunUntilIdle();
    EXPECT_EQ(CaptureWindow(list, rectOf(1)).Count(highlight), 0) << "deselected";
}

// After each step every item in view looks as the list's state says: the
// highlight on the selected item only, the focus rectangle's dots on the caret
// only. An item the step should have painted again still shows what it was.
TEST_F(ListBoxTest, TheHighlightAndTheFocusRectangleLeaveNothingBehind) {
    std::vector<std::u16string> items;
    for (char16_t c = u'a'; c <= u'z'; ++c) items.push_back(std::u16string(1, c) + u" item");
    HWND list = MakeList(WS_VSCROLL, items);
    SetFocus(list);
    desktop.RunUntilIdle();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const auto key = [&](int vk) { return [&, vk] { desktop.KeyPress(vk); }; };
    const auto send = [&](UINT message, WPARAM index) { return [=] { Send(list, message, index); }; };
    const struct {
        const char* name;
        std::function<void()> act;
    } steps[] = {
        {"the first arrow selects the focus item", key(VK_DOWN)},
        {"down", key(VK_DOWN)},
        {"page down", key(VK_NEXT)},
        {"page down turns the page", key(VK_NEXT)},
        {"up", key(VK_UP)},
        {"page up", key(VK_PRIOR)},
        {"home", key(VK_HOME)},
        {"the caret leaves the selection", send(LB_SETCARETINDEX, 3)},
        {"another item selected takes the caret", send(LB_SETCURSEL, 2)},
        {"the caret leaves the selection again", send(LB_SETCARETINDEX, 4)},
        {"the selected item selected again takes the caret back", send(LB_SETCURSEL, 0)},
    };
    for (const auto& step : steps) {
        step.act();
        desktop.RunUntilIdle();
        const int top = static_cast<int>(Send(list, LB_GETTOPINDEX));
        const int selected = static_cast<int>(Send(list, LB_GETCURSEL));
        const int caret = static_cast<int>(Send(list, LB_GETCARETINDEX));
        RECT client{};
        GetClientRect(list, &client);
        const int inView = client.bottom / static_cast<int>(Send(list, LB_GETITEMHEIGHT));
        for (int i = top; i < top + inView; ++i) {
            RECT edge{};
            SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&edge));
            edge.right = edge.left + 1;  // left of the text: only the highlight and the focus dots reach it
            const auto shot = CaptureWindow(list, edge);
            EXPECT_EQ(shot.Count(highlight) > 0, i == selected) << step.name << ": highlight on item " << i;
            const int dots = shot.CountIf([&](COLORREF c) { return c != highlight && c != window; });
            EXPECT_EQ(dots > 0, i == caret) << step.name << ": focus rectangle on item " << i;
        }
    }
}

// A long list keeps its items in chunks of a few hundred; a page that straddles
// two of them shows each item's own text, as a short list holding just that
// page's items does.
TEST_F(ListBoxTest, APageAcrossTheItemChunksShowsItsOwnItems) {
    std::vector<std::u16string> items;
    for (int i = 0; i < 1100; ++i) {
        std::u16string text = u"item ";
        for (char c : std::to_string(i)) text += static_cast<char16_t>(c);
        items.push_back(text);
    }
    HWND list = MakeList(LBS_NOINTEGRALHEIGHT, items);
    RECT client{};
    GetClientRect(list, &client);
    const int page = client.bottom / static_cast<int>(Send(list, LB_GETITEMHEIGHT)) + 1;
    for (int top : {0, 254, 509, 1100 - page}) {
        Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(top));
        desktop.RunUntilIdle();
        ASSERT_EQ(Send(list, LB_GETTOPINDEX), top);
        const std::vector<std::u16string> shown(items.begin() + top, items.begin() + std::min(top + page, 1100));
        HWND alone = MakeList(LBS_NOINTEGRALHEIGHT, shown, RECT{170, 10, 320, 110});
        EXPECT_EQ(CountDiffering(CaptureWindow(list), CaptureWindow(alone)), 0) << "top " << top;
        DestroyWindow(alone);
    }
}

TEST_F(ListBoxTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheParentOnlyWhenInView) {
    std::vector<std::u16string> items;
    for (int i = 0; i < 40; ++i) items.push_back(u"item");
    drawn().clear();
    HWND list = MakeList(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, items);
    EXPECT_EQ(Send(list, LB_GETITEMHEIGHT), kOwnerItemHeight);
    Send(list, LB_SETCURSEL, 2);
    drawn().clear();
    InvalidateRect(list, nullptr, TRUE);
    desktop.RunUntilIdle();
    RECT client{};
    GetClientRect(list, &client);
    const size_t visible = (client.bottom + kOwnerItemHeight - 1) / kOwnerItemHeight;
    ASSERT_EQ(drawn().size(), visible) << "only the items in view";
    for (size_t i = 0; i < drawn().size(); ++i) {
        const DRAWITEMSTRUCT& d = drawn()[i];
        const auto top = static_cast<LONG>(i * kOwnerItemHeight);
        EXPECT_EQ(std::make_tuple(d.CtlType, d.itemID, d.rcItem.top, (d.itemState & ODS_SELECTED) != 0),
                  std::make_tuple(UINT{ODT_LISTBOX}, static_cast<UINT>(i), top, i == 2));
    }

    HWND values = MakeList(LBS_OWNERDRAWFIXED, {});
    EXPECT_EQ(SendMessageW(values, LB_ADDSTRING, 0, 0xBEEF), 0) << "without strings an item is its value";
    ULONG_PTR value = 0;
    EXPECT_EQ(SendMessageW(values, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&value)), static_cast<LRESULT>(sizeof value));
    EXPECT_EQ(value, 0xBEEFu);
    EXPECT_EQ(SendMessageW(values, LB_FINDSTRING, static_cast<WPARAM>(-1), 0xBEEF), 0);
}

TEST_F(ListBoxTest, TheWrapperSpeaksForTheControl) {
    CListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | LBS_SORT, CRect(10, 10, 160, 110), CWnd::FromHandle(parent), 7));
    EXPECT_EQ(box.AddString(u"beta"), 0);
    EXPECT_EQ(box.AddString(u"alpha"), 0);
    EXPECT_EQ(box.SetItemDataPtr(1, &box), 1);
    EXPECT_EQ(box.GetItemDataPtr(1), &box);
    CString text;
    box.GetText(5, text);
    EXPECT_TRUE(text.IsEmpty());
    box.GetText(1, text);
    EXPECT_EQ(text, CString(u"beta"));
    EXPECT_EQ(box.SelectString(-1, u"BE"), 1);
    EXPECT_EQ(box.GetCurSel(), 1);
    BOOL outside = FALSE;
    EXPECT_EQ(box.ItemFromPoint(CPoint(3, 3), outside), 0u);
    EXPECT_FALSE(outside);
    box.DestroyWindow();
}

}  // namespace
}  // namespace tq3::test
