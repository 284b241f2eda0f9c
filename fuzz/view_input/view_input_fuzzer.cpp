// Drives a table view as a user does: keys, typed characters, clicks, double clicks,
// right clicks and drags on the cells, the header strips, the corner box, the tab
// strip and the scroll bars, wheel steps, the edit commands, the font dialog, a
// resized frame and a few calls of the host in between, in
// any order, through the harness's desktop so that every input meets hit testing,
// capture, focus and PreTranslateMessage. Menus, message boxes and the find dialog
// are answered as the input says, so no modal loop waits for ever; one that still
// does ends the run with the backend's report.
//
// After every action the table must still be what the view promises: every line
// keeps one field per column, cells hold what their column's edit mode lets
// through, the cursor and the selection lie inside their sheet, and at most one
// in-cell editor shows.
//
// Input: a sequence of actions, each an opcode byte and the bytes it reads (see
// RunAction); a missing operand reads as 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "find/find_replace_dialog.h"
#include "framework/backends/headless/headless_backend.h"
#include "framework/dialogs/commdlg.h"
#include "fuzz/input_reader.h"
#include "text/clipboard_text.h"
#include "text/tab_text.h"
#include "tq3view/testing.h"
#include "view/table_view.h"

namespace {

using tq3::testing::Button;
using tq3::testing::kAlt;
using tq3::testing::kControl;
using tq3::testing::kNoModifiers;
using tq3::testing::kShift;

// Ends the run, which libFuzzer reports with the input, when `ok` is false.
void Check(bool ok, const char* what = "the scene could not be built") {
    if (ok) return;
    std::fprintf(stderr, "view_input: broken: %s\n", what);
    std::abort();
}

std::string Narrow(const CString& text) {
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const WCHAR c = text[i];
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escaped[12];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

constexpr int kMaxActions = 256;

// ---- The table every input starts from ------------------------------------------------

struct ColumnShape {
    const char16_t* title;
    BYTE numeric;
    int maxLength;
    BYTE digits;
    BYTE decimals;
    std::vector<const char16_t*> list;
};

struct SheetShape {
    const char16_t* name;
    std::vector<ColumnShape> columns;
    std::vector<const char16_t*> lines;  // what InsertLine gets, one field per column
    int lineCopies;                      // the lines repeated this often
};

const std::vector<SheetShape>& Shapes() {
    static const std::vector<SheetShape> shapes = {
        {u"first",
         {{u"text", 0, 6, 7, 0, {}},
          {u"amount", 1, 0, 5, 2, {}},
          {u"count", 1, 0, 4, 0, {}},
          {u"choice", 0, 0, 7, 0, {u"1:A", u"2:B", u"Red", u"#hash", u"\u00c9t\u00e9", u""}},
          {u"note", 0, 0, 7, 0, {}}},
         {u"abc\t12.50\t7\t1:A\tfree text", u"\u65e5\u672c\t-3.25\t-12\tRed\t", u"\t\t\t\t"},
         12},
        {u"second",
         {{u"pick", 0, 0, 7, 0, {u"yes", u"no", u"\U0001F600 smile"}},
          {u"whole", 1, 0, 7, 0, {}},
          {u"code", 0, 3, 7, 0, {}}},
         {u"yes\t1234567\tab", u"no\t-5\t\u00e9"},
         2},
        {u"empty", {{u"a", 0, 4, 7, 0, {}}, {u"b", 1, 0, 3, 1, {}}}, {}, 0},
    };
    return shapes;
}

// Texts the host and the clipboard use, and the find dialog searches for.
const char16_t* const kTexts[] = {
    u"", u"x", u"42", u"-7", u"3.14159", u"99999999", u"1e400", u"-", u".5", u"red", u"#", u"\u00e9",
    u"abcdefghij", u"\U0001F600", u"1\t2\r\n3\t4\r\n", u"a\tb\tc\r\n", u"12.5\r\n-3\r\n", u"y\r\nn\r\n",
    u"1:A\tx\r\n", u"\u65e5",
};
constexpr int kTextCount = sizeof(kTexts) / sizeof(kTexts[0]);
// The first texts hold no TAB: a host that sets a cell to a TAB adds a field to its
// line, as it asked for.
constexpr int kTextsWithoutTab = 14;

// The view, with the paste command noted: a paste sets the selection to the block
// it wrote, which may reach past the sheet's last line or column.
class FuzzView : public CTableView {
public:
    FuzzView() = default;
    using CTableView::GetSheetObj;

    void OnPaste() {
        pastedOn = GetSelSheet();
        OnEditPaste();
    }

    int pastedOn = -1;  // the sheet shown at the last paste not yet checked, or -1
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FuzzView, CTableView)
ON_COMMAND(ID_EDIT_PASTE, &FuzzView::OnPaste)
END_MESSAGE_MAP()

// The frame, which stays open: a click on its close box (a small frame puts it
// where the cells were) is the host's to refuse, and the scene lives for the
// whole process.
class FuzzFrame : public CFrameWnd {
protected:
    afx_msg void OnClose() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FuzzFrame, CFrameWnd)
ON_WM_CLOSE()
END_MESSAGE_MAP()

// ---- Reading the input -----------------------------------------------------------------

using Reader = tq3::fuzz::InputReader;

// ---- The scene: one desktop, frame and view for the whole process --------------------

struct Scene {
    Scene() {
        view = new FuzzView;
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 640, 480}, u"input", new FuzzFrame);
        Check(frame != nullptr);
        desktop.Backend().SetIdleHook([this] { return AnswerModal(); });
        // Every input starts in the font the dialog gives at 9 points, so that one
        // that picks another size leaves nothing behind for the next.
        ChooseStartingFont();
    }

