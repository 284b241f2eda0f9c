// The "BUTTON" class: what the parent hears for clicks, drags, keys and focus;
// check boxes; owner drawing; and the classic look, checked pixel by pixel.
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;
using tq3::testing::Msg;

constexpr RECT kButtonRect{10, 10, 110, 36};

class ButtonTest : public ControlsTest {};

// ---- What the parent hears ------------------------------------------------------

struct ClickCase {
    const char* name;
    DWORD style;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> notifications;  // BN_* codes in order
    WPARAM check;                     // BM_GETCHECK afterwards
};

TEST_F(ButtonTest, PressesReachTheParentOnlyWhenCompletedOnTheButton) {
    const POINT in{20, 10};
    const POINT out{-30, 10};
    const std::vector<ClickCase> cases = {
        {"click", BS_PUSHBUTTON, [&](Desktop& d, HWND b) { d.Click(b, in); }, {BN_CLICKED}, BST_UNCHECKED},
        {"drag off before release", BS_PUSHBUTTON,
         [&](Desktop& d, HWND b) {
             d.MouseDown(b, in);
             d.MouseMove(b, out);
             d.MouseUp(b, out);
         },
         {}, BST_UNCHECKED},
        {"drag off and back", BS_PUSHBUTTON,
         [&](Desktop& d, HWND b) {
             d.MouseDown(b, in);
             d.MouseMove(b, out);
             d.MouseMove(b, in);
             d.MouseUp(b, in);
         },
         {BN_CLICKED}, BST_UNCHECKED},
        {"disabled", BS_PUSHBUTTON,
         [&](Desktop& d, HWND b) {
             EnableWindow(b, FALSE);
             d.Click(b, in);
             SendMessageW(b, BM_CLICK, 0, 0);
         },
         {}, BST_UNCHECKED},
        {"space bar", BS_DEFPUSHBUTTON,
         [&](Desktop& d, HWND b) {
             SetFocus(b);
             d.KeyPress(VK_SPACE);
         },
         {BN_CLICKED}, BST_UNCHECKED},
        {"other keys", BS_PUSHBUTTON,
         [&](Desktop& d, HWND b) {
             SetFocus(b);
             d.KeyPress(VK_RETURN);
             d.KeyPress('A');
         },
         {}, BST_UNCHECKED},
        {"space then focus lost", BS_PUSHBUTTON,
         [&](Desktop& d, HWND b) {
             SetFocus(b);
             d.KeyDown(VK_SPACE);
             SetFocus(GetParent(b));
             d.KeyUp(VK_SPACE);
         },
         {}, BST_UNCHECKED},
        {"BM_CLICK", BS_PUSHBUTTON, [&](Desktop&, HWND b) { SendMessageW(b, BM_CLICK, 0, 0); }, {BN_CLICKED},
         BST_UNCHECKED},
        {"auto check box: click and space", BS_AUTOCHECKBOX,
         [&](Desktop& d, HWND b) {
             d.Click(b, in);
             EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
             d.KeyPress(VK_SPACE);  // the click gave it the focus
             EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
             d.Click(b, in);
         },
         {BN_CLICKED, BN_CLICKED, BN_CLICKED}, BST_CHECKED},
        {"auto check box dragged off", BS_AUTOCHECKBOX,
         [&](Desktop& d, HWND b) {
             d.MouseDown(b, in);
             d.MouseMove(b, out);
             d.MouseUp(b, out);
         },
         {}, BST_UNCHECKED},
        {"plain check box leaves the check to the parent", BS_CHECKBOX,
         [&](Desktop& d, HWND b) { d.Click(b, in); }, {BN_CLICKED}, BST_UNCHECKED},
        {"auto three-state cycles", BS_AUTO3STATE,
         [&](Desktop& d, HWND b) {
             d.Click(b, in);
             d.Click(b, in);
         },
         {BN_CLICKED, BN_CLICKED}, BST_INDETERMINATE},
        {"group box is not a button", BS_GROUPBOX, [&](Desktop& d, HWND b) { d.Click(b, in); }, {}, BST_UNCHECKED},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND b = Make(u"BUTTON", u"Press", c.style, kButtonRect);
        ASSERT_NE(b, nullptr);
        tq3::testing::MessageSpy spy;
        spy.Watch(parent, "parent");
        spy.KeepOnly({WM_COMMAND});
        c.act(desktop, b);
        std::vector<tq3::testing::Expect> expected;
        for (WORD code : c.notifications) expected.push_back(Command(code).LParam(reinterpret_cast<LPARAM>(b)));
        EXPECT_TRUE(Same(spy.Compare(expected)));
        EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(c.check));
        EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "released at the end";
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, NotifyStyleAddsFocusAndDoubleClickNotifications) {
    HWND a = Make(u"Button", u"A", BS_PUSHBUTTON | BS_NOTIFY, RECT{10, 10, 80, 34}, 100);
    HWND b = Make(u"Button", u"B", BS_PUSHBUTTON | BS_NOTIFY, RECT{90, 10, 160, 34}, 101);
    HWND plain = Make(u"Button", u"C", BS_PUSHBUTTON, RECT{170, 10, 240, 34}, 102);
    tq3::testing::MessageSpy spy;
    spy.Watch(parent, "parent");
    spy.KeepOnly({WM_COMMAND});
    SetFocus(a);
    SetFocus(b);
    SetFocus(plain);  // a plain button says nothing about its focus
    SetFocus(a);
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
    struct Case {
        DWORD style;
        LRESULT code;
    };
    for (const Case& c : {Case{BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
                          Case{BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
                          Case{BS_AUTOCHECKBOX, DLGC_BUTTON}, Case{BS_CHECKBOX, DLGC_BUTTON},
                          Case{BS_OWNERDRAW, DLGC_BUTTON}, Case{BS_GROUPBOX, DLGC_STATIC}}) {
        HWND b = Make(u"Button", u"x", c.style, kButtonRect);
        EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), c.code) << "style " << c.style;
        DestroyWindow(b);
    }
    HWND b = Make(u"Button", u"x", BS_PUSHBUTTON, kButtonRect);
    EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), 0);
    desktop.MouseDown(b, POINT{5, 5});
    EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
    EXPECT_EQ(GetCapture(), b);
    desktop.MouseMove(b, POINT{500, 5});
    EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_FOCUS)) << "dragged off: released look";
    desktop.MouseUp(b, POINT{500, 5});
    // BM_SETSTYLE moves the default ring; BM_SETCHECK means nothing to a push button.
    SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), 0);
    // A two-state check box takes "indeterminate" as checked.
    HWND check = Make(u"Button", u"x", BS_CHECKBOX, RECT{10, 50, 110, 70}, 101);
    SendMessageW(check, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
}

