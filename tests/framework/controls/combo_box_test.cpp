// The "COMBOBOX" class: its items, what the parent hears when the list drops down
// and closes by mouse and keyboard, where the list drops, and how it looks; the
// simple box with its list always in view.
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
    static int FieldHeight(HWND combo) {
        return static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
    }
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
        {"nothing chosen at first", CB_GETCURSEL, 0, nullptr, CB_ERR, -1, u""},
        {"sorted", CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), u"FIG", 1, -1, u""},
        {"choose", CB_SETCURSEL, 2, nullptr, 2, 2, u"pear"},
        {"an addition before the choice moves it along", CB_ADDSTRING, 0, u"banana", 1, 3, u"pear"},
        {"select by prefix, wrapping", CB_SELECTSTRING, 3, u"AP", 0, 0, u"apple"},
        {"no such prefix keeps the choice", CB_SELECTSTRING, static_cast<WPARAM>(-1), u"kiwi", CB_ERR, 0, u"apple"},
        {"an index naming nothing clears it", CB_SETCURSEL, 9, nullptr, CB_ERR, -1, u""},
        {"the text chooses an item", WM_SETTEXT, 0, u"Fig", TRUE, 2, u"fig"},
        {"deleting the choice clears it", CB_DELETESTRING, 2, nullptr, 3, -1, u""},
        {"delete past the end", CB_DELETESTRING, 3, nullptr, CB_ERR, -1, u""},
        {"choose the first", CB_SETCURSEL, 0, nullptr, 0, 0, u"apple"},
        {"an insertion goes where it is asked, sorted box or not, and the choice moves along", CB_INSERTSTRING, 0,
         u"zucchini", 0, 1, u"apple"},
        {"inserted at -1, it ends the list", CB_INSERTSTRING, static_cast<WPARAM>(-1), u"kiwi", 4, 1, u"apple"},
        {"inserted past the end, refused", CB_INSERTSTRING, 9, u"x", CB_ERR, 1, u"apple"},
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
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_EQ(std::u16string(buffer), u"kiwi");
    EXPECT_EQ(SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, 2)), CB_ERR) << "no edit box";
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
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
        {"a click on the chosen item still reports it", clickBoxThen(item(1)), chosen, 1, false, list, u"beta"},
        {"press on the box, release on an item", [&](Desktop& d, HWND c) {
             d.MouseDown(c, box);
             d.MouseMove(ItemOnScreen(List(), 2));
             d.MouseUp(ItemOnScreen(List(), 2));
         },
         chosen, 2, false, list, u"gamma"},
        {"a click outside leaves the list unchosen", clickBoxThen([](HWND) { return POINT{500, 400}; }), cancelled, 1,
         false, list, u"beta"},
        {"a second click on the box closes it", clickBoxThen([box](HWND c) {
             POINT p = box;
             ClientToScreen(c, &p);
             return p;
         }),
         cancelled, 1, false, list, u"beta"},
        {"F4, Down, Escape", Keys({{VK_F4}, {VK_DOWN}, {VK_ESCAPE}}),
         {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}, 2, false, list, u"gamma"},
        {"Alt+Down, Down, Enter", Keys({{VK_DOWN, tq3::testing::kAlt}, {VK_DOWN}, {VK_RETURN}}), chosen, 2, false, list,
         u"gamma"},
        {"Alt+Up closes what F4 opened", Keys({{VK_F4}, {VK_UP, tq3::testing::kAlt}}),
         {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}, 1, false, list, u"beta"},
        // A key that changes nothing (the second End) says nothing.
        {"arrows and letters choose while closed", [](Desktop& d, HWND c) {
             Keys({{VK_DOWN}, {VK_RIGHT}, {VK_LEFT}, {VK_END}, {VK_END}})(d, c);
             d.Type(u"a");
         },
         {CBN_SETFOCUS, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}, 0, false, list,
         u"alpha"},
        {"Right and Left move the caret of an edit box instead", Keys({{VK_RIGHT}, {VK_LEFT}}), {CBN_SETFOCUS}, 1,
         false, edit, u"beta"},
        {"the focus leaving closes the list", [](Desktop&, HWND c) {
             SetFocus(c);
             SendMessageW(c, CB_SHOWDROPDOWN, TRUE, 0);
             SetFocus(GetParent(c));
         },
         {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}, 1, false, list, u"beta"},
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
        {"Enter on the chosen item puts it back over the typed text", [](Desktop& d, HWND c) {
             Typed(u"BE", {{VK_F4}})(d, c);
             d.KeyPress(VK_RETURN);
         },
         Typing({CBN_SETFOCUS, CBN_DROPDOWN}, 2, {CBN_SELENDOK, CBN_CLOSEUP}), 1, false, edit, u"beta"},
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
        {"a click on the chosen item puts it back over the typed text", [&](Desktop& d, HWND c) {
             Typed(u"b", {{VK_F4}})(d, c);
             d.Click(ItemOnScreen(List(), 1));
         },
         Typing({CBN_SETFOCUS, CBN_DROPDOWN}, 1, {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), 1, false, edit, u"beta"},
        // Alt was not pressed alone, though the box kept the arrow to itself.
        {"Alt+Down on a window with a menu bar drops the list and leaves the bar shut", [](Desktop& d, HWND c) {
             HMENU bar = CreateMenu();
             AppendMenuW(bar, MF_STRING, 1, u"&File");
             SetMenu(GetParent(c), bar);
             d.QueueModalAnswer(tq3::testing::AnswerKey(VK_ESCAPE));  // what would close the bar again
             Keys({{VK_DOWN, tq3::testing::kAlt}})(d, c);
             EXPECT_EQ(d.PendingModalAnswers(), 1u) << "the menu bar opened";
             SetMenu(GetParent(c), nullptr);
             DestroyMenu(bar);
         },
         {CBN_SETFOCUS, CBN_DROPDOWN}, 1, true, list, u"beta"},
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

// ---- Where the list drops, and its look ---------------------------------------------

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
        EXPECT_EQ(GetWindow(list, GW_OWNER), parent) << "owned by the box's top-level window";
        EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_POPUP, 0);
        const RECT dropped = WindowRect(list);
        EXPECT_EQ(dropped.left, box.left);
        EXPECT_EQ(dropped.right, box.right);
        EXPECT_EQ(c.above ? dropped.bottom : dropped.top, c.above ? box.top : box.bottom);
        const int pitch = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        const int room = 150 - (box.bottom - box.top);
        EXPECT_EQ(dropped.bottom - dropped.top, (room - 2) / pitch * pitch + 2) << "whole items in the room given";
        EXPECT_TRUE(EqualRect(&expected, &dropped) != FALSE) << "CB_GETDROPPEDCONTROLRECT tells where it drops";

        // On the desktop: the chosen item in the highlight colour right inside the
        // list's frame, and the list's frame against the box's edge.
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
        const auto chosen = tq3::testing::CaptureDesktop(RECT{item.left, item.top, item.left + 3, item.bottom});
        EXPECT_TRUE(chosen.FilledWith(GetSysColor(COLOR_HIGHLIGHT)).ok) << chosen.Picture(GetSysColor(COLOR_HIGHLIGHT));
        const int seam = c.above ? dropped.bottom - 1 : dropped.top;
        const auto frame = tq3::testing::CaptureDesktop(RECT{dropped.left + 20, seam, dropped.left + 40, seam + 1});
        EXPECT_TRUE(frame.FilledWith(GetSysColor(COLOR_WINDOWFRAME)).ok) << "the list's border at the box's edge";
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        desktop.RunUntilIdle();
        DestroyWindow(combo);
    }
}