    // The font dialog answered with 9 points and OK.
    void ChooseStartingFont() {
        answer = 3;
        answers = dialogSteps = 0;
        view->ChangeDrawingElements();
        desktop.RunUntilIdle();
        Check(view->GetPointSize() == 90, "the starting font could not be chosen");
        fontChosen = false;
    }

    // Builds the starting table afresh: the sheets of Shapes(), sheet 0 shown with a
    // one-cell selection, the view focused, no undo entries and no capture.
    void Reset() {
        if (::GetCapture() != nullptr) ::ReleaseCapture();
        if (resized) {
            frame->SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            resized = false;
        }
        if (fontChosen) ChooseStartingFont();
        view->DeleteAllSheets();
        const auto& shapes = Shapes();
        for (std::size_t s = 0; s < shapes.size(); ++s) {
            const int sheet = static_cast<int>(s);
            Check(view->InsertSheet(sheet, shapes[s].name) == sheet);
            for (std::size_t c = 0; c < shapes[s].columns.size(); ++c) {
                const ColumnShape& shape = shapes[s].columns[c];
                const int column = static_cast<int>(c);
                Check(view->InsertColumn(sheet, column, shape.title, 0) >= 0);
                view->SetColumnEditMode(sheet, column, shape.numeric, shape.maxLength, shape.digits, shape.decimals);
                for (const char16_t* item : shape.list) view->AddColumnString(sheet, column, item);
            }
            for (int copy = 0; copy < shapes[s].lineCopies; ++copy) {
                for (const char16_t* line : shapes[s].lines) {
                    Check(view->InsertLine(sheet, view->GetLineCount(sheet), line) >= 0);
                }
            }
        }
        view->SetSelSheet(0);
        view->SetSel(CRect(1, 2, 1, 2), CPoint(1, 2));
        view->SetFocus();
        view->RemoveUndoBuffer();
        desktop.SetClipboardText(u"5\t6\r\n");
        // A click of this input must not pair with the last click of the one before
        // into a double click.
        desktop.AdvanceClock(2000);
        trusted.assign(shapes.size(), true);
        reachesPast.assign(shapes.size(), false);
        converted.assign(shapes.size(), std::vector<bool>(8, true));
        desktop.RunUntilIdle();
    }

    // ---- Modal loops: what the user answers ------------------------------------------

