// The "EDIT" class: what the parent hears and in which order, the keyboard and
// the mouse as a user drives them, clipboard and undo, the caret and selection
// as they show, and text that is too long, broken or refused memory.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/controls/edit.h"
#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/failing_allocator.h"

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
    static std::u16string Text(HWND edit) { return WindowText(edit); }
    static std::u16string WindowText(HWND hwnd) {
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
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
        {"focus in and out", 0,
         [](Desktop& d, HWND e) {
             SetFocus(GetParent(e));
             d.Click(e, {5, 5});
         },
         {EN_KILLFOCUS, EN_SETFOCUS}},
        {"typing: each character updates, then changes", 0, [](Desktop& d, HWND) { d.Type(u"ab"); },
         {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}},
        {"moving and selecting say nothing", 0,
         [](Desktop& d, HWND e) {
             d.Type(u"ab");
             Keys({{VK_LEFT, kShift}, {VK_HOME}})(d, e);
         },
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
        {"set by the program: a multiline box only updates", ES_MULTILINE,
         [](Desktop&, HWND e) { SetWindowTextW(e, u"new"); }, {EN_UPDATE}},
        {"without scrolling, a full box takes no more", 0,
         [](Desktop& d, HWND e) {
             SetWindowTextW(e, std::u16string(60, u'w').c_str());
             SendMessageW(e, EM_SETSEL, 60, 60);
             d.Type(u"w");
         },
         {EN_UPDATE, EN_CHANGE, EN_MAXTEXT}},
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

    // Typing towards the right edge: no scrolling until the caret would leave the
    // view, then EN_HSCROLL before the change is shown, and a third of the view
    // of room so that the next characters do not scroll again.
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(edit);
    MessageSpy spy;
    WatchCommands(spy);
    auto scrolled = [&] {
        const auto codes = Heard(spy);
        return std::find(codes.begin(), codes.end(), EN_HSCROLL) != codes.end();
    };
    int typed = 0;
    int caretBefore = 0;  // where the caret stood before the character that scrolled
    while (typed < 100 && !scrolled()) {
        caretBefore = PosOf(edit, static_cast<size_t>(typed)).x;
        desktop.Type(u"w");
        ++typed;
    }
    const std::vector<WORD> codes = Heard(spy);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(std::vector<WORD>(codes.end() - 3, codes.end()), (std::vector<WORD>{EN_HSCROLL, EN_UPDATE, EN_CHANGE}));
    EXPECT_GT(caretBefore, kEditRect.right - kEditRect.left - 30) << "scrolled only at the edge";
    spy.Clear();
    desktop.Type(u"www");
    EXPECT_EQ(Heard(spy), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
}

std::vector<WORD>& heard() {
    static std::vector<WORD> codes;
    return codes;
}

TEST_F(EditTest, AParentThatDestroysTheBoxOnUpdateHearsNoMore) {
    HWND edit = MakeEdit(0);
    SetFocus(edit);
    heard().clear();
    auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_COMMAND) heard().push_back(HIWORD(wParam));
        if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) DestroyWindow(reinterpret_cast<HWND>(lParam));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    auto old = SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+proc));
    desktop.Type(u"a");
    SetWindowLongPtrW(parent, GWLP_WNDPROC, old);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(std::count(heard().begin(), heard().end(), EN_UPDATE), 1);
    EXPECT_EQ(std::count(heard().begin(), heard().end(), EN_CHANGE), 0);
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
        {"a pair is one step back", 0, u"a" + pair, {3, 3}, {{VK_LEFT}}, u"", u"a" + pair, {1, 1}},
        {"backspace takes the whole pair", 0, u"a" + pair, {3, 3}, {{VK_BACK}}, u"", u"a", {1, 1}},
        {"delete takes the whole pair", 0, pair + u"b", {0, 0}, {{VK_DELETE}}, u"", u"b", {0, 0}},
        {"shift with home selects back", 0, u"abcd", {3, 3}, {{VK_HOME, kShift}}, u"", u"abcd", {0, 3}},
        {"left drops a selection at its start", 0, u"abcd", {1, 3}, {{VK_LEFT}}, u"", u"abcd", {1, 1}},
        {"ctrl steps words", 0, u"one two three", {0, 0}, {{VK_RIGHT, kControl}, {VK_RIGHT, kControl}}, u"",
         u"one two three", {8, 8}},
        {"ctrl back over a space and the word before it", 0, u"one two three", {8, 8}, {{VK_LEFT, kControl}}, u"",
         u"one two three", {4, 4}},
        {"ctrl backspace deletes a word", 0, u"one two", {7, 7}, {}, u"\x7F", u"one ", {4, 4}},
        {"typing replaces the selection", 0, u"abcd", {1, 3}, {}, u"X", u"aXd", {2, 2}},
        {"ctrl a then typing", 0, u"abcd", {2, 2}, {{'A', kControl}}, u"z", u"z", {1, 1}},
        {"digits only", ES_NUMBER, u"", {0, 0}, {}, u"1a2", u"12", {2, 2}},
        {"upper case", ES_UPPERCASE, u"", {0, 0}, {}, u"aB", u"AB", {2, 2}},
        {"lower case", ES_LOWERCASE, u"", {0, 0}, {}, u"aB", u"ab", {2, 2}},
        {"read-only: moves but does not change", ES_READONLY, u"ab", {0, 0}, {{VK_END}, {VK_BACK}}, u"x", u"ab",
         {2, 2}},
        {"single line ignores enter", 0, u"ab", {2, 2}, {{VK_RETURN}}, u"", u"ab", {2, 2}},
        {"multiline: enter breaks the line", ES_MULTILINE | ES_WANTRETURN, u"ab", {1, 1}, {{VK_RETURN}}, u"",
         u"a\r\nb", {3, 3}},
        {"multiline: a line break is one step", ES_MULTILINE, u"a\r\nb", {1, 1}, {{VK_RIGHT}}, u"", u"a\r\nb",
         {3, 3}},
        {"multiline: up and down keep the column", ES_MULTILINE, u"abcd\r\nx\r\nabcd", {3, 3},
         {{VK_DOWN}, {VK_DOWN}}, u"", u"abcd\r\nx\r\nabcd", {12, 12}},
        {"multiline: home and end stay on the line", ES_MULTILINE, u"ab\r\ncd", {5, 5}, {{VK_HOME, kShift}}, u"",
         u"ab\r\ncd", {4, 5}},
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

    // Characters typed in a row are one step; the program can empty the buffer.
    desktop.KeyPress(VK_END);
    desktop.Type(u"abc");
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), u" worldhello");
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageW(edit, EM_UNDO, 0, 0));

    // A single line takes the first line of a pasted block; the modified flag
    // follows the user's changes, not the program's.
    SetWindowTextW(edit, u"");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    desktop.SetClipboardText(u"first\r\nsecond");
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(edit), u"first");
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));

    // A password box shows stars and never hands its text out.
    HWND secret = MakeEdit(ES_PASSWORD, u"secret", RECT{10, 50, 210, 74});
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), u'*');
    SendMessageW(secret, EM_SETSEL, 0, -1);
    SendMessageW(secret, WM_COPY, 0, 0);
    SendMessageW(secret, WM_CUT, 0, 0);
    EXPECT_EQ(desktop.ClipboardText(), u"first\r\nsecond");
    EXPECT_EQ(Text(secret), u"secret");

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
    desktop.Click(edit, {g.x + 1, g.y + 4}, tq3::testing::Button::Left, kShift);
    EXPECT_EQ(Sel(edit), (std::pair<DWORD, DWORD>{6, 11}));
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

