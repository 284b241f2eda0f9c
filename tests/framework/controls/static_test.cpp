// The "STATIC" class: text placement, wrapping and prefixes, icons, and clicks
// that pass through a label to its parent; with the "BUTTON" class, repainting
// when the text, the font or the enabled state changes.
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Msg;

class StaticTest : public ControlsTest {
protected:
    // Where a label of `style` inks `text` in a `width` x `height` control.
    CRect Ink(DWORD style, LPCWSTR text, int width = 300, int height = 20) {
        HWND s = Make(u"STATIC", text, style, RECT{10, 10, 10 + width, 10 + height});
        const CRect ink = CaptureWindow(s, RECT{0, 0, width, height}).InkBounds(face);
        DestroyWindow(s);
        desktop.RunUntilIdle();
        return ink;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
};

TEST_F(StaticTest, TextIsPlacedWrappedAndMarkedAsTheStyleSays) {
    const CRect left = Ink(SS_LEFT, u"Label text"), centre = Ink(SS_CENTER, u"Label text");
    const CRect right = Ink(SS_RIGHT, u"Label text");
    ASSERT_FALSE(left.IsRectEmpty());
    EXPECT_LE(left.left, 2);
    EXPECT_GE(right.right, 300 - 2);
    EXPECT_NEAR(centre.left, 300 - centre.right, 2);
    // A long text wraps unless the style keeps it on one line.
    const LPCWSTR words = u"one two three four five six seven eight nine ten";
    EXPECT_GT(Ink(SS_LEFT, words, 100, 100).Height(), 2 * Ink(SS_SIMPLE, words, 100, 100).Height());
    // Doubled ampersands draw one each with prefixes on: half as many glyphs.
    const CRect marked = Ink(SS_LEFT, u"&&&&&&");
    ASSERT_FALSE(marked.IsRectEmpty());
    EXPECT_GT(Ink(SS_LEFT | SS_NOPREFIX, u"&&&&&&").Width(), 2 * marked.Width() - 2);
    // A rectangle is filled in its colour, a frame only outlined in it.
    for (const auto& [kind, colour] :
         {std::pair{SS_BLACKRECT, COLOR_WINDOWFRAME}, std::pair{SS_WHITEFRAME, COLOR_BTNHIGHLIGHT}}) {
        HWND shape = Make(u"Static", nullptr, kind, RECT{10, 10, 50, 30});
        EXPECT_TRUE(CaptureWindow(shape, RECT{0, 0, 40, 1}).FilledWith(GetSysColor(colour)).ok) << kind;
        EXPECT_EQ(CaptureWindow(shape, RECT{2, 2, 38, 18}).FilledWith(GetSysColor(colour)).ok, kind == SS_BLACKRECT);
        DestroyWindow(shape);
    }
}

TEST_F(StaticTest, TextFontAndEnableChangesRepaint) {
    struct Case {
        LPCWSTR cls;
        DWORD style;
        RECT inside;    // where the text goes, inside any frame
        bool embossed;  // disabled text has a white shadow
    };
    for (const Case& c : {Case{u"Static", SS_LEFT, {0, 0, 200, 40}, false},
                          Case{u"Button", BS_PUSHBUTTON, {3, 3, 197, 37}, true}}) {
        SCOPED_TRACE(static_cast<const void*>(c.cls));
        HWND w = Make(c.cls, u"i", c.style, RECT{10, 10, 210, 50});
        const int narrow = CountDark(w, c.inside);
        ASSERT_GT(narrow, 0);
        SetWindowTextW(w, u"Much wider text");
        desktop.RunUntilIdle();
        const int wide = CountDark(w, c.inside);
        EXPECT_GT(wide, narrow);
        EXPECT_EQ(SendMessageW(w, WM_GETFONT, 0, 0), 0) << "no font set: the dialog font, reported as none";
        LOGFONTW lf = tq3::fw::DefaultGuiLogFont();
        lf.lfHeight = -24;
        HFONT big = CreateFontIndirectW(&lf);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
        desktop.RunUntilIdle();
        EXPECT_EQ(CountDark(w, c.inside), wide) << "no redraw asked";
        EXPECT_EQ(SendMessageW(w, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
        InvalidateRect(w, nullptr, TRUE);
        desktop.RunUntilIdle();
        EXPECT_GT(CountDark(w, c.inside), wide);
        // Disabled: no black ink but grey text; a button's is embossed, in the
        // shadow colour with white one pixel down-right.
        EnableWindow(w, FALSE);
        desktop.RunUntilIdle();
        EXPECT_EQ(CountDark(w, c.inside), 0);
        EXPECT_GT(CountBeyond(w, c.inside, 200), 10);
        EXPECT_EQ(CountBeyond(w, c.inside, 245, true) > 10, c.embossed);
        DestroyWindow(w);
        DeleteObject(big);
    }
}

TEST_F(StaticTest, IconStaticTakesItsIconsSize) {
    const COLORREF green = RGB(0, 160, 0);
    HICON icon = SolidIcon(32, green);
    HICON other = SolidIcon(32, RGB(0, 0, 160));
    HWND s = Make(u"Static", u"", SS_ICON, RECT{10, 10, 20, 20});
    EXPECT_EQ(SendMessageW(s, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0), 0);
    desktop.RunUntilIdle();
    RECT rc;
    GetClientRect(s, &rc);
    EXPECT_EQ(CRect(rc), CRect(0, 0, 32, 32));
    EXPECT_EQ(CaptureWindow(s, rc).Count(green), 32 * 32);
    EXPECT_EQ(SendMessageW(s, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(s, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(other)), 0) << "not an icon";
    EXPECT_EQ(SendMessageW(s, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(other)),
              reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(s, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(other));
    // A text static ignores icons; CStatic speaks the same messages.
    CStatic label;
    ASSERT_TRUE(label.Create(u"Text", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(50, 10, 150, 30),
                             CWnd::FromHandle(parent)));
    EXPECT_EQ(label.SetIcon(icon), nullptr);
    EXPECT_EQ(label.GetIcon(), nullptr);
    label.DestroyWindow();
    DestroyWindow(s);
    DestroyIcon(icon);
    DestroyIcon(other);
}

TEST_F(StaticTest, ClicksPassThroughALabelUnlessItNotifies) {
    HWND label = Make(u"Static", u"Label", SS_LEFT, RECT{10, 10, 110, 30}, 200);
    HWND notifying = Make(u"Static", u"Link", SS_LEFT | SS_NOTIFY, RECT{10, 40, 110, 60}, 201);
    tq3::testing::MessageSpy spy;
    spy.Watch(parent, "parent");
    spy.KeepOnly({WM_LBUTTONDOWN, WM_COMMAND});
    desktop.Click(label, POINT{5, 5});
    desktop.Click(notifying, POINT{5, 5});
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_LBUTTONDOWN).Point(15, 15), Command(STN_CLICKED, 201)})));
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

}  // namespace
}  // namespace tq3::test