    // The top-most window a user would answer: a pop-up menu, a message box or a dialog.
    static HWND ModalOnTop() {
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            if (!IsWindowVisible(w) || !IsWindowEnabled(w)) continue;
            WCHAR name[32] = {};
            GetClassNameW(w, name, 32);
            const std::u16string cls(name);
            if (cls == u"#32768" || cls == u"#32770") return w;
        }
        return nullptr;
    }

    static bool Usable(HWND dialog, int id) {
        HWND control = GetDlgItem(dialog, id);
        return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control);
    }

    bool AnswerModal() {
        // Every action gets a bounded number of answers: a loop that keeps asking
        // after that is a loop that would hang a user.
        if (++answers > 64) return false;
        HWND window = ModalOnTop();
        if (window == nullptr) return false;
        WCHAR name[32] = {};
        GetClassNameW(window, name, 32);
        if (std::u16string(name) == u"#32768") {
            AnswerMenu(window);
        } else {
            AnswerDialog(window);
        }
        return true;
    }

    void AnswerMenu(HWND window) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
        const int choice = count > 0 ? answer % (count + 1) : count;
        RECT item{};
        if (menuSteps++ == 0 && choice < count && GetMenuItemRect(nullptr, menu, static_cast<UINT>(choice), &item)) {
            desktop.Backend().Click(tq3::fw::InputEvent::Button::Left,
                                    POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
            return;
        }
        // A separator or a disabled item leaves the menu open: the user gives up.
        desktop.Backend().KeyPress(VK_ESCAPE);
    }

    void AnswerDialog(HWND window) {
        if (GetDlgItem(window, IDYES) != nullptr) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM((answer & 1) != 0 ? IDYES : IDNO, BN_CLICKED), 0);
            return;
        }
        if (GetDlgItem(window, kFindNextButtonId) != nullptr) {
            AnswerFindDialog(window);
            return;
        }
        if (GetDlgItem(window, cmb3) != nullptr) {
            AnswerFontDialog(window);
            return;
        }
        const int button = GetDlgItem(window, IDOK) != nullptr ? IDOK : IDCANCEL;
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    // The find dialog: the search text typed, one of its buttons pressed, then closed.
    void AnswerFindDialog(HWND window) {
        const int step = dialogSteps++;
        if (step == 0 && Usable(window, kFindWhatBoxId)) {
            tq3::testing::AnswerType(kFindWhatBoxId, kTexts[(answer >> 1) % kTextCount]).action(window);
            return;
        }
        static const int kButtons[] = {kFindNextButtonId, kReplaceButtonId, kReplaceAllButtonId};
        const int button = kButtons[(answer >> 6) % 3];
        if (step == 1 && Usable(window, button)) {
            tq3::testing::AnswerClick(button).action(window);
            return;
        }
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }

    // The font dialog: a size typed (some outside the dialog's limits, which it
    // refuses with a message), then OK or Cancel; after a refusal, Cancel.
    void AnswerFontDialog(HWND window) {
        static const char16_t* const kSizes[] = {u"8", u"9", u"11", u"14", u"7", u"72", u"0", u"x"};
        const int step = dialogSteps++;
        if (step == 0 && Usable(window, cmb3)) {
            tq3::testing::AnswerType(cmb3, kSizes[(answer >> 1) % 8]).action(window);
            return;
        }
        const int button = step == 1 && (answer & 1) != 0 ? IDOK : IDCANCEL;
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    FuzzView* view = nullptr;
    CFrameWnd* frame = nullptr;
    int answer = 0;       // the input's answer for the modal loops of the current action
    int answers = 0;      // modal answers given during the current action
    int menuSteps = 0;    // answers given to pop-up menus during the current action
    int dialogSteps = 0;  // answers given to the find or font dialog during the current action
    bool fontChosen = false;  // the input chose a font through the dialog
    bool resized = false;     // the input resized the frame
    // Per sheet: whether its cursor and selection are held to lie inside it. A host
    // that deletes the line under the cursor leaves them as they were, which the
    // view allows.
    std::vector<bool> trusted;
    // Per sheet: whether a paste left the selection reaching past the sheet's end.
    std::vector<bool> reachesPast;
    // Per sheet and column: whether the cells are held to the column's edit mode. A
    // host that changes the mode leaves the stored cells unconverted.
    std::vector<std::vector<bool>> converted;
};

