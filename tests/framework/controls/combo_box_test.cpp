// The "COMBOBOX" class: its items, what the parent hears when the list drops down
// and closes by mouse and keyboard, and where the list drops; the simple box with
// its list always in view.
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/controls/combo_box.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;

class ComboBoxTest : public ControlsTest {
protected:
    HWND MakeCombo(DWORD style, const std::vector<std::u16string>& items, RECT r = RECT{10, 10, 160, 130}) {
        HWND combo = Make(WC_COMBOBOXW, nullptr, style, r);
        for (const auto& item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        desktop.RunUntilIdle();
        return combo;
    }
    // The dropped list: the visible top-level "ComboLBox" window.
    static HWND List() { return FindWindowW(u"ComboLBox", nullptr); }
    // A simple box's list, its child below the edit box.
    static HWND SimpleList(HWND combo) { return GetDlgItem(combo, 1000); }
    static HWND Edit(HWND combo) { return GetDlgItem(combo, kComboEditId); }
    static RECT WindowRect(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }
    // The centre of a list item, in screen coordinates.
    static POINT ItemOnScreen(HWND list, int index) {
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    }
    static std::u16string Text(HWND combo) {
        WCHAR buffer[64] = {};
        GetWindowTextW(combo, buffer, 64);
        return buffer;
    }
    // While typing: `index` (-1: none) is the list's current item, the one
    // CB_GETCURSEL answers, in view and painted in the highlight colour.
    static void ExpectHighlighted(HWND combo, HWND list, int index) {
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), index);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), index);
        RECT client{};
        GetClientRect(list, &client);
        const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
        if (index < 0) {
            EXPECT_EQ(CaptureWindow(list, client).Count(highlight), 0) << "no item highlighted";
            return;
        }
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        EXPECT_GE(item.top, 0) << "scrolled into view";
        EXPECT_LE(item.bottom, client.bottom) << "scrolled into view";
        const auto edge = CaptureWindow(list, RECT{item.left, item.top, item.left + 2, item.bottom});
        EXPECT_TRUE(edge.FilledWith(highlight).ok) << edge.Picture(highlight);
    }
    static int Top(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)); }
};

TEST_F(ComboBoxTest, ItemsLiveInTheListAndTheFieldShowsTheChoice) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_SORT, {u"pear", u"apple", u"fig"});
    struct Case {
        const char* what;
        UINT message;
        WPARAM w;
        const WCHAR* text;
        LRESULT result;
        int selected;
        std::u16string field;
    } cases[] = {
        {"choose", CB_SETCURSEL, 2, nullptr, 2, 2, u"pear"},
        {"an addition before the choice moves it along", CB_ADDSTRING, 0, u"banana", 1, 3, u"pear"},
        {"an index naming nothing clears it", CB_SETCURSEL, 9, nullptr, CB_ERR, -1, u""},
        {"the text chooses an item", WM_SETTEXT, 0, u"Fig", TRUE, 2, u"fig"},
        {"deleting the choice clears it", CB_DELETESTRING, 2, nullptr, 3, -1, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SendMessageW(combo, c.message, c.w, reinterpret_cast<LPARAM>(c.text)), c.result);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selected);
        EXPECT_EQ(Text(combo), c.field);
    }
    WCHAR buffer[16] = u"untouched";
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(buffer)), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 7, 0), CB_ERR);
    EXPECT_EQ(std::u16string(buffer), u"untouched");
}

// ---- What the parent hears --------------------------------------------------------

struct DropCase {
    const char* name;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> heard;
    int selected;          // CB_GETCURSEL afterwards
    bool dropped;          // CB_GETDROPPEDSTATE afterwards
    DWORD style;           // CBS_DROPDOWNLIST, or CBS_DROPDOWN with its edit box
    std::u16string field;  // the box's text afterwards
};

// The items of the boxes in the tables below: more than their lists show at once.
const std::vector<std::u16string> kGreek = {u"alpha", u"beta",  u"gamma", u"delta",  u"epsilon", u"zeta",
                                            u"eta",   u"theta", u"iota",  u"kappa", u"lambda",  u"mu"};

