// The "EDIT" class: what the parent hears and in which order, the keyboard and
// the mouse as a user drives them, clipboard and undo, the caret and selection
// as they show, and text that is too long or broken.
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/controls/edit.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Desktop;
using tq3::testing::kControl;
using tq3::testing::kShift;
using tq3::testing::MessageSpy;

constexpr RECT kEditRect{10, 10, 210, 34};

class EditTest : public ControlsTest {
protected:
    HWND MakeEdit(DWORD style, LPCWSTR text = u"", RECT r = kEditRect) {
        return Make(WC_EDITW, text, style | WS_BORDER, r, 100);
    }
    static std::u16string Text(HWND edit) {
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    static std::pair<DWORD, DWORD> Sel(HWND edit) {
        DWORD s = 0;
        DWORD e = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        return {s, e};
    }
    static POINT PosOf(HWND edit, size_t index) {
        auto packed = static_cast<DWORD>(SendMessageW(edit, EM_POSFROMCHAR, index, 0));
        return POINT{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))};
    }
};

// ---- What the parent hears ---------------------------------------------------------

struct NotifyCase {
    const char* name;
    DWORD style;
    std::function<void(Desktop&, HWND)> act;
    std::vector<WORD> codes;
};

TEST_F(EditTest, NotificationsComeInThePlatformsOrder) {
    const std::vector<NotifyCase> cases = {
        {"typing: each character updates, then changes", 0, [](Desktop& d, HWND) { d.Type(u"ab"); },
         {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}},
        {"the limit cuts a paste and refuses typing", 0,
         [](Desktop& d, HWND e) {
             SendMessageW(e, EM_LIMITTEXT, 3, 0);
             d.SetClipboardText(u"abcd");
             d.KeyPress('V', kControl);
             d.Type(u"x");
         },
         {EN_MAXTEXT, EN_UPDATE, EN_CHANGE, EN_MAXTEXT}},
        {"set by the program: a single line reports a change", 0,
         [](Desktop&, HWND e) { SetWindowTextW(e, u"new"); }, {EN_UPDATE, EN_CHANGE}},
        {"read-only refuses typing and cutting", ES_READONLY,
         [](Desktop& d, HWND e) {
             SendMessageW(e, EM_SETSEL, 0, -1);
             d.Type(u"x");
             d.KeyPress('X', kControl);
             d.KeyPress(VK_BACK);
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(c.style);
        SetFocus(edit);
        desktop.RunUntilIdle();
        MessageSpy spy;
        WatchCommands(spy);
        c.act(desktop, edit);
        desktop.RunUntilIdle();
        EXPECT_EQ(Heard(spy), c.codes);
        DestroyWindow(edit);
    }
}

// ---- The keyboard ------------------------------------------------------------------

struct KeyCase {
    const char* name;
    DWORD style;
    std::u16string text;
    std::pair<int, int> selection;  // EM_SETSEL before the keys
    std::vector<Key> keys;
    std::u16string typed;           // typed after the keys
    std::u16string after;
    std::pair<DWORD, DWORD> selectionAfter;
};

TEST_F(EditTest, KeysMoveSelectAndDeleteAsTheUserExpects) {
    const std::u16string pair = u"\U00020B9F";  // one character, two code units
    const std::vector<KeyCase> cases = {
        {"a pair is one step", 0, u"a" + pair + u"b", {0, 0}, {{VK_RIGHT}, {VK_RIGHT}}, u"", u"a" + pair + u"b", {3, 3}},
        {"backspace takes the whole pair", 0, u"a" + pair, {3, 3}, {{VK_BACK}}, u"", u"a", {1, 1}},
        {"shift with home selects back", 0, u"abcd", {3, 3}, {{VK_HOME, kShift}}, u"", u"abcd", {0, 3}},
        {"ctrl steps words", 0, u"one two three", {0, 0}, {{VK_RIGHT, kControl}, {VK_RIGHT, kControl}}, u"",
         u"one two three", {8, 8}},
        {"ctrl backspace deletes a word", 0, u"one two", {7, 7}, {}, u"\x7F", u"one ", {4, 4}},
        {"typing replaces the selection", 0, u"abcd", {1, 3}, {}, u"X", u"aXd", {2, 2}},
        {"digits only", ES_NUMBER, u"", {0, 0}, {}, u"1a2", u"12", {2, 2}},
        {"multiline: enter breaks the line", ES_MULTILINE | ES_WANTRETURN, u"ab", {1, 1}, {{VK_RETURN}}, u"",
         u"a\r\nb", {3, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(c.style | ES_AUTOHSCROLL, c.text.c_str(), RECT{10, 10, 210, 80});
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.selection.first), c.selection.second);
        for (const Key& k : c.keys) desktop.KeyPress(k.vk, k.modifiers);
        for (WCHAR ch : c.typed) {
            if (ch < 0x20 || ch == 0x7F) {
                SendMessageW(edit, WM_CHAR, ch, 0);
            } else {
                desktop.Type(std::u16string(1, ch));
            }
        }
        EXPECT_EQ(Text(edit), c.after);
        EXPECT_EQ(Sel(edit), c.selectionAfter);
        DestroyWindow(edit);
    }
}

// ---- Clipboard and undo ------------------------------------------------------------

TEST_F(EditTest, ClipboardKeysAndOneStepUndo) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, u"hello world");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 5);
    desktop.KeyPress('C', kControl);
    EXPECT_EQ(desktop.ClipboardText(), u"hello");
    desktop.KeyPress('X', kControl);
    EXPECT_EQ(Text(edit), u" world");
    desktop.KeyPress(VK_END);
    desktop.KeyPress('V', kControl);
    EXPECT_EQ(Text(edit), u" worldhello");

    // Undo takes the paste back and selects what it restored; a second undo redoes.
    desktop.KeyPress('Z', kControl);
    EXPECT_EQ(Text(edit), u" world");
    EXPECT_EQ(SendMessageW(edit, WM_UNDO, 0, 0), TRUE);
    EXPECT_EQ(Text(edit), u" worldhello");
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{6, 11}));

    // Every clipboard key reaches the box as its message, so a subclass that
    // handles WM_PASTE sees Shift+Insert as well as Ctrl+V.
    MessageSpy spy;
    spy.Watch(edit, "edit");
    spy.KeepOnly({WM_COPY, WM_CUT, WM_PASTE});
    SetFocus(edit);
    desktop.KeyPress('C', kControl);
    desktop.KeyPress('X', kControl);
    desktop.KeyPress('V', kControl);
    desktop.KeyPress(VK_INSERT, kShift);
    desktop.KeyPress(VK_INSERT, kControl);
    desktop.KeyPress(VK_DELETE, kShift);
    std::vector<UINT> heard;
    for (const auto& r : spy.Log()) heard.push_back(r.message);
    EXPECT_EQ(heard, (std::vector<UINT>{WM_COPY, WM_CUT, WM_PASTE, WM_PASTE, WM_COPY, WM_CUT}));
}