TEST_F(ComboBoxTest, TheFieldShowsTheChoiceHighlightedWhileFocused) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {u"alpha", u"beta"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    desktop.RunUntilIdle();
    RECT client{};
    GetClientRect(combo, &client);
    // The field lies inside the two-pixel frame, left of the square drop button.
    const RECT field{4, 4, client.right - 2 - GetSystemMetrics(SM_CXVSCROLL) - 2, client.bottom - 4};
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(CaptureWindow(combo, field).Count(highlight), 0);
    EXPECT_GT(CaptureWindow(combo, field).CountOther(GetSysColor(COLOR_WINDOW)), 0) << "the text";
    SetFocus(combo);
    desktop.RunUntilIdle();
    const auto focused = CaptureWindow(combo, field);
    EXPECT_GT(focused.Count(highlight), (field.right - field.left) * (field.bottom - field.top) / 2)
        << focused.Picture(highlight);
    const RECT button{client.right - 2 - GetSystemMetrics(SM_CXVSCROLL), 2, client.right - 2, client.bottom - 2};
    EXPECT_GT(CaptureWindow(combo, button).Count(GetSysColor(COLOR_BTNFACE)), 0) << "the drop button";
    EXPECT_GT(CaptureWindow(combo, button).Count(RGB(0, 0, 0)), 0) << "its arrow";
}