// What the parent hears: `before`, CBN_EDITUPDATE and CBN_EDITCHANGE for each of
// `typed` characters, then `after`.
std::vector<WORD> Typing(std::vector<WORD> before, int typed, const std::vector<WORD>& after) {
    for (int i = 0; i < typed; ++i) before.insert(before.end(), {CBN_EDITUPDATE, CBN_EDITCHANGE});
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

TEST_F(ComboBoxTest, DroppingAndClosingNotifyInThePlatformsOrder) {
    const POINT box{40, 10};
    const auto clickBox = [box](Desktop& d, HWND c) { d.Click(c, box); };
    // The box clicked, then `point(c)` clicked.
    const auto clickBoxThen = [clickBox](std::function<POINT(HWND)> point) {
        return [clickBox, point](Desktop& d, HWND c) {
            clickBox(d, c);
            d.Click(point(c));
        };
    };
    const auto item = [](int index) { return [index](HWND) { return ItemOnScreen(List(), index); }; };
    const std::vector<WORD> chosen{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP};
    const std::vector<WORD> cancelled{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP};
    const DWORD list = CBS_DROPDOWNLIST, edit = CBS_DROPDOWN;
    const std::vector<DropCase> cases = {
        {"a click drops the list", clickBox, {CBN_SETFOCUS, CBN_DROPDOWN}, 1, true, list, u"beta"},
        {"a click on an item chooses it", clickBoxThen(item(3)), chosen, 3, false, list, u"delta"},
        {"a click outside leaves the list unchosen", clickBoxThen([](HWND) { return POINT{500, 400}; }), cancelled, 1,
         false, list, u"beta"},
        {"F4, Down, Escape", Keys({{VK_F4}, {VK_DOWN}, {VK_ESCAPE}}),
         {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}, 2, false, list, u"gamma"},
        {"Alt+Down, Down, Enter", Keys({{VK_DOWN, tq3::testing::kAlt}, {VK_DOWN}, {VK_RETURN}}), chosen, 2, false, list,
         u"gamma"},
        // A key that changes nothing (the second End) says nothing.
        {"arrows and letters choose while closed", [](Desktop& d, HWND c) {
             Keys({{VK_DOWN}, {VK_RIGHT}, {VK_LEFT}, {VK_END}, {VK_END}})(d, c);
             d.Type(u"a");
         },
         {CBN_SETFOCUS, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}, 0, false, list,
         u"alpha"},
        {"Right and Left move the caret of an edit box instead", Keys({{VK_RIGHT}, {VK_LEFT}}), {CBN_SETFOCUS}, 1,
         false, edit, u"beta"},
        {"a program closing the list and dropping it again at once leaves it dropped", [](Desktop& d, HWND c) {
             SetFocus(c);
             for (BOOL show : {TRUE, FALSE, TRUE}) SendMessageW(c, CB_SHOWDROPDOWN, show, 0);
             d.RunUntilIdle();
         },
         {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_DROPDOWN}, 1, true, list, u"beta"},
        // Typing with the list dropped moves the highlight, not the choice.
        {"typing in the open list goes to the first item with the prefix; Enter takes it",
         [](Desktop& d, HWND c) {
             Typed(u"e", {{VK_F4}})(d, c);
             ExpectHighlighted(c, List(), 4);
             d.Type(u"T");
             ExpectHighlighted(c, List(), 6);
             d.Type(u"a");
             ExpectHighlighted(c, List(), 6);
             d.KeyPress(VK_RETURN);
         },
         Typing({CBN_SETFOCUS, CBN_DROPDOWN}, 3, {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), 6, false, edit, u"eta"},
        {"typing scrolls the open list; Escape goes back to the choice and keeps the text",
         [](Desktop& d, HWND c) {
             Typed(u"La", {{VK_F4}})(d, c);
             ExpectHighlighted(c, List(), 10);
             d.KeyPress(VK_ESCAPE);
             EXPECT_EQ(SendMessageW(List(), LB_GETCURSEL, 0, 0), 1);
         },
         Typing({CBN_SETFOCUS, CBN_DROPDOWN}, 2, {CBN_SELENDCANCEL, CBN_CLOSEUP}), 1, false, edit, u"La"},
        {"a text no item begins with highlights none and leaves the list; Enter keeps it and chooses none",
         [](Desktop& d, HWND c) {
             Typed(u"l", {{VK_F4}})(d, c);
             const int top = Top(List());
             d.Type(u"q");
             ExpectHighlighted(c, List(), -1);
             EXPECT_EQ(Top(List()), top);
             d.KeyPress(VK_RETURN);
         },
         Typing({CBN_SETFOCUS, CBN_DROPDOWN}, 2, {CBN_SELENDOK, CBN_CLOSEUP}), -1, false, edit, u"lq"},
        // With the list closed, the edited field names no item; the list then
        // opens at the item the text begins.
        {"typing with the list closed chooses none; dropping highlights the item the text begins",
         [](Desktop& d, HWND c) {
             SetFocus(c);
             d.Type(u"Ka");
             EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), CB_ERR);
             d.KeyPress(VK_F4);
             ExpectHighlighted(c, List(), 9);
             d.KeyPress(VK_RETURN);
         },
         Typing({CBN_SETFOCUS}, 2, {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), 9, false, edit,
         u"kappa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND combo = MakeCombo(c.style, kGreek);
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        tq3::testing::MessageSpy spy;
        WatchCommands(spy);
        c.act(desktop, combo);
        EXPECT_EQ(Heard(spy), c.heard);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selected);
        EXPECT_EQ(Text(combo), c.field);
        EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), c.dropped ? TRUE : FALSE);
        EXPECT_EQ(IsWindowVisible(List()) != FALSE, c.dropped);
        EXPECT_EQ(GetCapture() == List(), c.dropped) << "the open list holds the mouse, a closed one lets it go";
        DestroyWindow(combo);
        EXPECT_EQ(List(), nullptr) << "the list goes with its box";
    }
}