// ---- The wrapper ------------------------------------------------------------------

TEST_F(EditTest, CEditAnswersLineAndSelectionQueries) {
    CEdit notes;
    ASSERT_TRUE(notes.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN,
                             RECT{10, 10, 210, 60}, CWnd::FromHandle(parent), 7));
    notes.SetWindowText(u"first\r\n\r\nthird line");
    EXPECT_EQ(notes.GetLineCount(), 3);
    EXPECT_EQ(notes.LineIndex(2), 9);
    EXPECT_EQ(notes.LineIndex(3), -1);
    EXPECT_EQ(notes.LineLength(9), 10);
    EXPECT_EQ(notes.LineFromChar(8), 1);
    WCHAR line[8] = {};
    EXPECT_EQ(notes.GetLine(2, line, 5), 5);
    EXPECT_EQ(std::u16string(line, 5), u"third");
    EXPECT_EQ(notes.GetLine(1, line, 8), 0);

    notes.SetSel(0, 5);
    notes.ReplaceSel(u"1st", TRUE);
    EXPECT_TRUE(notes.CanUndo());
    int s = 0;
    int e = 0;
    notes.GetSel(s, e);
    EXPECT_EQ(std::make_pair(s, e), std::make_pair(3, 3));
    EXPECT_TRUE(notes.Undo());
    EXPECT_EQ(notes.LineLength(0), 5);
    notes.SetMargins(6, 2);
    EXPECT_EQ(notes.PosFromChar(0).x, 6);
    EXPECT_EQ(notes.CharFromPos(notes.PosFromChar(12)), MAKELONG(12, 2));

    // Lines beyond the view move the scroll bar's thumb as the caret goes down,
    // and the caret's line shows whole at the bottom of the view.
    notes.SetSel(-1, -1);
    SetFocus(notes);
    for (int i = 0; i < 6; ++i) desktop.KeyPress(VK_RETURN);
    EXPECT_GT(notes.GetFirstVisibleLine(), 0);
    EXPECT_EQ(GetScrollPos(notes, SB_VERT), notes.GetFirstVisibleLine());
    const int pitch = notes.PosFromChar(notes.LineIndex(1)).y - notes.PosFromChar(0).y;
    CRect view;
    notes.GetClientRect(&view);
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_LE(caret.y + pitch, view.bottom);
    // A long line below a short one scrolls sideways as far as its own end.
    notes.SetWindowText((u"short\r\n" + std::u16string(60, u'W')).c_str());
    desktop.KeyPress(VK_END, kControl);
    EXPECT_LT(notes.PosFromChar(66).x, view.right);
    notes.DestroyWindow();
}