// ---- The simple box ---------------------------------------------------------------

TEST_F(ComboBoxTest, AnOwnerDrawnBoxHasItsParentMeasureAndDrawTheFieldAndTheItems) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, kGreek);
    EXPECT_EQ(FieldHeight(combo), static_cast<int>(kOwnerItemHeight) + 6) << "the parent's height for the field";
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), static_cast<LRESULT>(kOwnerItemHeight));
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    drawn().clear();
    InvalidateRect(combo, nullptr, TRUE);
    desktop.RunUntilIdle();
    ASSERT_EQ(drawn().size(), 1u) << "the field alone, by the parent";
    EXPECT_EQ(std::make_tuple(drawn()[0].CtlType, drawn()[0].CtlID, drawn()[0].itemID, drawn()[0].hwndItem),
              std::make_tuple(UINT{ODT_COMBOBOX}, 100u, 2u, combo));
    EXPECT_NE(drawn()[0].itemState & ODS_COMBOBOXEDIT, 0u);

    // Dropped, the items in view are drawn by the box's parent for the box,
    // not for the list window that shows them.
    drawn().clear();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    desktop.RunUntilIdle();
    ASSERT_NE(List(), nullptr);
    const int top = Top(List());
    int items = 0;
    for (const DRAWITEMSTRUCT& d : drawn()) {
        if (d.itemState & ODS_COMBOBOXEDIT) continue;
        SCOPED_TRACE(d.itemID);
        ++items;
        EXPECT_EQ(std::make_tuple(d.CtlType, d.CtlID, d.hwndItem), std::make_tuple(UINT{ODT_COMBOBOX}, 100u, combo));
        EXPECT_EQ(d.rcItem.top, static_cast<LONG>((static_cast<int>(d.itemID) - top) * static_cast<int>(kOwnerItemHeight)));
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, d.itemID == 2u);
    }
    EXPECT_GT(items, 1);
    WCHAR text[16] = {};
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text)), 5) << "it keeps its strings";
    EXPECT_EQ(std::u16string(text), u"gamma");
}

TEST_F(ComboBoxTest, ItsEditBoxScrollsOnlyWithAutoHScroll) {
    for (const DWORD scrolls : {DWORD{0}, static_cast<DWORD>(CBS_AUTOHSCROLL)}) {
        SCOPED_TRACE(scrolls);
        HWND combo = MakeCombo(CBS_DROPDOWN | scrolls, {u"alpha"});
        SetFocus(combo);
        desktop.Type(std::u16string(80, u'W'));
        const int length = GetWindowTextLengthW(combo);
        if (scrolls != 0) {
            EXPECT_EQ(length, 80);
        } else {
            EXPECT_GT(length, 0);
            EXPECT_LT(length, 80) << "a box that does not scroll takes what fits";
        }
        DestroyWindow(combo);
    }
    // CB_LIMITTEXT limits what the user may type in the edit box.
    HWND combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {u"alpha"});
    EXPECT_TRUE(SendMessageW(combo, CB_LIMITTEXT, 3, 0));
    SetFocus(combo);
    desktop.Type(u"abcdef");
    EXPECT_EQ(Text(combo), u"abc");
    EXPECT_EQ(SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 2)), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETEDITSEL, 0, 0), MAKELONG(1, 2));
}

