// The "LISTBOX" class: its items and their order, what the parent hears for keys
// and clicks, and the selection's look.
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;

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
        {"insert past the end", LB_INSERTSTRING, 9, u"x", LB_ERR, {u"one", u"half", u"two", u"three"}},
        {"delete answers the count left", LB_DELETESTRING, 1, nullptr, 3, {u"one", u"two", u"three"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Send(plain, c.message, c.index, c.text), c.result);
        EXPECT_EQ(Texts(plain), c.after);
    }
    WCHAR buffer[16] = u"untouched";
    for (WPARAM bad : {WPARAM{3}, static_cast<WPARAM>(-1)}) {
        EXPECT_EQ(Send(plain, LB_GETTEXT, bad, buffer), LB_ERR);
        EXPECT_EQ(Send(plain, LB_GETTEXTLEN, bad), LB_ERR);
        EXPECT_EQ(Send(plain, LB_SETCARETINDEX, bad), LB_ERR);
    }
    EXPECT_EQ(std::u16string(buffer), u"untouched");
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
        {"the first arrow selects the focus item", LBS_NOTIFY, Keys({{VK_DOWN}, {VK_DOWN}, {VK_DOWN}, {VK_UP}}),
         {LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}, 1, 0},
        {"right and left step as down and up, up at the top says nothing", LBS_NOTIFY,
         Keys({{VK_DOWN}, {VK_RIGHT}, {VK_LEFT}, {VK_LEFT}, {VK_UP}}),
         {LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}, 0, 0},
        {"page down twice turns a page", 0, Keys({{VK_HOME}, {VK_NEXT}, {VK_NEXT}}), {LBN_SETFOCUS}, 10, 5},
        {"type-ahead by first letter", LBS_NOTIFY, Typed(u"mM"), {LBN_SETFOCUS, LBN_SELCHANGE}, 12, 7},
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
        {"page down", key(VK_NEXT)},
        {"page down turns the page", key(VK_NEXT)},
        {"up", key(VK_UP)},
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

}  // namespace
}  // namespace tq3::test