// ---- Pixels ------------------------------------------------------------------------

// The caret column: where the caret's inversion shows inside the box's line.
int CaretColumn(HWND) {
    POINT caret{};
    GetCaretPos(&caret);
    return caret.x;
}

TEST_F(EditTest, MarginsKeepTheTextOffTheBordersAndTheLimitIsReported) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, u"WWW");
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(30, 40));
    EXPECT_EQ(SendMessageW(edit, EM_GETMARGINS, 0, 0), MAKELONG(30, 40));
    RECT client{};
    GetClientRect(edit, &client);
    RECT format{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.left, 30);
    EXPECT_EQ(format.right, client.right - 40);
    EXPECT_EQ(PosOf(edit, 0).x, 30);
    desktop.RunUntilIdle();
    EXPECT_EQ(CountDark(edit, RECT{0, 0, 30, client.bottom}), 0) << "nothing in the left margin";
    EXPECT_GT(CountDark(edit, RECT{30, 0, client.right - 40, client.bottom}), 20) << "the text beside it";
    // A text longer than the box scrolls so that its end stops at the right margin.
    SetWindowTextW(edit, std::u16string(60, u'W').c_str());
    SetFocus(edit);
    desktop.KeyPress(VK_END);
    EXPECT_EQ(CountDark(edit, RECT{client.right - 40, 0, client.right, client.bottom}), 0) << "nothing in the right margin";
    EXPECT_LE(PosOf(edit, 59).x, client.right - 40);

    // EC_USEFONTINFO: a third of the font's average character width on each side.
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(EC_USEFONTINFO, 0));
    EXPECT_EQ(SendMessageW(edit, EM_GETMARGINS, 0, 0), MAKELONG(metrics.tmAveCharWidth / 3, 40));

    // The limit: the platform's 30,000 at first, what EM_LIMITTEXT sets, and the
    // largest when it is lifted.
    HWND fresh = MakeEdit(0);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(fresh, EM_LIMITTEXT, 5, 0);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 5);
    SendMessageW(fresh, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, TheLimitCutsBetweenCharactersAndLineBreaksNeverInsideThem) {
    const std::u16string pair = u"\U00020B9F";
    struct LimitCase {
        const char* name;
        DWORD style;
        UINT limit;
        std::u16string pasted;  // pasted at the end of "ab"; empty: Enter pressed
        std::u16string after;
    };
    const LimitCase cases[] = {
        {"a pair with room for half of it", 0, 3, pair, u"ab"},
        {"what fits before a pair", 0, 4, u"x" + pair, u"abx"},
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

TEST_F(EditTest, AlignmentReadOnlyAndTheModifiedFlagFollowTheirStylesAndMessages) {
    // Where a short text stands: which quarters of the box hold ink.
    struct AlignCase {
        DWORD style;
        bool left, middle, right;
    };
    for (const AlignCase& c : {AlignCase{ES_LEFT, true, false, false}, AlignCase{ES_CENTER, false, true, false},
                               AlignCase{ES_RIGHT, false, false, true}}) {
        SCOPED_TRACE(c.style);
        HWND edit = MakeEdit(c.style, u"WW");
        RECT client{};
        GetClientRect(edit, &client);
        const int q = client.right / 4;
        EXPECT_EQ(CountDark(edit, RECT{0, 0, q, client.bottom}) > 0, c.left);
        EXPECT_EQ(CountDark(edit, RECT{q + q / 2, 0, 2 * q + q / 2, client.bottom}) > 0, c.middle);
        EXPECT_EQ(CountDark(edit, RECT{3 * q, 0, client.right, client.bottom}) > 0, c.right);
        DestroyWindow(edit);
    }

    HWND edit = MakeEdit(ES_AUTOHSCROLL, u"note");
    SetFocus(edit);
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0)) << "text set by the program is no change of the user's";
    EXPECT_TRUE(SendMessageW(edit, EM_SETREADONLY, TRUE, 0));
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY, 0);
    desktop.KeyPress(VK_END);
    desktop.Type(u"s");
    EXPECT_EQ(Text(edit), u"note");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    RECT client{};
    GetClientRect(edit, &client);
    const RECT blank{client.right - 20, 2, client.right - 4, client.bottom - 2};
    EXPECT_TRUE(CaptureWindow(edit, blank).FilledWith(GetSysColor(COLOR_3DFACE)).ok) << "read-only shows grey";
    SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    desktop.Type(u"s");
    EXPECT_EQ(Text(edit), u"notes");
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_TRUE(CaptureWindow(edit, blank).FilledWith(GetSysColor(COLOR_WINDOW)).ok);
    SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
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
    const int cjkInk = CountDark(edit, RECT{PosOf(edit, 0).x, 0, PosOf(edit, 1).x, 24});
    EXPECT_GT(cjkInk, 25);
    ShowCaret(edit);
    desktop.KeyPress(VK_LEFT);
    EXPECT_EQ(CaretColumn(edit), afterCjk) << "one step back over the pair";

    // The caret blinks on the virtual clock: inverted, then not.
    desktop.KeyPress(VK_END);
    const POINT probe{afterPair, 6};
    const COLORREF shown = WindowPixel(edit, probe);
    desktop.AdvanceClock(GetCaretBlinkTime());
    EXPECT_EQ(WindowPixel(edit, probe), tq3::testing::Inverted(shown));

    // The selection: highlight between its ends, none beside; kept without the
    // focus with ES_NOHIDESEL, hidden without it.
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
    HWND hiding = MakeEdit(0, u"abcdef", RECT{10, 50, 210, 74});
    SendMessageW(hiding, EM_SETSEL, 2, 4);
    desktop.RunUntilIdle();
    EXPECT_EQ(CaptureWindow(hiding, inside).Count(highlight), 0);
    SetFocus(hiding);
    desktop.RunUntilIdle();
    EXPECT_GT(CaptureWindow(hiding, inside).Count(highlight), 0) << "shown while focused";
    SetFocus(parent);
    desktop.RunUntilIdle();
    EXPECT_EQ(CaptureWindow(hiding, inside).Count(highlight), 0) << "hidden again when the focus leaves";
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