TEST_F(ComboBoxTest, ASimpleBoxKeepsItsListInViewBelowTheEdit) {
    HWND combo = MakeCombo(CBS_SIMPLE | CBS_SORT, {u"pear", u"apple", u"fig"});
    HWND edit = Edit(combo);
    HWND list = SimpleList(combo);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetParent(list), combo);
    EXPECT_EQ(List(), nullptr) << "no pop-up list";
    EXPECT_TRUE(IsWindowVisible(list));
    const auto expectLayout = [&](int height, const char* when) {
        SCOPED_TRACE(when);
        const RECT box = WindowRect(combo);
        const RECT shown = WindowRect(list);
        EXPECT_EQ(box.bottom - box.top, height) << "the box keeps the height it is given";
        EXPECT_EQ(shown.left, box.left);
        EXPECT_EQ(shown.right, box.right);
        EXPECT_EQ(shown.top, box.top + FieldHeight(combo));
        EXPECT_EQ(shown.bottom, box.bottom);
        const RECT field = WindowRect(edit);
        EXPECT_LE(field.bottom, shown.top);
        EXPECT_GE(field.right, box.right - 4) << "no drop button beside the edit box";
        RECT reported{};
        EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&reported)), TRUE);
        EXPECT_TRUE(EqualRect(&reported, &shown) != FALSE);
    };
    expectLayout(120, "as made");
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24), CB_OKAY);
    expectLayout(120, "with a taller field");
    SetWindowPos(combo, nullptr, 0, 0, 150, 200, SWP_NOMOVE | SWP_NOZORDER);
    expectLayout(200, "made taller");

    tq3::testing::MessageSpy spy;
    WatchCommands(spy);
    SetFocus(combo);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    desktop.KeyPress(VK_F4);
    desktop.KeyPress(VK_DOWN, tq3::testing::kAlt);
    EXPECT_EQ(Heard(spy), std::vector<WORD>{CBN_SETFOCUS}) << "nothing drops, nothing closes";
    EXPECT_TRUE(IsWindowVisible(list)) << "hiding the list has no effect either";
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE) << "its list is always visible";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(combo, WM_GETDLGCODE, 0, 0) & DLGC_WANTMESSAGE, 0) << "Enter and Escape stay the dialog's";
    EnableWindow(combo, FALSE);
    EXPECT_FALSE(IsWindowEnabled(list));
    EXPECT_FALSE(IsWindowEnabled(edit));
}

struct SimpleCase {
    const char* name;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> heard;
    int selected;       // CB_GETCURSEL afterwards, and the list's selection
    std::u16string text;  // in the edit box afterwards
};