// ---- The mouse -------------------------------------------------------------------

TEST_F(EditTest, MouseSelectsByCharacterAndWordAndScrollsWhileDragging) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, u"alpha beta gamma");
    const POINT b = PosOf(edit, 6);
    const POINT g = PosOf(edit, 11);
    desktop.Click(edit, {b.x + 1, b.y + 4});
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{6, 6}));
    desktop.AdvanceClock(GetDoubleClickTime() + 1);  // not a double click with the click before
    desktop.DoubleClick(edit, {g.x + 3, g.y + 4});
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{11, 16}));

    // A drag past the right edge of a long line keeps selecting as time passes.
    SetWindowTextW(edit, std::u16string(200, u'm').c_str());
    desktop.MouseDown(edit, {PosOf(edit, 2).x, 8});
    EXPECT_EQ(GetCapture(), edit);
    desktop.MouseMove(edit, {260, 8});
    const DWORD reached = Sel(edit).second;
    desktop.AdvanceClock(1000);
    EXPECT_GT(Sel(edit).second, reached + 5);
    EXPECT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the text scrolled";
    desktop.MouseUp(edit, {260, 8});
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Sel(edit).first, 2u);

    // The focus leaving in the middle of such a drag ends it: the mouse goes free
    // and the scrolling timer stops.
    desktop.MouseDown(edit, {20, 8});
    desktop.MouseMove(edit, {260, 8});
    ASSERT_EQ(GetCapture(), edit);
    MessageSpy spy;
    spy.Watch(edit, "edit");
    spy.KeepOnly({WM_TIMER});
    SetFocus(parent);
    EXPECT_EQ(GetCapture(), nullptr);
    desktop.AdvanceClock(1000);
    EXPECT_TRUE(spy.Log().empty()) << "no scrolling tick after the drag ended";
    desktop.MouseUp(edit, {260, 8});
}