// Each allocation of a change refused in turn: the box keeps its text and says
// EN_ERRSPACE, or the change is whole and says EN_CHANGE once; nothing escapes.
int errSpace = 0;
int changes = 0;

LRESULT CountingParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_ERRSPACE) ++errSpace;
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) ++changes;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(EditTest, RefusedMemoryLeavesTheTextAsItWas) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_MULTILINE);
    auto old = SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingParent));
    struct Op {
        const char* name;
        std::function<void()> run;
        std::u16string done;
    };
    const std::u16string before = u"abc\r\ndef";
    const std::vector<Op> ops = {
        {"typing", [&] { SendMessageW(edit, WM_CHAR, u'x', 0); }, u"abc\r\ndefx"},
        {"a line break", [&] { SendMessageW(edit, WM_CHAR, u'\r', 0); }, u"abc\r\ndef\r\n"},
        {"pasting", [&] { SendMessageW(edit, WM_PASTE, 0, 0); }, u"abc\r\ndef12\r\n\U00020B9F"},
        {"deleting a line break", [&] { SendMessageW(edit, EM_SETSEL, 3, 5); SendMessageW(edit, WM_CLEAR, 0, 0); },
         u"abcdef"},
        {"setting the text",
         [&] {
             EXPECT_TRUE(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"new\r\ntext")) ||
                         errSpace == 1);
         },
         u"new\r\ntext"},
    };
    for (const auto& op : ops) {
        SCOPED_TRACE(op.name);
        const SweepResult sweep = SweepAllocations({
            .prepare =
                [&] {
                    SetWindowTextW(edit, before.c_str());
                    SendMessageW(edit, EM_SETSEL, before.size(), before.size());
                    desktop.SetClipboardText(u"12\r\n\U00020B9F");
                    errSpace = changes = 0;
                },
            .operation = op.run,
            .check =
                [&](const SweepRun& run) {
                    ASSERT_FALSE(run.threw) << "after " << run.allowed << " allocations";
                    const std::u16string now = Text(edit);
                    if (now == before) {
                        EXPECT_EQ(errSpace, 1) << "after " << run.allowed << " allocations";
                    } else {
                        EXPECT_EQ(now, op.done) << "after " << run.allowed << " allocations";
                        EXPECT_EQ(changes, op.done == u"new\r\ntext" ? 0 : 1);
                    }
                },
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GT(sweep.refusedRuns, 0);
    }
    SetWindowLongPtrW(parent, GWLP_WNDPROC, old);
}

}  // namespace
}  // namespace tq3::test