Scene& TheScene() {
    static Scene* scene = new Scene;
    return *scene;
}

// ---- Actions ---------------------------------------------------------------------------

UINT Modifiers(int bits) {
    UINT m = kNoModifiers;
    if (bits & 1) m |= kShift;
    if (bits & 2) m |= kControl;
    return m;
}

void NavigationKey(Scene& s, Reader& in) {
    static const int kKeys[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
    const int b = in.Byte();
    s.desktop.KeyPress(kKeys[b % 8], Modifiers(b >> 3));
}

void EditingKey(Scene& s, Reader& in) {
    struct Key {
        int vk;
        UINT modifiers;
    };
    static const Key kKeys[] = {
        {VK_TAB, kNoModifiers}, {VK_TAB, kShift},    {VK_RETURN, kNoModifiers}, {VK_RETURN, kShift},
        {VK_ESCAPE, kNoModifiers}, {VK_F2, kNoModifiers}, {VK_DELETE, kNoModifiers}, {VK_BACK, kNoModifiers},
        {VK_DOWN, kAlt},        {VK_UP, kAlt},       {VK_F4, kNoModifiers},     {VK_SPACE, kNoModifiers},
        {'C', kControl},        {'V', kControl},     {'X', kControl},           {VK_OEM_PERIOD, kControl},
        {'Z', kControl},        {VK_DELETE, kShift}, {VK_INSERT, kShift},
    };
    const Key& key = kKeys[static_cast<std::size_t>(in.Byte()) % (sizeof(kKeys) / sizeof(kKeys[0]))];
    s.desktop.KeyPress(key.vk, key.modifiers);
}

void TypeText(Scene& s, Reader& in) {
    static const char16_t* const kTyped[] = {
        u"0", u"1", u"5", u"9", u".", u"-", u"a", u"r", u"y", u"n", u"E", u"#", u" ",
        u"12.345", u"-0.5", u"\u65e5", u"\U0001F600", u"\u00e9", u"1234567890",
    };
    s.desktop.Type(kTyped[in.Byte() % (sizeof(kTyped) / sizeof(kTyped[0]))]);
}

// A point of the view's client area at cell (line, column) as the input names it:
// inside the cell where it shows, else somewhere over the cell area.
CPoint CellPoint(Scene& s, int line, int column, int where) {
    CRect cell = s.view->GetCellRect(line, column);
    CRect client;
    s.view->GetClientRect(&client);
    if (cell.IsRectEmpty() || !CRect().IntersectRect(cell, client)) {
        return CPoint(client.left + (line * 37 + column * 101) % std::max(1, client.Width()),
                      client.top + (line * 53 + where * 7) % std::max(1, client.Height()));
    }
    static const int kX[] = {1, 2, 3, 1};
    return CPoint(cell.left + cell.Width() * kX[where % 4] / 4, cell.top + cell.Height() / 2);
}

void MouseOnCells(Scene& s, Reader& in) {
    const int kind = in.Byte();
    const int line = in.Byte() % 40 - 1, column = in.Byte() % 7 - 1;
    s.answer = in.Byte();
    const HWND view = s.view->m_hWnd;
    const CPoint at = CellPoint(s, line, column, kind >> 3);
    const UINT modifiers = Modifiers(kind >> 5);
    switch (kind % 4) {
    case 0: s.desktop.Click(view, at, Button::Left, modifiers); break;
    case 1: s.desktop.DoubleClick(view, at, Button::Left, modifiers); break;
    case 2: s.desktop.Click(view, at, Button::Right, modifiers); break;
    default: {
        // A drag to another cell, or past the top or the left edge of the cell area.
        const int line2 = in.Byte() % 40 - 1, column2 = in.Byte() % 7 - 1;
        CPoint to = CellPoint(s, line2, column2, kind >> 3);
        if ((kind & 0x80) != 0) to = CPoint(to.x / 4, s.view->GetLineHeight() / 2);
        s.desktop.MouseDown(view, at, Button::Left, modifiers);
        s.desktop.MouseMove(view, CPoint((at.x + to.x) / 2, (at.y + to.y) / 2));
        s.desktop.MouseMove(view, to);
        s.desktop.MouseUp(view, to, Button::Left, modifiers);
        break;
    }
    }
}

// Presses, double clicks, right clicks and drags on a strip, from `from` to `to`
// (client points of `strip`).
void MouseOnStrip(Scene& s, HWND strip, CPoint from, CPoint to, int kind) {
    switch (kind % 4) {
    case 0: s.desktop.Click(strip, from); break;
    case 1: s.desktop.DoubleClick(strip, from); break;
    case 2: s.desktop.Click(strip, from, Button::Right); break;
    default:
        s.desktop.MouseDown(strip, from);
        s.desktop.MouseMove(strip, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        s.desktop.MouseMove(strip, to);
        s.desktop.MouseUp(strip, to);
        break;
    }
}

void MouseOnColumnHeader(Scene& s, Reader& in) {
    const int kind = in.Byte(), item = in.Byte() % 7, shift = in.Byte();
    s.answer = in.Byte();
    CColumnHeaderWnd& header = s.view->GetColumnHeader();
    RECT box{};
    const bool known = header.GetColumnRect(item, &box) != FALSE;
    CRect client;
    header.GetClientRect(&client);
    const int y = client.Height() / 2;
    int x = known ? (box.left + box.right) / 2 - header.scrollX : client.right - 5;
    // On the item's right divider, a pixel or two either side, or on its middle.
    if (known && (kind & 0x4) != 0) x = box.right - header.scrollX + ((kind >> 3) % 5 - 2);
    const CPoint from(x, y);
    CPoint to(x + (shift - 128), (kind & 0x40) != 0 ? y + 3 * s.view->GetLineHeight() : y);
    MouseOnStrip(s, header.m_hWnd, from, to, kind);
}

void MouseOnLineHeader(Scene& s, Reader& in) {
    const int kind = in.Byte(), row = in.Byte() % 28, drop = in.Byte() % 28;
    s.answer = in.Byte();
    CLineHeaderWnd& header = s.view->GetLineHeader();
    const int h = s.view->GetLineHeight();
    // Row 0 is the corner box; a drag may end above the strip.
    const CPoint from(10, row * h + h / 2);
    const CPoint to(10 + (kind >> 4), (kind & 0x8) != 0 ? -h : drop * h + h / 2);
    MouseOnStrip(s, header.m_hWnd, from, to, kind);
}

void MouseOnTabs(Scene& s, Reader& in) {
    const int kind = in.Byte(), where = in.Byte();
    s.answer = in.Byte();
    CSheetTabWnd& tabs = s.view->GetSheetTab();
    // The strip reaches past the view's right edge; the user sees the view's part,
    // one tab high: a tab's middle, or any place along the row (the arrows included).
    CRect client;
    s.view->GetClientRect(&client);
    CPoint at(client.Width() * where / 256, tabs.tabHeight / 2);
    const CRect tab = tabs.GetItemRect(where % 4);
    if (where < 64 && !tab.IsRectEmpty()) at.x = tab.CenterPoint().x - tabs.scrollPos;
    MouseOnStrip(s, tabs.m_hWnd, at, CPoint(at.x + 20, at.y), kind % 3);
}

void Wheel(Scene& s, Reader& in) {
    const int b = in.Byte();
    const CPoint at = CellPoint(s, 3, 1, 0);
    s.desktop.Wheel(s.view->m_hWnd, at, (b & 1) != 0 ? WHEEL_DELTA * (1 + (b >> 5)) : -WHEEL_DELTA * (1 + (b >> 5)),
                    Modifiers(b >> 1));
}

void Command(Scene& s, Reader& in) {
    static const UINT kCommands[] = {ID_EDIT_COPY, ID_EDIT_CUT,  ID_EDIT_PASTE,   ID_EDIT_UNDO,
                                     ID_EDIT_FIND, ID_EDIT_CLEAR, ID_EDIT_REPLACE, ID_EDIT_PASTE};
    const int b = in.Byte();
    s.answer = in.Byte();
    const UINT command = kCommands[b % 8];
    // A paste of a text of the input's choice, or of what the last copy left.
    if (command == ID_EDIT_PASTE && (b & 0x8) != 0) s.desktop.SetClipboardText(kTexts[(b >> 4) % kTextCount]);
    s.frame->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
    s.desktop.RunUntilIdle();
}

// The view's scroll bars: a click on an arrow, the track or the thumb, a press
// held while the arrow or the page repeats, or a drag along the bar.
void MouseOnScrollBars(Scene& s, Reader& in) {
    const int kind = in.Byte(), where = in.Byte(), to = in.Byte();
    const HWND view = s.view->m_hWnd;
    CRect client;
    s.view->GetClientRect(&client);
    const bool vertical = (kind & 1) != 0;
    const int across = vertical ? GetSystemMetrics(SM_CXVSCROLL) / 2 : GetSystemMetrics(SM_CYHSCROLL) / 2;
    const auto along = [&](int at) {
        return vertical ? CPoint(client.right + across, client.Height() * at / 255)
                        : CPoint(client.Width() * at / 255, client.bottom + across);
    };
    const CPoint from = along(where);
    switch ((kind >> 1) % 3) {
    case 0: s.desktop.Click(view, from); break;
    case 1:
        s.desktop.MouseDown(view, from);
        s.desktop.AdvanceClock(100 * ((kind >> 3) % 8));
        s.desktop.MouseUp(view, from);
        break;
    default:
        s.desktop.MouseDown(view, from);
        s.desktop.MouseMove(view, along((where + to) / 2));
        s.desktop.MouseMove(view, along(to));
        s.desktop.MouseUp(view, along(to));
        break;
    }
}

// The user's font choice, answered as the input says.
void ChooseFont(Scene& s, Reader& in) {
    s.answer = in.Byte();
    s.fontChosen = true;
    s.view->ChangeDrawingElements();
    s.desktop.RunUntilIdle();
}

// The frame resized, down to nothing left for the view's cells.
void ResizeFrame(Scene& s, Reader& in) {
    const int width = in.Byte() * 3, height = in.Byte() * 2;
    s.resized = true;
    s.frame->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    s.desktop.RunUntilIdle();
}

// Keeps a sheet's cursor and selection on its lines after the host changed them,
// as a careful host does; a careless one leaves them.
void AfterLinesChanged(Scene& s, int sheet, bool careful) {
    const CSheetObj* obj = s.view->GetSheetObj(sheet);
    const int lines = obj->GetLineCount();
    const CRect& sel = obj->selection;
    const bool inside = lines > 0 && obj->cursor.y < lines && std::max(sel.top, sel.bottom) < lines &&
                        std::min(sel.top, sel.bottom) >= 0 && obj->cursor.y >= 0;
    if (inside || (lines == 0 && obj->cursor.y <= 0 && std::max(sel.top, sel.bottom) <= 0)) return;
    if (careful && sheet == s.view->GetSelSheet() && lines > 0) {
        const int line = lines - 1;
        s.view->SetSel(CRect(obj->cursor.x, line, obj->cursor.x, line), CPoint(obj->cursor.x, line));
        return;
    }
    s.trusted[static_cast<std::size_t>(sheet)] = false;
}

void HostCall(Scene& s, Reader& in) {
    const int b = in.Byte();
    const int sheet = in.Byte() % 4 - (b & 0x80 ? 1 : 0);
    const int line = in.Byte() % 40 - 1, column = in.Byte() % 7 - 1;
    const int sheets = s.view->GetSheetCount();
    const bool valid = sheet >= 0 && sheet < sheets;
    switch (b % 5) {
    case 0: s.view->SetCellText(sheet, line, column, kTexts[(b >> 3) % kTextsWithoutTab]); break;
    case 1: {
        if (!valid) {
            s.view->InsertLine(sheet, line, u"x");
            break;
        }
        // A line of the sheet's own shape, so that it keeps one field per column.
        const auto& lines = Shapes()[static_cast<std::size_t>(sheet)].lines;
        const char16_t* text = lines.empty() ? u"\t" : lines[static_cast<std::size_t>(b >> 3) % lines.size()];
        s.view->InsertLine(sheet, line, text);
        AfterLinesChanged(s, sheet, (b & 0x40) != 0);
        break;
    }
    case 2:
        s.view->DeleteLine(sheet, line);
        if (valid) AfterLinesChanged(s, sheet, (b & 0x40) != 0);
        break;
    case 3: s.view->SetSelSheet(sheet); break;
    default:
        s.view->SetColumnEditMode(sheet, column, (b >> 3) & 1, (b >> 4) % 5 - 1, static_cast<BYTE>(line % 9),
                                  static_cast<BYTE>((b >> 5) % 3));
        if (valid && column >= 0 && column < s.view->GetColumnCount(sheet)) {
            s.converted[static_cast<std::size_t>(sheet)][static_cast<std::size_t>(column)] = false;
        }
        break;
    }
    s.desktop.RunUntilIdle();
}

// Opcodes: 0-3 a navigation key (one byte: key, Shift, Ctrl); 4-5 an editing key;
// 6-8 typed text; 9-11 the mouse on the cells (kind, line, column, answer; a drag
// two more); 12 the column header (kind, item, distance, answer); 13 the line
// header and its corner box (kind, row, row, answer); 14 the tab strip (kind,
// place, answer); 15 the wheel; 16-17 an edit command (command, answer); 18 a host
// call (call, sheet, line, column). Opcode bytes from 228 up, later additions, are
// 19 the scroll bars (kind, place, place); 20 the font dialog (answer); 21 the
// frame's size (width, height).
void RunAction(Scene& s, Reader& in) {
    s.answers = 0;
    s.menuSteps = 0;
    s.dialogSteps = 0;
    const int b = in.Byte();
    const int op = b < 228 ? b % 19 : 19 + (b - 228) % 3;
    if (op == 19) {
        MouseOnScrollBars(s, in);
    } else if (op == 20) {
        ChooseFont(s, in);
    } else if (op == 21) {
        ResizeFrame(s, in);
    } else if (op <= 3) {
        NavigationKey(s, in);
    } else if (op <= 5) {
        EditingKey(s, in);
    } else if (op <= 8) {
        TypeText(s, in);
    } else if (op <= 11) {
        MouseOnCells(s, in);
    } else if (op == 12) {
        MouseOnColumnHeader(s, in);
    } else if (op == 13) {
        MouseOnLineHeader(s, in);
    } else if (op == 14) {
        MouseOnTabs(s, in);
    } else if (op == 15) {
        Wheel(s, in);
    } else if (op <= 17) {
        Command(s, in);
    } else {
        HostCall(s, in);
    }
}

// ---- Invariants ---------------------------------------------------------------------------

bool InList(const CString& cell, const CColumnProp& column) {
    for (const CString& item : column.listStrings) {
        if (cell == item) return true;
    }
    return false;
}

// A numeric cell as the numeric edit mode stores it: a sign, digits and, with
// decimals, a point and at most that many digits after it. A number of `digits`
// digits with decimals keeps a point; one that has lost its point keeps one digit more.
bool IsStoredNumber(const CString& cell, const CColumnProp& column) {
    int i = cell.GetLength() > 0 && cell[0] == u'-' ? 1 : 0;
    int whole = 0, fraction = 0;
    bool point = false;
    for (; i < cell.GetLength(); ++i) {
        const WCHAR c = cell[i];
        if (c == u'.' && !point && whole > 0) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            ++(point ? fraction : whole);
        } else {
            return false;
        }
    }
    if (whole == 0 || (point && fraction == 0)) return false;
    if (column.decimals == 0) return !point && whole <= column.digits;
    return fraction <= column.decimals && whole + fraction <= column.digits + (point ? 0 : 1);
}

// A cell's check, naming the cell when it fails.
void CheckCell(bool ok, const char* what, int sheet, int line, int column, const CString& cell) {
    if (!ok) {
        std::fprintf(stderr, "view_input: sheet %d line %d column %d holds \"%s\"\n", sheet, line, column,
                     Narrow(cell).c_str());
    }
    Check(ok, what);
}

void CheckCells(Scene& s, int sheet) {
    const CSheetObj* obj = s.view->GetSheetObj(sheet);
    const int columns = obj->GetColumnCount();
    for (int l = 0; l < obj->GetLineCount(); ++l) {
        CString text = s.view->GetTabbedString(sheet, l);
        Check(DivideString(text.GetBuffer()) == columns, "a line keeps one field per column");
        text.ReleaseBuffer();
        for (int c = 0; c < columns; ++c) {
            if (!s.converted[static_cast<std::size_t>(sheet)][static_cast<std::size_t>(c)]) continue;
            const CColumnProp& column = *obj->GetColumn(c);
            const CString cell = s.view->GetCellText(sheet, l, c);
            if (cell.IsEmpty()) continue;  // a cut empties cells of every mode
            if (column.IsListColumn()) {
                CheckCell(InList(cell, column), "a list cell holds a list string", sheet, l, c, cell);
            } else if (column.IsNumericColumn()) {
                CheckCell(IsStoredNumber(cell, column), "a numeric cell holds a number within its digits", sheet, l, c,
                          cell);
            } else if (column.maxLength > 0) {
                CheckCell(cell.GetLength() <= column.maxLength, "a text cell keeps to its length", sheet, l, c, cell);
            }
        }
    }
}

// The cursor and the ordered selection lie on the sheet's cells; a sheet without
// lines keeps them on its columns, at line 0 or at -1, where Page Down and End put
// them when there is no line. Only a paste may leave the selection reaching past
// the last line or column, and the moves inside that selection (Enter) the cursor
// with it, until the selection lies on the sheet again; they never go below the
// first line or column.
void CheckSelection(Scene& s, int sheet) {
    const auto index = static_cast<std::size_t>(sheet);
    if (!s.trusted[index]) return;
    const CSheetObj* obj = s.view->GetSheetObj(sheet);
    const int lines = obj->GetLineCount(), columns = obj->GetColumnCount();
    const CRect& sel = obj->selection;
    const CPoint& cursor = obj->cursor;
    const int left = std::min(sel.left, sel.right), right = std::max(sel.left, sel.right);
    const int top = std::min(sel.top, sel.bottom), bottom = std::max(sel.top, sel.bottom);
    const int firstLine = lines > 0 ? 0 : -1, lastLine = lines > 0 ? lines - 1 : 0;
    const bool fromFirst = left >= 0 && top >= firstLine && cursor.x >= 0 && cursor.y >= firstLine;
    const bool toLast = right < columns && bottom <= lastLine && cursor.x < columns && cursor.y <= lastLine;
    if (s.view->pastedOn == sheet) {
        s.reachesPast[index] = !toLast;
    } else if (toLast) {
        s.reachesPast[index] = false;
    }
    if (!fromFirst || !(toLast || s.reachesPast[index])) {
        std::fprintf(stderr, "view_input: sheet %d of %d lines and %d columns: selection %d,%d-%d,%d, cursor %d,%d\n",
                     sheet, lines, columns, sel.left, sel.top, sel.right, sel.bottom, cursor.x, cursor.y);
    }
    Check(fromFirst, "the cursor and the selection start on the sheet");
    Check(toLast || s.reachesPast[index], "the cursor and the selection end on the sheet");
}

void CheckInvariants(Scene& s) {
    for (int sheet = 0; sheet < s.view->GetSheetCount(); ++sheet) {
        CheckCells(s, sheet);
        CheckSelection(s, sheet);
    }
    s.view->pastedOn = -1;
    const bool edit = s.view->GetCellEdit().IsWindowVisible() != FALSE;
    const bool combo = s.view->GetCellCombo().IsWindowVisible() != FALSE;
    Check(!(edit && combo), "at most one in-cell editor shows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scene& scene = TheScene();
    scene.Reset();
    CheckInvariants(scene);
    Reader in(data, size);
    for (int n = 0; n < kMaxActions && !in.AtEnd(); ++n) {
        RunAction(scene, in);
        CheckInvariants(scene);
    }
    return 0;
}