TEST_F(ComboBoxTest, ASimpleBoxChoosesByArrowTypingAndClick) {
    const auto item = [](HWND c, int index) { return ItemOnScreen(SimpleList(c), index); };
    // The box takes the focus and `text` is typed, then `then` is done.
    const auto typed = [](std::u16string text, std::function<void(Desktop&, HWND)> then) {
        return [text, then](Desktop& d, HWND c) {
            SetFocus(c);
            d.Type(text);
            then(d, c);
        };
    };
    const std::vector<SimpleCase> cases = {
        {"Down chooses the next item and shows it", Keys({{VK_DOWN}}), {CBN_SETFOCUS, CBN_SELENDOK, CBN_SELCHANGE}, 2,
         u"gamma"},
        {"typing selects the first item with the prefix and keeps the text", Typed(u"DE"),
         Typing({CBN_SETFOCUS}, 2, {}), 3, u"DE"},
        {"an arrow goes on from the typed prefix", typed(u"g", [](Desktop& d, HWND) { d.KeyPress(VK_DOWN); }),
         Typing({CBN_SETFOCUS}, 1, {CBN_SELENDOK, CBN_SELCHANGE}), 3, u"delta"},
        {"a click on an item chooses it", [&](Desktop& d, HWND c) { d.Click(item(c, 3)); },
         {CBN_SETFOCUS, CBN_SELENDOK, CBN_SELCHANGE}, 3, u"delta"},
        {"a click on the chosen item puts it back over typed text",
         typed(u"b", [&](Desktop& d, HWND c) { d.Click(item(c, 1)); }),
         Typing({CBN_SETFOCUS}, 1, {CBN_SELENDOK, CBN_SELCHANGE}), 1, u"beta"},
        {"a double click chooses and is reported", [&](Desktop& d, HWND c) { d.DoubleClick(item(c, 0)); },
         {CBN_SETFOCUS, CBN_SELENDOK, CBN_SELCHANGE, CBN_DBLCLK, CBN_SELENDOK, CBN_SELCHANGE}, 0, u"alpha"},
        {"typing scrolls the list to the item, and a text no item begins with selects none and leaves it where it is",
         [](Desktop& d, HWND c) {
             SetFocus(c);
             d.Type(u"La");
             ExpectHighlighted(c, SimpleList(c), 10);
             const int top = Top(SimpleList(c));
             d.Type(u"q");
             ExpectHighlighted(c, SimpleList(c), -1);
             EXPECT_EQ(Top(SimpleList(c)), top);
         },
         Typing({CBN_SETFOCUS}, 3, {}), -1, u"Laq"},
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

TEST_F(ComboBoxTest, ASimpleBoxPaintsItsFieldAndItsFramedList) {
    HWND combo = MakeCombo(CBS_SIMPLE, {u"alpha", u"beta", u"gamma"});
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    desktop.RunUntilIdle();
    HWND list = SimpleList(combo);
    RECT client{};
    GetClientRect(combo, &client);
    const int field = FieldHeight(combo);
    // The field's sunken frame ends at the field's bottom, where the list begins.
    const auto top = CaptureWindow(combo, RECT{1, 0, client.right - 1, 1});
    EXPECT_TRUE(top.FilledWith(GetSysColor(COLOR_BTNSHADOW)).ok) << top.Picture(GetSysColor(COLOR_BTNSHADOW));
    const auto bottom = CaptureWindow(combo, RECT{1, field - 1, client.right, field});
    EXPECT_TRUE(bottom.FilledWith(GetSysColor(COLOR_BTNHIGHLIGHT)).ok) << bottom.Picture(GetSysColor(COLOR_BTNHIGHLIGHT));
    // Where a drop button would be, the field goes on in the window colour.
    const RECT end{client.right - 2 - GetSystemMetrics(SM_CXVSCROLL), 2, client.right - 2, field - 2};
    EXPECT_TRUE(CaptureWindow(combo, end).FilledWith(GetSysColor(COLOR_WINDOW)).ok);
    RECT editClient{};
    GetClientRect(Edit(combo), &editClient);
    EXPECT_GT(CountDark(Edit(combo), editClient), 0) << "the chosen item's text in the edit box";
    // The list's own sunken frame, and its items: the chosen one highlighted.
    const RECT shown = WindowRect(list);
    const auto frame = tq3::testing::CaptureDesktop(RECT{shown.left + 1, shown.top, shown.right - 1, shown.top + 1});
    EXPECT_TRUE(frame.FilledWith(GetSysColor(COLOR_BTNSHADOW)).ok) << frame.Picture(GetSysColor(COLOR_BTNSHADOW));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        RECT r{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        const auto edge = CaptureWindow(list, RECT{r.left, r.top, r.left + 2, r.bottom});
        EXPECT_EQ(edge.FilledWith(GetSysColor(i == 1 ? COLOR_HIGHLIGHT : COLOR_WINDOW)).ok, true);
        if (i != 1) {
            EXPECT_GT(CountDark(list, r), 0) << "its text";
        }
    }
}

TEST_F(ComboBoxTest, SizesAndTheWrapper) {
    CComboBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, CRect(10, 10, 160, 200),
                           CWnd::FromHandle(parent), 5));
    EXPECT_EQ(box.AddString(u"b"), 0);
    EXPECT_EQ(box.AddString(u"a"), 0);
    EXPECT_EQ(box.SetItemDataPtr(1, &box), CB_OKAY);
    EXPECT_EQ(box.GetItemDataPtr(1), &box);
    CString text;
    box.GetLBText(1, text);
    EXPECT_EQ(text, CString(u"b"));
    EXPECT_EQ(box.SetItemHeight(0, 30), CB_OKAY);
    EXPECT_EQ(box.GetItemHeight(0), 30);
    EXPECT_EQ(box.SetItemHeight(-1, 24), CB_OKAY);
    EXPECT_EQ(box.GetItemHeight(-1), 24);
    CRect r;
    box.GetWindowRect(&r);
    EXPECT_EQ(r.Height(), 30) << "the field and its frame";
    EXPECT_EQ(box.SetDroppedWidth(300), 300);
    box.ShowDropDown();
    EXPECT_TRUE(box.GetDroppedState());
    CRect dropped;
    box.GetDroppedControlRect(&dropped);
    EXPECT_EQ(dropped.Width(), 300);
    EXPECT_EQ(dropped.Height(), 2 * 30 + 2) << "two items, no room wasted";
    box.ShowDropDown(FALSE);
    EXPECT_FALSE(box.GetDroppedState());
    box.DestroyWindow();
}

}  // namespace
}  // namespace tq3::test