// ---- Where the list drops ----------------------------------------------------------

TEST_F(ComboBoxTest, TheListDropsBelowTheBoxOrAboveItNearTheDesktopsBottom) {
    std::vector<std::u16string> items;
    for (int i = 0; i < 20; ++i) items.push_back(u"item " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    MoveWindow(parent, 20, 20, 400, 450, TRUE);
    struct Case {
        const char* where;
        int y;
        bool above;
    } cases[] = {{"near the top", 10, false}, {"near the bottom", 400, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        HWND combo = MakeCombo(CBS_DROPDOWNLIST, items, RECT{10, c.y, 160, c.y + 150});
        SendMessageW(combo, CB_SETCURSEL, 2, 0);
        const RECT box = WindowRect(combo);
        EXPECT_LT(box.bottom - box.top, 40) << "the box is as tall as its field";
        RECT expected{};
        SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&expected));
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        desktop.RunUntilIdle();
        HWND list = List();
        ASSERT_NE(list, nullptr);
        const RECT dropped = WindowRect(list);
        EXPECT_EQ(dropped.left, box.left);
        EXPECT_EQ(dropped.right, box.right);
        EXPECT_EQ(c.above ? dropped.bottom : dropped.top, c.above ? box.top : box.bottom);
        const int pitch = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        const int room = 150 - (box.bottom - box.top);
        EXPECT_EQ(dropped.bottom - dropped.top, (room - 2) / pitch * pitch + 2) << "whole items in the room given";
        EXPECT_TRUE(EqualRect(&expected, &dropped) != FALSE) << "CB_GETDROPPEDCONTROLRECT tells where it drops";
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        desktop.RunUntilIdle();
        DestroyWindow(combo);
    }
}

// ---- The simple box ---------------------------------------------------------------

struct SimpleCase {
    const char* name;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> heard;
    int selected;       // CB_GETCURSEL afterwards, and the list's selection
    std::u16string text;  // in the edit box afterwards
};

TEST_F(ComboBoxTest, ASimpleBoxChoosesByArrowTypingAndClick) {
    const auto item = [](HWND c, int index) { return ItemOnScreen(SimpleList(c), index); };
    const std::vector<SimpleCase> cases = {
        {"Down chooses the next item and shows it", Keys({{VK_DOWN}}), {CBN_SETFOCUS, CBN_SELENDOK, CBN_SELCHANGE}, 2,
         u"gamma"},
        {"a double click chooses and is reported", [&](Desktop& d, HWND c) { d.DoubleClick(item(c, 0)); },
         {CBN_SETFOCUS, CBN_SELENDOK, CBN_SELCHANGE, CBN_DBLCLK, CBN_SELENDOK, CBN_SELCHANGE}, 0, u"alpha"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND combo = MakeCombo(CBS_SIMPLE, kGreek);
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        tq3::testing::MessageSpy spy;
        WatchCommands(spy);
        c.act(desktop, combo);
        EXPECT_EQ(Heard(spy), c.heard);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selected);
        EXPECT_EQ(SendMessageW(SimpleList(combo), LB_GETCURSEL, 0, 0), c.selected) << "the list shows the choice";
        EXPECT_EQ(Text(combo), c.text);
        EXPECT_EQ(GetFocus(), Edit(combo)) << "the focus stays in the edit box";
        DestroyWindow(combo);
    }
}

}  // namespace
}  // namespace tq3::test