TEST_F(EditTest, TheLimitNeverCutsInsideALineBreak) {
    struct LimitCase {
        const char* name;
        DWORD style;
        UINT limit;
        std::u16string pasted;  // pasted at the end of "ab"; empty: Enter pressed
        std::u16string after;
    };
    const LimitCase cases[] = {
        {"a line break with room for its CR", ES_MULTILINE | ES_WANTRETURN, 3, u"", u"ab"},
        {"a pasted line break with room for its CR", ES_MULTILINE, 4, u"c\r\nd", u"abc"},
        {"a pasted line break that fits", ES_MULTILINE, 5, u"c\r\nd", u"abc\r\n"},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(c.style | ES_AUTOHSCROLL, u"ab", RECT{10, 10, 210, 80});
        SendMessageW(edit, EM_LIMITTEXT, c.limit, 0);
        SetFocus(edit);
        desktop.KeyPress(VK_END, kControl);
        if (c.pasted.empty()) {
            desktop.KeyPress(VK_RETURN);
        } else {
            desktop.SetClipboardText(c.pasted);
            desktop.KeyPress('V', kControl);
        }
        EXPECT_EQ(Text(edit), c.after);
        DestroyWindow(edit);
    }
}

// ---- Pixels ------------------------------------------------------------------------

// The caret column: where the caret's inversion shows inside the box's line.
int CaretColumn(HWND) {
    POINT caret{};
    GetCaretPos(&caret);
    return caret.x;
}

TEST_F(EditTest, CaretFollowsWideAndPairedCharactersAndTheSelectionShows) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_NOHIDESEL);
    SetFocus(edit);
    desktop.Type(u"漢字");
    const int afterCjk = CaretColumn(edit);
    desktop.TypeChar(0xD842);  // U+20B9F as an input method delivers it: two halves
    desktop.TypeChar(0xDF9F);
    const int afterPair = CaretColumn(edit);
    EXPECT_EQ(Text(edit), u"漢字\U00020B9F");

    // The caret stands just right of the ink of the text before it, and CJK
    // characters are real glyphs, wide and not empty boxes.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    HideCaret(edit);
    desktop.RunUntilIdle();
    RECT ink = CaptureWindow(edit, RECT{0, 0, afterCjk, 24}).InkBounds(window);
    EXPECT_GE(ink.right, afterCjk - 3);
    EXPECT_GT(afterCjk - PosOf(edit, 0).x, 20) << "two wide glyphs";
    EXPECT_GT(afterPair - afterCjk, 8) << "the pair is one wide glyph";
    EXPECT_GT(CountDark(edit, RECT{PosOf(edit, 0).x, 0, PosOf(edit, 1).x, 24}), 25);

    // The selection: highlight between its ends, none beside; kept without the
    // focus with ES_NOHIDESEL.
    SetWindowTextW(edit, u"abcdef");
    SendMessageW(edit, EM_SETSEL, 2, 4);
    desktop.RunUntilIdle();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const RECT inside{PosOf(edit, 2).x + 1, 2, PosOf(edit, 4).x - 1, 14};
    const RECT before{0, 2, PosOf(edit, 2).x - 1, 14};
    EXPECT_GT(CaptureWindow(edit, inside).Count(highlight), (inside.right - inside.left) * 6);
    EXPECT_EQ(CaptureWindow(edit, before).Count(highlight), 0);
    SetFocus(parent);
    desktop.RunUntilIdle();
    EXPECT_GT(CaptureWindow(edit, inside).Count(highlight), 0);
}

// ---- Bad input ---------------------------------------------------------------------

TEST_F(EditTest, HugeBrokenAndNulTextIsKeptAsGiven) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(edit);
    // A million characters: set whole (the limit is the user's), shown, typed after.
    std::u16string huge(1000000, u'x');
    EXPECT_TRUE(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(huge.c_str())));
    EXPECT_EQ(GetWindowTextLengthW(edit), 1000000);
    desktop.KeyPress(VK_END);
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    desktop.Type(u"y");
    EXPECT_EQ(GetWindowTextLengthW(edit), 1000001);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{1000001, 1000001}));
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), -1) << "positions past 65535 do not fit the packed answer";
    EXPECT_GT(CountDark(edit, RECT{0, 0, 200, 24}), 20) << "the end of the text shows";

    // The text ends at a NUL; lone surrogates are kept and are one step each.
    SetWindowTextW(edit, u"ab\0cd");
    EXPECT_EQ(Text(edit), u"ab");
    const std::u16string lone = u"a\xD800z\xDC00";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lone.c_str()));
    EXPECT_EQ(Text(edit), lone);
    SendMessageW(edit, EM_SETSEL, 1, 1);
    desktop.KeyPress(VK_RIGHT);
    EXPECT_EQ(Sel(edit).first, 2u);
    desktop.KeyPress(VK_END);
    desktop.KeyPress(VK_BACK);
    EXPECT_EQ(Text(edit), u"a\xD800z");
}

}  // namespace
}  // namespace tq3::test