// ---- Owner drawing ------------------------------------------------------------------

TEST_F(ButtonTest, OwnerDrawnButtonIsDrawnByTheParentWithEachState) {
    HWND b = Make(u"Button", u"Owner", BS_OWNERDRAW, kButtonRect, 7);
    ASSERT_FALSE(drawn().empty());
    const DRAWITEMSTRUCT first = drawn().back();
    EXPECT_EQ(first.CtlType, ODT_BUTTON);
    EXPECT_EQ(first.CtlID, 7u);
    EXPECT_EQ(first.hwndItem, b);
    EXPECT_EQ(first.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(first.itemState, 0u);
    EXPECT_EQ(first.rcItem.right - first.rcItem.left, kButtonRect.right - kButtonRect.left);
    EXPECT_NE(first.hDC, nullptr);

    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::pair<UINT, UINT>> items;  // action, state
    };
    const std::vector<Step> steps = {
        {"press", [&] { desktop.MouseDown(b, POINT{5, 5}); },
         {{ODA_FOCUS, ODS_FOCUS}, {ODA_SELECT, ODS_FOCUS | ODS_SELECTED}}},
        {"drag off", [&] { desktop.MouseMove(b, POINT{-40, 5}); }, {{ODA_SELECT, ODS_FOCUS}}},
        {"drag back", [&] { desktop.MouseMove(b, POINT{5, 5}); }, {{ODA_SELECT, ODS_FOCUS | ODS_SELECTED}}},
        {"release", [&] { desktop.MouseUp(b, POINT{5, 5}); }, {{ODA_SELECT, ODS_FOCUS}}},
        {"space held", [&] { desktop.KeyDown(VK_SPACE); }, {{ODA_SELECT, ODS_FOCUS | ODS_SELECTED}}},
        {"space let go", [&] { desktop.KeyUp(VK_SPACE); }, {{ODA_SELECT, ODS_FOCUS}}},
        {"focus gone", [&] { SetFocus(parent); }, {{ODA_FOCUS, 0}}},
        {"disabled", [&] {
             EnableWindow(b, FALSE);
             desktop.RunUntilIdle();
         },
         {{ODA_DRAWENTIRE, ODS_DISABLED}}},
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
    ASSERT_FALSE(button.states.empty());
    EXPECT_EQ(WindowPixel(button, {3, 3}), GetSysColor(COLOR_HIGHLIGHT));
    button.states.clear();
    desktop.MouseDown(button, POINT{5, 5});
    ASSERT_FALSE(button.states.empty());
    EXPECT_EQ(button.states.back(), ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(button.GetState() & BST_PUSHED, static_cast<UINT>(BST_PUSHED));
    desktop.MouseUp(button, POINT{5, 5});
    EXPECT_EQ(button.states.back(), static_cast<UINT>(ODS_FOCUS));
    // The wrappers speak the messages.
    button.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, BS_PUSHBUTTON);
    HICON icon = SolidIcon(16, RGB(200, 0, 0));
    EXPECT_EQ(button.SetIcon(icon), nullptr);
    EXPECT_EQ(button.GetIcon(), icon);
    button.DestroyWindow();
    frame.DestroyWindow();
    DestroyIcon(icon);
}

// ---- The classic look ---------------------------------------------------------------

TEST_F(ButtonTest, PushButtonLooksRaisedAndPressedFlatWithTheCaptionMoved) {
    HWND b = Make(u"Button", u"OK", BS_PUSHBUTTON, kButtonRect);
    const int w = kButtonRect.right - kButtonRect.left, h = kButtonRect.bottom - kButtonRect.top;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(WindowPixel(b, {0, 0}), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(WindowPixel(b, {w - 1, h - 1}), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(WindowPixel(b, {w - 2, h - 2}), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(WindowPixel(b, {w / 2, 3}), face);
    const RECT inside{2, 2, w - 2, h - 2};
    const CRect up = CaptureWindow(b, inside).InkBounds(face);
    ASSERT_FALSE(up.IsRectEmpty()) << "the caption is drawn";
    EXPECT_NEAR((up.left + up.right - 1) / 2.0, w / 2.0, 2.0) << "centred";

    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(WindowPixel(b, {0, 0}), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(WindowPixel(b, {w - 1, h - 1}), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(WindowPixel(b, {1, 1}), face) << "flat, no highlight";
    EXPECT_EQ(CaptureWindow(b, inside).InkBounds(face).left, up.left + 1) << "the caption moved";

    // The default button wears a black ring in both states, the edges inside it.
    SendMessageW(b, BM_SETSTATE, FALSE, 0);
    SendMessageW(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(b, {0, 0}), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(WindowPixel(b, {w - 1, h - 1}), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(WindowPixel(b, {1, 1}), GetSysColor(COLOR_BTNHIGHLIGHT));
    SendMessageW(b, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(WindowPixel(b, {0, 0}), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(WindowPixel(b, {1, 1}), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ButtonTest, CheckMarkShowsOnlyWhenChecked) {
    HWND b = Make(u"Button", u"Check me", BS_AUTOCHECKBOX, RECT{10, 10, 150, 30});
    // The 13-pixel box sits at the left, centred vertically; its well is inside a 2-pixel edge.
    const RECT well{2, 5, 11, 14};
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(CaptureWindow(b, well).Count(ink), 0);
    EXPECT_EQ(WindowPixel(b, {6, 9}), GetSysColor(COLOR_WINDOW));
    SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_GT(CaptureWindow(b, well).Count(ink), 6);
    EXPECT_GE(CaptureWindow(b, RECT{13, 0, 140, 20}).InkBounds(GetSysColor(COLOR_BTNFACE)).left, 13 + 2)
        << "the text keeps a gap after the box";
    SendMessageW(b, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(CaptureWindow(b, well).Count(ink), 0);
}

TEST_F(ButtonTest, IconButtonShowsItsImageAndGreysItWhenDisabled) {
    const COLORREF red = RGB(200, 0, 0);
    HICON first = SolidIcon(16, red);
    HICON second = SolidIcon(16, RGB(0, 0, 200));
    HWND b = Make(u"Button", u"", BS_PUSHBUTTON | BS_ICON, RECT{10, 10, 50, 40});
    EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(b, {20, 15}), red);
    EXPECT_EQ(CaptureWindow(b, RECT{0, 0, 40, 30}).Count(red), 16 * 16);
    EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, 99, reinterpret_cast<LPARAM>(first)), 0) << "unknown image kind";
    SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first));
    EnableWindow(b, FALSE);
    desktop.RunUntilIdle();
    EXPECT_EQ(CaptureWindow(b, RECT{0, 0, 40, 30}).Count(red), 0) << "disabled: embossed, not in colour";
    DestroyWindow(b);
    DestroyIcon(first);
    DestroyIcon(second);
}

}  // namespace
}  // namespace tq3::test
