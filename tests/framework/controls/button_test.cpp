// The "BUTTON" class: what the parent hears for clicks, drags, keys and focus;
// check boxes; owner drawing; and the classic look, checked pixel by pixel.
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;
using Act = std::function<void(Desktop&, HWND)>;

constexpr RECT kButtonRect{10, 10, 110, 36};
constexpr POINT kIn{20, 10};
constexpr POINT kOut{-30, 10};

class ButtonTest : public ControlsTest {};

LRESULT Send(HWND b, UINT message, WPARAM wParam = 0) { return SendMessageW(b, message, wParam, 0); }

// A press on the button, a move off it (and back when `back`), and the release.
Act Drag(bool back) {
    return [back](Desktop& d, HWND b) {
        d.MouseDown(b, kIn);
        d.MouseMove(b, kOut);
        if (back) d.MouseMove(b, kIn);
        d.MouseUp(b, back ? kIn : kOut);
    };
}
Act Clicks(int count) {
    return [count](Desktop& d, HWND b) {
        for (int i = 0; i < count; ++i) d.Click(b, kIn);
    };
}

TEST_F(ButtonTest, PressesReachTheParentOnlyWhenCompletedOnTheButton) {
    const WORD C = BN_CLICKED;
    struct Case {
        const char* name;
        DWORD style;
        Act act;
        std::vector<WORD> notifications;
        WPARAM check;  // BM_GETCHECK afterwards
    };
    const std::vector<Case> cases = {
        {"click", BS_PUSHBUTTON, Clicks(1), {C}, BST_UNCHECKED},
        {"drag off before release", BS_PUSHBUTTON, Drag(false), {}, BST_UNCHECKED},
        {"drag off and back", BS_PUSHBUTTON, Drag(true), {C}, BST_UNCHECKED},
        {"disabled", BS_PUSHBUTTON, [](Desktop& d, HWND b) { EnableWindow(b, FALSE); d.Click(b, kIn); Send(b, BM_CLICK); },
         {}, BST_UNCHECKED},
        {"space bar", BS_DEFPUSHBUTTON, Keys({{VK_SPACE}}), {C}, BST_UNCHECKED},
        {"other keys", BS_PUSHBUTTON, Keys({{VK_RETURN}, {'A'}}), {}, BST_UNCHECKED},
        {"space then focus lost", BS_PUSHBUTTON,
         [](Desktop& d, HWND b) { SetFocus(b); d.KeyDown(VK_SPACE); SetFocus(GetParent(b)); d.KeyUp(VK_SPACE); }, {},
         BST_UNCHECKED},
        {"BM_CLICK", BS_PUSHBUTTON, [](Desktop&, HWND b) { Send(b, BM_CLICK); }, {C}, BST_UNCHECKED},
        // Click, space (the click gave it the focus), click: three toggles.
        {"auto check box", BS_AUTOCHECKBOX, [](Desktop& d, HWND b) { d.Click(b, kIn); d.KeyPress(VK_SPACE); d.Click(b, kIn); },
         {C, C, C}, BST_CHECKED},
        {"plain check box leaves the check to the parent", BS_CHECKBOX, Clicks(1), {C}, BST_UNCHECKED},
        {"auto three-state cycles", BS_AUTO3STATE, Clicks(2), {C, C}, BST_INDETERMINATE},
        {"group box is not a button", BS_GROUPBOX, Clicks(1), {}, BST_UNCHECKED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND b = Make(u"BUTTON", u"Press", c.style, kButtonRect);
        ASSERT_NE(b, nullptr);
        tq3::testing::MessageSpy spy;
        WatchCommands(spy);
        c.act(desktop, b);
        std::vector<tq3::testing::Expect> expected;
        for (WORD code : c.notifications) expected.push_back(Command(code).LParam(reinterpret_cast<LPARAM>(b)));
        EXPECT_TRUE(Same(spy.Compare(expected)));
        EXPECT_EQ(Send(b, BM_GETCHECK), static_cast<LRESULT>(c.check));
        EXPECT_EQ(Send(b, BM_GETSTATE) & BST_PUSHED, 0) << "released at the end";
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, NotifyStyleAddsFocusAndDoubleClickNotifications) {
    HWND a = Make(u"Button", u"A", BS_PUSHBUTTON | BS_NOTIFY, RECT{10, 10, 80, 34}, 100);
    HWND b = Make(u"Button", u"B", BS_PUSHBUTTON | BS_NOTIFY, RECT{90, 10, 160, 34}, 101);
    HWND plain = Make(u"Button", u"C", BS_PUSHBUTTON, RECT{170, 10, 240, 34}, 102);
    tq3::testing::MessageSpy spy;
    WatchCommands(spy);
    for (HWND focus : {a, b, plain, a}) SetFocus(focus);  // a plain button says nothing about its focus
    desktop.DoubleClick(b, POINT{5, 5});
    desktop.DoubleClick(plain, POINT{5, 5});
    EXPECT_TRUE(Same(spy.Compare({
        Command(BN_SETFOCUS, 100), Command(BN_KILLFOCUS, 100), Command(BN_SETFOCUS, 101),
        Command(BN_KILLFOCUS, 101), Command(BN_SETFOCUS, 100),
        // The first press of the double click moves the focus and clicks.
        Command(BN_KILLFOCUS, 100), Command(BN_SETFOCUS, 101), Command(BN_CLICKED, 101),
        Command(BN_DBLCLK, 101), Command(BN_CLICKED, 101),
        // Without BS_NOTIFY the second press is just another click.
        Command(BN_KILLFOCUS, 101), Command(BN_CLICKED, 102), Command(BN_CLICKED, 102),
    })));
}

TEST_F(ButtonTest, StateAndDialogCodeFollowTheKindAndThePress) {
    const std::pair<DWORD, LRESULT> codes[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON}, {BS_AUTOCHECKBOX, DLGC_BUTTON}, {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const auto& [style, code] : codes) {
        HWND b = Make(u"Button", u"x", style, kButtonRect);
        EXPECT_EQ(Send(b, WM_GETDLGCODE), code) << "style " << style;
        DestroyWindow(b);
    }
    HWND b = Make(u"Button", u"x", BS_PUSHBUTTON, kButtonRect);
    EXPECT_EQ(Send(b, BM_GETSTATE), 0);
    desktop.MouseDown(b, POINT{5, 5});
    EXPECT_EQ(Send(b, BM_GETSTATE), static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
    EXPECT_EQ(GetCapture(), b);
    desktop.MouseMove(b, POINT{500, 5});
    EXPECT_EQ(Send(b, BM_GETSTATE), static_cast<LRESULT>(BST_FOCUS)) << "dragged off: released look";
    desktop.MouseUp(b, POINT{500, 5});
    // BM_SETSTYLE moves the default ring; BM_SETCHECK means nothing to a push button.
    Send(b, BM_SETSTYLE, BS_DEFPUSHBUTTON);
    EXPECT_EQ(Send(b, WM_GETDLGCODE), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    Send(b, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(Send(b, BM_GETCHECK), 0);
    // A two-state check box takes "indeterminate" as checked.
    HWND check = Make(u"Button", u"x", BS_CHECKBOX, RECT{10, 50, 110, 70}, 101);
    Send(check, BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(Send(check, BM_GETCHECK), static_cast<LRESULT>(BST_CHECKED));
}

// ---- Owner drawing ------------------------------------------------------------------

TEST_F(ButtonTest, OwnerDrawnButtonIsDrawnByTheParentWithEachState) {
    HWND b = Make(u"Button", u"Owner", BS_OWNERDRAW, kButtonRect, 7);
    ASSERT_FALSE(drawn().empty());
    const DRAWITEMSTRUCT& first = drawn().back();
    EXPECT_EQ(std::make_tuple(first.CtlType, first.CtlID, first.hwndItem, first.itemAction, first.itemState),
              std::make_tuple(UINT{ODT_BUTTON}, 7u, b, UINT{ODA_DRAWENTIRE}, 0u));
    EXPECT_EQ(first.rcItem.right - first.rcItem.left, kButtonRect.right - kButtonRect.left);
    EXPECT_NE(first.hDC, nullptr);
    const UINT F = ODS_FOCUS, S = ODS_SELECTED;
    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::pair<UINT, UINT>> items;  // action, state
    };
    const std::vector<Step> steps = {
        {"press", [&] { desktop.MouseDown(b, POINT{5, 5}); }, {{ODA_FOCUS, F}, {ODA_SELECT, F | S}}},
        {"drag off", [&] { desktop.MouseMove(b, POINT{-40, 5}); }, {{ODA_SELECT, F}}},
        {"drag back", [&] { desktop.MouseMove(b, POINT{5, 5}); }, {{ODA_SELECT, F | S}}},
        {"release", [&] { desktop.MouseUp(b, POINT{5, 5}); }, {{ODA_SELECT, F}}},
        {"space held", [&] { desktop.KeyDown(VK_SPACE); }, {{ODA_SELECT, F | S}}},
        {"space let go", [&] { desktop.KeyUp(VK_SPACE); }, {{ODA_SELECT, F}}},
        {"focus gone", [&] { SetFocus(parent); }, {{ODA_FOCUS, 0}}},
        {"disabled", [&] { EnableWindow(b, FALSE); desktop.RunUntilIdle(); }, {{ODA_DRAWENTIRE, ODS_DISABLED}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        drawn().clear();
        step.act();
        std::vector<std::pair<UINT, UINT>> got;
        for (const DRAWITEMSTRUCT& d : drawn()) got.emplace_back(d.itemAction, d.itemState);
        EXPECT_EQ(got, step.items);
    }
}

// A CButton whose class draws it: the parent's WM_DRAWITEM comes back to it.
class CSelfDrawnButton : public CButton {
public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        states.push_back(item->itemState);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
};

TEST_F(ButtonTest, CButtonDrawsItselfThroughReflection) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, u"Host", WS_POPUP | WS_VISIBLE, CRect(200, 200, 400, 300), nullptr, 0));
    CSelfDrawnButton button;
    ASSERT_TRUE(button.Create(u"Self", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 90, 40), &frame, 5));
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(button, {3, 3}), GetSysColor(COLOR_HIGHLIGHT));
    button.states.clear();
    desktop.MouseDown(button, POINT{5, 5});
    EXPECT_EQ(button.states, (std::vector<UINT>{ODS_FOCUS, ODS_SELECTED | ODS_FOCUS}));
    EXPECT_EQ(button.GetState() & BST_PUSHED, static_cast<UINT>(BST_PUSHED));
    desktop.MouseUp(button, POINT{5, 5});
    EXPECT_EQ(button.states.back(), static_cast<UINT>(ODS_FOCUS));
    button.DestroyWindow();
    frame.DestroyWindow();
}

// ---- The classic look ---------------------------------------------------------------

TEST_F(ButtonTest, PushButtonLooksRaisedAndPressedFlatWithTheCaptionMoved) {
    HWND b = Make(u"Button", u"OK", BS_PUSHBUTTON, kButtonRect);
    const int w = kButtonRect.right - kButtonRect.left, h = kButtonRect.bottom - kButtonRect.top;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const RECT inside{2, 2, w - 2, h - 2};
    const CRect up = CaptureWindow(b, inside).InkBounds(face);
    ASSERT_FALSE(up.IsRectEmpty()) << "the caption is drawn";
    EXPECT_NEAR((up.left + up.right - 1) / 2.0, w / 2.0, 2.0) << "centred";
    // The corners and a point inside the edge, in each state: raised, pressed
    // (flat, no highlight), and the default button's black ring around either.
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF ring = GetSysColor(COLOR_WINDOWFRAME), dark = GetSysColor(COLOR_3DDKSHADOW);
    struct Look {
        DWORD style;
        BOOL pushed;
        COLORREF corners[4];  // (0, 0), (1, 1), (w-1, h-1), (w-2, h-2)
    };
    const Look looks[] = {
        {BS_PUSHBUTTON, FALSE, {hi, GetSysColor(COLOR_3DLIGHT), dark, sh}},
        {BS_PUSHBUTTON, TRUE, {sh, face, sh, face}},
        {BS_DEFPUSHBUTTON, FALSE, {ring, hi, ring, dark}},
        {BS_DEFPUSHBUTTON, TRUE, {ring, sh, ring, sh}},
    };
    for (const Look& l : looks) {
        SCOPED_TRACE(::testing::Message() << "style " << l.style << " pushed " << l.pushed);
        Send(b, BM_SETSTYLE, l.style);
        Send(b, BM_SETSTATE, l.pushed);
        desktop.RunUntilIdle();
        const POINT at[] = {{0, 0}, {1, 1}, {w - 1, h - 1}, {w - 2, h - 2}};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(WindowPixel(b, at[i]), l.corners[i]) << "corner " << i;
        EXPECT_EQ(WindowPixel(b, {w / 2, 3}), face);
        if (l.style == BS_PUSHBUTTON) {
            EXPECT_EQ(CaptureWindow(b, inside).InkBounds(face).left, up.left + (l.pushed ? 1 : 0)) << "the caption moves";
        }
    }
}

// The group box's etched frame: a shadow line with a highlight beside it on the
// left, the highlight alone along the bottom; its title is drawn.
TEST_F(ButtonTest, GroupBoxIsEtchedAndTitled) {
    HWND group = Make(u"Button", u"&Options", BS_GROUPBOX, RECT{12, 40, 250, 140});
    EXPECT_EQ(WindowPixel(group, {0, 60}), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(WindowPixel(group, {1, 60}), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(WindowPixel(group, {120, 99}), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_GT(CountDark(group, RECT{8, 0, 80, 14}), 10) << "the title";
    // The top line stops short of the title, leaving room before its first letter.
    int line = 0;
    while (line < 14 && WindowPixel(group, {200, line}) != GetSysColor(COLOR_BTNSHADOW)) ++line;
    int x = 0;
    while (x < 80 && WindowPixel(group, {x, line}) == GetSysColor(COLOR_BTNSHADOW)) ++x;
    int room = 0;
    while (room < 10 && WindowPixel(group, {x + room, line}) == GetSysColor(COLOR_BTNFACE)) ++room;
    EXPECT_GE(room, 2) << "from " << x << " on line " << line;
}

TEST_F(ButtonTest, CheckMarkShowsOnlyWhenChecked) {
    HWND b = Make(u"Button", u"Check me", BS_AUTOCHECKBOX, RECT{10, 10, 150, 30});
    // The 13-pixel box sits at the left, centred vertically; its well is inside a 2-pixel edge.
    const RECT well{2, 5, 11, 14};
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(WindowPixel(b, {6, 9}), GetSysColor(COLOR_WINDOW));
    for (WPARAM check : {BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED}) {
        Send(b, BM_SETCHECK, check);
        EXPECT_EQ(CaptureWindow(b, well).Count(ink) > 6, check == BST_CHECKED) << check;
    }
    EXPECT_GE(CaptureWindow(b, RECT{13, 0, 140, 20}).InkBounds(GetSysColor(COLOR_BTNFACE)).left, 13 + 2)
        << "the text keeps a gap after the box";
}

TEST_F(ButtonTest, IconButtonShowsItsImageAndGreysItWhenDisabled) {
    const COLORREF red = RGB(200, 0, 0);
    HICON first = SolidIcon(16, red);
    HICON second = SolidIcon(16, RGB(0, 0, 200));
    auto setImage = [](HWND b, WPARAM type, HICON icon) {
        return SendMessageW(b, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(icon));
    };
    HWND b = Make(u"Button", u"", BS_PUSHBUTTON | BS_ICON, RECT{10, 10, 50, 40});
    EXPECT_EQ(setImage(b, IMAGE_ICON, first), 0);
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(b, {20, 15}), red);
    EXPECT_EQ(CaptureWindow(b, RECT{0, 0, 40, 30}).Count(red), 16 * 16);
    EXPECT_EQ(Send(b, BM_GETIMAGE, IMAGE_ICON), reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(Send(b, BM_GETIMAGE, IMAGE_BITMAP), 0);
    EXPECT_EQ(setImage(b, IMAGE_ICON, second), reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(setImage(b, 99, first), 0) << "unknown image kind";
    setImage(b, IMAGE_ICON, first);
    EnableWindow(b, FALSE);
    desktop.RunUntilIdle();
    EXPECT_EQ(CaptureWindow(b, RECT{0, 0, 40, 30}).Count(red), 0) << "disabled: embossed, not in colour";
    DestroyWindow(b);
    DestroyIcon(first);
    DestroyIcon(second);
}

}  // namespace
}  // namespace tq3::test
