// Drives the framework's standard controls as a user and a program do: a
// single-line and a multiline edit box, a sorted extended-selection list box and
// two combo boxes (one with an edit box, one choosing from its list alone) on one
// parent window, through the harness's desktop so that every input meets hit
// testing, capture and focus. Between keys, typed characters, clicks, drags, double
// clicks, wheel steps and time passing come the messages a program sends (texts,
// selections, limits, items, fonts, sizes, the clipboard), and the parent may
// destroy a control in answer to one of its notifications.
//
// After every action the controls must still be what they promise: an edit box's
// selection lies inside its text, its text grows by the user only up to its limit,
// in capitals with ES_UPPERCASE, by digits alone with ES_NUMBER and not at all
// when read-only, and its lines lie in order inside its text; a list holds what
// was added less what was removed, in order when sorted, with its current, top,
// caret and anchor items on it; a combo box's list shows exactly when it says it
// is dropped, and at most one list is dropped; no window holds the capture but a
// dropped list once the buttons are up, the focus is on a live window, time alone
// moves nothing, and no window is left that the scene did not make, not even
// after the parent is destroyed.
//
// Input: one byte of styles and one of the focused control, then a sequence of
// actions, each an opcode byte and the bytes it reads (see RunAction); a missing
// operand reads as 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit.h"
#include "framework/controls/list_box.h"
#include "framework/core/locale.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "fuzz/input_reader.h"
#include "tq3view/testing.h"

namespace {

using tq3::testing::Button;
using tq3::testing::kAlt;
using tq3::testing::kControl;
using tq3::testing::kNoModifiers;
using tq3::testing::kShift;

// Ends the run, which libFuzzer reports with the input, when `ok` is false.
void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "controls_input: broken: %s\n", what);
    std::abort();
}

constexpr int kMaxActions = 200;

// ---- Reading the input -------------------------------------------------------------------

using Reader = tq3::fuzz::InputReader;

// An index for an item message: mostly one of the items, sometimes -1 and other
// negative numbers, the count itself or past it.
int ItemIndex(int b, int count) {
    if (b < 16) return -1 - b % 4;
    if (b < 24) return count + (b - 16) / 2;
    return (b - 24) % std::max(1, count);
}

// A character position for EM_SETSEL and CB_SETEDITSEL: inside the text mostly,
// sometimes far outside it in either direction.
int TextPosition(int b, int length) {
    static const int kFar[] = {-1, -2, -100, 0x7FFFFFFF, static_cast<int>(0x80000000u), 0xFFFF, 0x10000, 0};
    if (b < 8) return kFar[b];
    return (b - 8) % (length + 3);
}

// ---- Texts -----------------------------------------------------------------------------

const std::u16string& LongText() {
    static const std::u16string text = [] {
        std::u16string t;
        for (int i = 0; i < 400; ++i) t += static_cast<char16_t>(u'a' + i % 26 - (i % 7 == 0 ? 32 : 0));
        return t;
    }();
    return text;
}

// Texts the program sets, inserts and adds as items, and puts on the clipboard.
// The sixth holds a NUL, which ends it for every message that takes a string.
const std::u16string& Text(int b) {
    static const std::vector<std::u16string> texts = {
        u"", u"a", u"Hello", u"12345", u"apple", std::u16string(u"abc\0def", 7), u"APPLE", u"Pear",
        u"line one\r\nline two\r\n", u"\u65e5\u672c\u8a9e", u"\U0001F600", u"x\xD800y", u"\u00c9t\u00e9", u"-5",
        u"zz top", u"a\tb", LongText(),
    };
    return texts[static_cast<std::size_t>(b) % texts.size()];
}

// ---- The scene ---------------------------------------------------------------------------

enum Slot { kSingle, kMulti, kList, kDropDown, kDropList, kSlots };
constexpr int kFirstId = 100;

struct Control {
    HWND hwnd = nullptr;  // null once destroyed
    HWND edit = nullptr;  // the edit box: the control itself, or a combo box's child
    HWND list = nullptr;  // a combo box's list
    int count = 0;        // the items a list or combo box holds by what was added and removed
    bool sorted = false;  // holds its items in order: sorted, and nothing inserted at a place of the program's choice
};

// What an edit box is before an action, to compare with what it is after.
struct EditBefore {
    std::u16string text;
    bool readOnly = false;
};

struct Scene;
Scene* theScene = nullptr;

struct Scene {
    Scene() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = u"ControlsInputParent";
        Check(RegisterClassW(&wc) != 0, "the parent's class registers");
        bigFont = CreateFontW(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, u"DejaVu Sans");
        theScene = this;
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Build(int styles, int focus);
    void TearDown();
    void Refresh();
    std::vector<HWND> Windows() const;

    tq3::testing::Desktop desktop{800, 600};
    HFONT bigFont = nullptr;
    HWND parent = nullptr;
    Control controls[kSlots];
    std::set<HWND> made;        // every window the scene made and has not destroyed
    int doomed = -1;            // the slot the parent destroys at its next notification `doomCode`; -1: none
    WORD doomCode = 0;
    // What the current action may do to the standalone edit boxes' texts.
    bool programSet = false;    // the program sets a whole text or takes a change back: any text may result
    bool programEdit = false;   // the program replaces the selection, which a read-only box accepts too
    bool typedNonDigit = false; // printable characters are typed, none of them a digit
};

LRESULT Scene::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Scene* s = theScene;
    switch (message) {
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 19; return TRUE;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        const int background = (item.itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW;
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(background));
        return TRUE;
    }
    case WM_COMMAND:
        // A host that tears a control down in answer to what it hears from it.
        if (s != nullptr && s->doomed >= 0 && LOWORD(wParam) == kFirstId + s->doomed && HIWORD(wParam) == s->doomCode) {
            const HWND victim = s->controls[s->doomed].hwnd;
            s->doomed = -1;
            if (victim != nullptr) DestroyWindow(victim);
        }
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// Every window on the desktop, top-level or child.
std::vector<HWND> Scene::Windows() const {
    std::vector<HWND> all;
    EnumChildWindows(
        nullptr,
        [](HWND w, LPARAM p) {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

bool IsClass(HWND w, const char16_t* name) {
    WCHAR cls[32] = {};
    GetClassNameW(w, cls, 32);
    return std::u16string(cls) == name;
}

// Byte `styles`: bit 0 ES_NUMBER, bit 1 ES_PASSWORD, bit 2 ES_AUTOHSCROLL of the
// single-line box; bit 3 ES_UPPERCASE, bit 4 ES_READONLY of the multiline box;
// bit 5 an owner-drawn list box; bit 6 CBS_SORT and bit 7 CBS_AUTOHSCROLL of the
// combo boxes.
void Scene::Build(int styles, int focus) {
    parent = CreateWindowExW(0, u"ControlsInputParent", u"Controls", WS_POPUP | WS_VISIBLE, 20, 20, 520, 420, nullptr,
                             nullptr, nullptr, nullptr);
    Check(parent != nullptr, "the parent is made");
    struct Shape {
        const char16_t* cls;
        DWORD style;
        RECT r;
    };
    const DWORD single = ((styles & 1) ? ES_NUMBER : 0) | ((styles & 2) ? ES_PASSWORD : 0) |
                         ((styles & 4) ? ES_AUTOHSCROLL : 0);
    const DWORD multi = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL |
                        ((styles & 8) ? ES_UPPERCASE : 0) | ((styles & 16) ? ES_READONLY : 0);
    const DWORD list = LBS_NOTIFY | LBS_SORT | LBS_EXTENDEDSEL | WS_VSCROLL |
                       ((styles & 32) ? LBS_OWNERDRAWFIXED | LBS_HASSTRINGS : 0);
    const DWORD combo = WS_VSCROLL | ((styles & 64) ? CBS_SORT : 0) | ((styles & 128) ? CBS_AUTOHSCROLL : 0);
    const Shape shapes[kSlots] = {
        {WC_EDITW, single | WS_BORDER, {10, 10, 210, 34}},
        {WC_EDITW, multi | WS_BORDER, {10, 44, 210, 144}},
        {WC_LISTBOXW, list | WS_BORDER, {230, 10, 380, 130}},
        {WC_COMBOBOXW, combo | CBS_DROPDOWN, {10, 160, 170, 300}},
        {WC_COMBOBOXW, combo | CBS_DROPDOWNLIST, {230, 160, 390, 300}},
    };
    static const char16_t* const kInitial[kSlots] = {u"12", u"first line\r\nsecond", nullptr, u"pick", nullptr};
    static const char16_t* const kItems[] = {u"kiwi", u"Apple", u"banana", u"\u00e9clair", u"fig", u"apple",
                                             u"\u65e5\u672c", u"cherry", u"date", u"grape", u"lemon", u"mango"};
    made.clear();
    made.insert(parent);
    for (int i = 0; i < kSlots; ++i) {
        const std::vector<HWND> before = Windows();
        const Shape& sh = shapes[i];
        Control& c = controls[i];
        c = Control{};
        c.hwnd = CreateWindowExW(0, sh.cls, kInitial[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | sh.style, sh.r.left,
                                 sh.r.top, sh.r.right - sh.r.left, sh.r.bottom - sh.r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(kFirstId + i)), nullptr, nullptr);
        Check(c.hwnd != nullptr, "a control is made");
        for (HWND w : Windows()) {
            if (std::find(before.begin(), before.end(), w) != before.end()) continue;
            made.insert(w);
            if (IsClass(w, u"ComboLBox")) c.list = w;
        }
        if (i == kSingle || i == kMulti) c.edit = c.hwnd;
        if (i == kDropDown) c.edit = GetDlgItem(c.hwnd, kComboEditId);
        if (i >= kList) {
            const UINT add = i == kList ? LB_ADDSTRING : CB_ADDSTRING;
            const int items = i == kList ? 12 : 7;
            for (int k = 0; k < items; ++k) {
                Check(SendMessageW(c.hwnd, add, 0, reinterpret_cast<LPARAM>(kItems[k])) >= 0, "an item is added");
            }
            c.count = items;
            c.sorted = i == kList || (styles & 64) != 0;
        }
    }
    Check(controls[kDropDown].edit != nullptr && controls[kDropDown].list != nullptr &&
              controls[kDropList].list != nullptr,
          "the combo boxes have their edit box and lists");
    doomed = -1;
    SetFocus(controls[focus % kSlots].hwnd);
    // A click of this input must not pair with the last click of the one before.
    desktop.AdvanceClock(2000);
}

// Notes the controls the parent or the program destroyed: their windows are no
// longer the scene's.
void Scene::Refresh() {
    for (Control& c : controls) {
        if (c.hwnd == nullptr || IsWindow(c.hwnd)) continue;
        made.erase(c.hwnd);
        made.erase(c.edit);
        made.erase(c.list);
        c = Control{};
    }
}

void Scene::TearDown() {
    if (parent != nullptr) DestroyWindow(parent);
    parent = nullptr;
    for (Control& c : controls) c = Control{};
    made.clear();
    desktop.RunUntilIdle();
}

// ---- Actions -----------------------------------------------------------------------------

UINT Modifiers(int bits) {
    UINT m = kNoModifiers;
    if (bits & 1) m |= kShift;
    if (bits & 2) m |= kControl;
    if (bits & 4) m |= kAlt;
    return m;
}

void Focus(Scene& s, Reader& in) {
    const int b = in.Byte();
    if (b & 0x80) {
        s.desktop.KeyPress(VK_TAB, (b & 1) ? kShift : kNoModifiers);
        return;
    }
    const HWND target = b % 6 == 5 ? s.parent : s.controls[b % 6].hwnd;
    if (target != nullptr) SetFocus(target);
    s.desktop.RunUntilIdle();
}

void Key(Scene& s, Reader& in) {
    static const int kKeys[] = {VK_LEFT,   VK_RIGHT, VK_UP,  VK_DOWN, VK_HOME,  VK_END,   VK_PRIOR,
                                VK_NEXT,   VK_BACK,  VK_DELETE, VK_RETURN, VK_ESCAPE, VK_F4,  VK_INSERT,
                                VK_SPACE, 'A',      'C',      'X',      'V',       'Z'};
    const int b = in.Byte(), m = in.Byte();
    const int vk = kKeys[b % (sizeof(kKeys) / sizeof(kKeys[0]))];
    const UINT modifiers = Modifiers(m);
    // Ctrl+Z and Alt+Backspace take the last change back, which may bring back any text.
    if (vk == 'Z' || (vk == VK_BACK && (modifiers & kAlt))) s.programSet = true;
    s.desktop.KeyPress(vk, modifiers);
}

void Type(Scene& s, Reader& in) {
    static const char16_t* const kTyped[] = {u"a", u"Z", u"q", u"0", u"7", u"-", u".", u" ", u"#",
                                             u"\u65e5", u"\u00e9", u"\U0001F600", u"ab12"};
    const int b = in.Byte();
    constexpr int kCount = sizeof(kTyped) / sizeof(kTyped[0]);
    if (b % (kCount + 2) == kCount) {
        s.typedNonDigit = true;
        s.desktop.TypeChar(0xD83D);  // a lone high surrogate
        return;
    }
    if (b % (kCount + 2) == kCount + 1) {
        s.typedNonDigit = true;
        s.desktop.TypeChar(0xDE00);  // a lone low surrogate
        return;
    }
    const std::u16string_view text = kTyped[b % (kCount + 2)];
    s.typedNonDigit = std::none_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    s.desktop.Type(text);
}

// A screen point for the mouse: inside one of the controls, on the parent, outside
// it, or on a dropped list, at a place the input chooses.
POINT MousePoint(Scene& s, int where, int x, int y) {
    HWND target = nullptr;
    if (where % 8 < kSlots) target = s.controls[where % 8].hwnd;
    if (where % 8 == 5) target = s.parent;
    if (where % 8 == 6) {
        for (HWND w : {s.controls[kDropDown].list, s.controls[kDropList].list}) {
            if (w != nullptr && IsWindowVisible(w)) target = w;
        }
    }
    if (target == nullptr) return POINT{x * 3, y * 2};  // anywhere on the desktop
    RECT r{};
    GetWindowRect(target, &r);
    // A few pixels past each edge too, so that drags leave and come back.
    const int w = r.right - r.left + 12, h = r.bottom - r.top + 12;
    return POINT{r.left - 6 + x * w / 256, r.top - 6 + y * h / 256};
}

void Mouse(Scene& s, Reader& in) {
    const int kind = in.Byte();
    const POINT at = MousePoint(s, in.Byte(), in.Byte(), in.Byte());
    const UINT modifiers = Modifiers(kind >> 4);
    switch (kind % 6) {
    case 0: s.desktop.Click(at, Button::Left, modifiers); break;
    case 1: s.desktop.DoubleClick(at, Button::Left, modifiers); break;
    case 2: s.desktop.Click(at, Button::Right, modifiers); break;
    case 3:
        s.desktop.Wheel(at, (kind & 0x40) ? WHEEL_DELTA : -WHEEL_DELTA * (1 + (kind >> 7)), modifiers & kShift);
        break;
    default: {
        // A drag: out to a second point, a while there for the timers that scroll
        // while the pointer is outside, then on to a third point and released. The
        // program may move the focus while the button is down.
        const POINT to = MousePoint(s, in.Byte(), in.Byte(), in.Byte());
        const int wait = in.Byte(), steal = in.Byte();
        s.desktop.MouseDown(at, Button::Left, modifiers & kShift);
        s.desktop.MouseMove(POINT{(at.x + to.x) / 2, (at.y + to.y) / 2});
        s.desktop.MouseMove(to);
        if (steal < 6 * 8) {
            const HWND target = steal % 6 == 5 ? s.parent : s.controls[steal % 6].hwnd;
            if (target != nullptr) SetFocus(target);
        }
        s.desktop.AdvanceClock(static_cast<DWORD>(wait * 4));
        const POINT end{to.x + (wait % 16) - 8, to.y + (wait / 16) - 8};
        if (kind % 6 == 5) s.desktop.MouseMove(end);
        s.desktop.MouseUp(kind % 6 == 5 ? end : to, Button::Left, modifiers & kShift);
        break;
    }
    }
}

LPARAM TextParam(const std::u16string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

// A message a program sends one of the edit boxes.
void EditMessage(Scene& s, Reader& in) {
    const int b = in.Byte(), arg = in.Byte(), arg2 = in.Byte();
    const HWND edit = s.controls[b & 1 ? kMulti : kSingle].hwnd;
    if (edit == nullptr) return;
    const int length = static_cast<int>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    switch ((b >> 1) % 11) {
    case 0: s.programSet = true; SendMessageW(edit, WM_SETTEXT, 0, TextParam(Text(arg))); break;
    case 1:
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(TextPosition(arg, length)),
                     static_cast<LPARAM>(TextPosition(arg2, length)));
        break;
    case 2: s.programEdit = true; SendMessageW(edit, EM_REPLACESEL, arg2 & 1, TextParam(Text(arg))); break;
    case 3: SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(arg % 24), 0); break;
    case 4: s.programSet = true; SendMessageW(edit, (arg & 1) ? EM_UNDO : WM_UNDO, 0, 0); break;
    case 5: SendMessageW(edit, EM_SETREADONLY, arg & 1, 0); break;
    case 6: SendMessageW(edit, WM_CUT, 0, 0); break;
    case 7: SendMessageW(edit, WM_COPY, 0, 0); break;
    case 8: SendMessageW(edit, WM_PASTE, 0, 0); break;
    case 9: SendMessageW(edit, WM_CLEAR, 0, 0); break;
    default: SendMessageW(edit, EM_SCROLLCARET, 0, 0); break;
    }
    s.desktop.RunUntilIdle();
}

// An item message: the answer must agree with the items the list holds.
void ItemResult(Control& c, bool added, bool valid, LRESULT result) {
    if (added) {
        Check(valid ? result >= 0 : result == LB_ERR, "an item goes in exactly where the index is good");
        if (result >= 0) {
            ++c.count;
        }
    } else {
        Check(valid ? result == c.count - 1 : result == LB_ERR, "an item goes out exactly when its index is good");
        if (valid) --c.count;
    }
}

// An item added, inserted (`change` 1) or deleted (2) through the list box's or
// the combo box's own messages, with the count and order kept up to date.
void ChangeItems(Control& c, int change, int index, int arg, UINT add, UINT insert, UINT remove) {
    const WPARAM w = static_cast<WPARAM>(index);
    switch (change) {
    case 0: ItemResult(c, true, true, SendMessageW(c.hwnd, add, 0, TextParam(Text(arg)))); break;
    case 1:
        // Inserted where the program says, not where the order would put it.
        c.sorted = c.sorted && c.count == 0;
        ItemResult(c, true, index >= -1 && index <= c.count, SendMessageW(c.hwnd, insert, w, TextParam(Text(arg))));
        break;
    default: ItemResult(c, false, index >= 0 && index < c.count, SendMessageW(c.hwnd, remove, w, 0)); break;
    }
}

void ListMessage(Scene& s, Reader& in) {
    Control& c = s.controls[kList];
    const int b = in.Byte(), arg = in.Byte(), arg2 = in.Byte();
    if (c.hwnd == nullptr) return;
    const int index = ItemIndex(arg, c.count);
    const WPARAM w = static_cast<WPARAM>(index);
    switch (b % 9) {
    case 0:
    case 1:
    case 2: ChangeItems(c, b % 9, index, arg2, LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING); break;
    case 3: SendMessageW(c.hwnd, LB_SETCURSEL, w, 0); break;
    case 4: SendMessageW(c.hwnd, LB_SETSEL, arg2 & 1, static_cast<LPARAM>(index)); break;
    case 5: SendMessageW(c.hwnd, LB_SETTOPINDEX, w, 0); break;
    case 6: SendMessageW(c.hwnd, LB_SELECTSTRING, w, TextParam(Text(arg2).substr(0, arg2 % 3))); break;
    case 7:
        SendMessageW(c.hwnd, LB_RESETCONTENT, 0, 0);
        c.count = 0;
        c.sorted = true;
        break;
    default: SendMessageW(c.hwnd, LB_SETCARETINDEX, w, arg2 & 1); break;
    }
    s.desktop.RunUntilIdle();
}

void ComboMessage(Scene& s, Reader& in) {
    const int b = in.Byte(), arg = in.Byte(), arg2 = in.Byte();
    Control& c = s.controls[(b & 1) ? kDropList : kDropDown];
    if (c.hwnd == nullptr) return;
    const int index = ItemIndex(arg, c.count);
    const WPARAM w = static_cast<WPARAM>(index);
    const bool sortedStyle = (GetWindowLongW(c.hwnd, GWL_STYLE) & CBS_SORT) != 0;
    switch ((b >> 1) % 10) {
    case 0:
    case 1:
    case 2: ChangeItems(c, (b >> 1) % 10, index, arg2, CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING); break;
    case 3: SendMessageW(c.hwnd, CB_SETCURSEL, w, 0); break;
    case 4:
        // A program may close the list and drop it again at once, before the queue
        // runs; a list it drops stays dropped until something closes it.
        if (arg2 & 2) SendMessageW(c.hwnd, CB_SHOWDROPDOWN, FALSE, 0);
        SendMessageW(c.hwnd, CB_SHOWDROPDOWN, arg2 & 1, 0);
        s.desktop.RunUntilIdle();
        if ((arg2 & 1) != 0 && IsWindow(c.hwnd)) {
            Check(SendMessageW(c.hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE, "a list the program drops stays dropped");
        }
        break;
    case 5: {
        const int length = static_cast<int>(SendMessageW(c.hwnd, WM_GETTEXTLENGTH, 0, 0));
        const auto from = static_cast<WORD>(TextPosition(arg, length));
        const auto to = static_cast<WORD>(TextPosition(arg2, length));
        SendMessageW(c.hwnd, CB_SETEDITSEL, 0, MAKELPARAM(from, to));
        break;
    }
    case 6: SendMessageW(c.hwnd, CB_LIMITTEXT, static_cast<WPARAM>(arg % 12), 0); break;
    case 7:
        SendMessageW(c.hwnd, CB_RESETCONTENT, 0, 0);
        c.count = 0;
        c.sorted = sortedStyle;
        break;
    case 8: SendMessageW(c.hwnd, WM_SETTEXT, 0, TextParam(Text(arg2))); break;
    default: SendMessageW(c.hwnd, CB_SELECTSTRING, w, TextParam(Text(arg2).substr(0, arg2 % 3))); break;
    }
    s.desktop.RunUntilIdle();
}

// A new font, a new place or size (down to nothing), or the control destroyed: now,
// or by the parent at its next notification of a code the input names.
void WindowMessage(Scene& s, Reader& in) {
    const int b = in.Byte(), arg = in.Byte(), arg2 = in.Byte();
    const int slot = (b >> 2) % kSlots;
    const HWND hwnd = s.controls[slot].hwnd;
    if (hwnd == nullptr) return;
    switch (b % 4) {
    case 0: {
        const HFONT fonts[] = {nullptr, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), s.bigFont};
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[arg % 3]), arg2 & 1);
        break;
    }
    case 1: {
        RECT r{};
        GetWindowRect(hwnd, &r);
        POINT p{r.left, r.top};
        ScreenToClient(s.parent, &p);
        if (arg & 0x80) {
            MoveWindow(hwnd, p.x, p.y, (arg & 0x7F) * 3, arg2, TRUE);
        } else {
            MoveWindow(hwnd, arg % 400, arg2 % 300, r.right - r.left, r.bottom - r.top, TRUE);
        }
        break;
    }
    case 2: {
        static const WORD kCodes[] = {EN_CHANGE,      EN_UPDATE,      EN_KILLFOCUS,  EN_SETFOCUS,
                                      EN_MAXTEXT,     EN_HSCROLL,     LBN_SELCHANGE, LBN_DBLCLK,
                                      LBN_SETFOCUS,   LBN_KILLFOCUS,  CBN_DROPDOWN,  CBN_CLOSEUP,
                                      CBN_SELENDOK,   CBN_SELENDCANCEL, CBN_EDITCHANGE, CBN_EDITUPDATE};
        s.doomed = slot;
        s.doomCode = kCodes[arg % (sizeof(kCodes) / sizeof(kCodes[0]))];
        break;
    }
    default: DestroyWindow(hwnd); break;
    }
    s.desktop.RunUntilIdle();
}

void Clipboard(Scene& s, Reader& in) {
    const std::u16string& text = Text(in.Byte());
    s.desktop.SetClipboardText(text);
}

// What the user sees of the controls' state: selections, scroll positions,
// current items and dropped lists.
std::vector<LRESULT> Looks(const Scene& s) {
    std::vector<LRESULT> looks;
    for (const Control& c : s.controls) {
        if (c.hwnd == nullptr) continue;
        if (c.edit != nullptr) {
            DWORD start = 0, end = 0;
            SendMessageW(c.edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            looks.insert(looks.end(), {static_cast<LRESULT>(start), static_cast<LRESULT>(end),
                                       SendMessageW(c.edit, EM_GETFIRSTVISIBLELINE, 0, 0)});
        }
        if (c.edit != c.hwnd) {
            const bool combo = c.list != nullptr;
            looks.insert(looks.end(), {SendMessageW(c.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0),
                                       SendMessageW(c.hwnd, combo ? CB_GETTOPINDEX : LB_GETTOPINDEX, 0, 0),
                                       combo ? SendMessageW(c.hwnd, CB_GETDROPPEDSTATE, 0, 0) : 0});
        }
    }
    return looks;
}

// Time passing with no input: the timers of a drag that has ended must be gone,
// so nothing the user sees moves.
void Wait(Scene& s, Reader& in) {
    const std::vector<LRESULT> before = Looks(s);
    s.desktop.AdvanceClock(static_cast<DWORD>(in.Byte() * 20));
    Check(Looks(s) == before, "time alone changes no selection, scroll position or dropped list");
}

// Opcodes: 0 focus (SetFocus or Tab); 1-3 a key with modifiers (key, modifiers);
// 4-5 typed text; 6-7 the mouse (kind, where, x, y; a drag five more); 8 time
// passing; 9-10 an edit box's message (message, two arguments); 11 the list box's
// (message, index, argument); 12-13 a combo box's (message, index, argument);
// 14 a font, a move or resize, or destruction (what and which, two arguments);
// 15 the clipboard's text.
void RunAction(Scene& s, Reader& in) {
    const int op = in.Byte() % 16;
    if (op == 0) {
        Focus(s, in);
    } else if (op <= 3) {
        Key(s, in);
    } else if (op <= 5) {
        Type(s, in);
    } else if (op <= 7) {
        Mouse(s, in);
    } else if (op == 8) {
        Wait(s, in);
    } else if (op <= 10) {
        EditMessage(s, in);
    } else if (op == 11) {
        ListMessage(s, in);
    } else if (op <= 13) {
        ComboMessage(s, in);
    } else if (op == 14) {
        WindowMessage(s, in);
    } else {
        Clipboard(s, in);
    }
}

// ---- Invariants --------------------------------------------------------------------------

std::u16string WindowText(HWND hwnd) {
    std::u16string text(static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int SmallLetters(const std::u16string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char16_t c) { return c >= u'a' && c <= u'z'; }));
}

EditBefore Snapshot(HWND edit) {
    EditBefore b;
    if (edit == nullptr) return b;
    b.text = WindowText(edit);
    b.readOnly = (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0;
    return b;
}

void CheckEditSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    Check(start <= end && end <= length, "an edit box's selection lies inside its text");
    // Its lines cover the text from the start, in order, each inside it.
    const auto lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    Check(lines >= 1 && SendMessageW(edit, EM_LINEINDEX, 0, 0) == 0, "an edit box has a first line at the start");
    LRESULT previous = 0;
    for (int i = 0; i < lines; ++i) {
        const LRESULT index = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        const LRESULT size = SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(index), 0);
        Check(index >= previous && size >= 0 && static_cast<DWORD>(index + size) <= length,
              "an edit box's lines follow one another inside its text");
        previous = index;
    }
    Check(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(lines), 0) == -1,
          "an edit box has no line past its last");
    if (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) {
        Check(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) < lines, "an edit box shows one of its lines first");
    }
}

// What an action did to a standalone edit box's text. The program's WM_SETTEXT
// and an undo may put in any text; otherwise text grows only up to the limit, in
// capitals with ES_UPPERCASE, never from a typed non-digit with ES_NUMBER, and a
// read-only box changes only by EM_REPLACESEL.
void CheckEditText(const Scene& s, HWND edit, const EditBefore& before) {
    const std::u16string after = WindowText(edit);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE));
    if (s.programSet) return;
    if (before.readOnly && !s.programEdit) Check(after == before.text, "a read-only box keeps its text");
    const auto limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    if (after.size() > before.text.size()) {
        Check(after.size() <= limit, "an edit box's text grows only up to its limit");
    }
    if (style & ES_UPPERCASE) {
        Check(SmallLetters(after) <= SmallLetters(before.text), "an ES_UPPERCASE box takes no small letters");
    }
    if ((style & ES_NUMBER) && s.typedNonDigit && GetFocus() == edit) {
        Check(after == before.text, "an ES_NUMBER box takes no typed character but digits");
    }
}

bool InOrder(const std::u16string& a, const std::u16string& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) != CSTR_GREATER_THAN;
}

std::u16string ItemText(HWND hwnd, UINT lenMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(hwnd, lenMessage, static_cast<WPARAM>(index), 0);
    Check(length >= 0, "an item of the list has a text");
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(hwnd, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CheckItems(const Control& c, bool combo) {
    const UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const int count = static_cast<int>(SendMessageW(c.hwnd, getCount, 0, 0));
    Check(count == c.count, "a list holds what was added less what was removed");
    const auto cur = static_cast<int>(SendMessageW(c.hwnd, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    Check(cur == -1 || (cur >= 0 && cur < count), "the current item is none or one of the items");
    const auto top = static_cast<int>(SendMessageW(c.hwnd, combo ? CB_GETTOPINDEX : LB_GETTOPINDEX, 0, 0));
    Check(top >= 0 && (top < count || top == 0), "the top item is one of the items");
    if (!combo) {
        const auto caret = static_cast<int>(SendMessageW(c.hwnd, LB_GETCARETINDEX, 0, 0));
        const auto anchor = static_cast<int>(SendMessageW(c.hwnd, LB_GETANCHORINDEX, 0, 0));
        const auto selected = static_cast<int>(SendMessageW(c.hwnd, LB_GETSELCOUNT, 0, 0));
        Check(caret >= 0 && (caret < count || caret == 0), "the focus rectangle is on one of the items");
        Check(anchor >= 0 && (anchor < count || anchor == 0), "the anchor is one of the items");
        Check(selected >= 0 && selected <= count, "no more items are selected than there are");
    }
    if (!c.sorted) return;
    const UINT len = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, text = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::u16string previous;
    for (int i = 0; i < count; ++i) {
        std::u16string item = ItemText(c.hwnd, len, text, i);
        if (i > 0) Check(InOrder(previous, item), "a sorted list keeps its items in order");
        previous = std::move(item);
    }
}

void CheckInvariants(Scene& s, const EditBefore (&before)[2]) {
    s.Refresh();
    for (int i : {kSingle, kMulti}) {
        if (s.controls[i].hwnd == nullptr) continue;
        CheckEditSelection(s.controls[i].hwnd);
        CheckEditText(s, s.controls[i].hwnd, before[i]);
    }
    if (s.controls[kDropDown].hwnd != nullptr) CheckEditSelection(s.controls[kDropDown].edit);
    if (s.controls[kList].hwnd != nullptr) CheckItems(s.controls[kList], false);
    int dropped = 0;
    for (int i : {kDropDown, kDropList}) {
        const Control& c = s.controls[i];
        if (c.hwnd == nullptr) continue;
        CheckItems(c, true);
        const bool says = SendMessageW(c.hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        const bool shows = IsWindowVisible(c.list) != FALSE;
        Check(says == shows, "a combo box's list shows exactly when it says it is dropped");
        dropped += shows ? 1 : 0;
    }
    Check(dropped <= 1, "at most one list is dropped");
    const HWND capture = GetCapture();
    Check(capture == nullptr ||
              ((capture == s.controls[kDropDown].list || capture == s.controls[kDropList].list) &&
               IsWindowVisible(capture)),
          "with the buttons up only a dropped list holds the capture");
    const HWND focus = GetFocus();
    Check(focus == nullptr || IsWindow(focus), "the focus is on a window that lives");
    for (HWND w : s.Windows()) Check(s.made.count(w) != 0, "every window is one the scene made");
}

Scene& TheScene() {
    static Scene* scene = new Scene;
    return *scene;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scene& s = TheScene();
    Reader in(data, size);
    const int styles = in.Byte();
    s.Build(styles, in.Byte());
    for (int n = 0; n < kMaxActions && !in.AtEnd(); ++n) {
        s.programSet = s.programEdit = s.typedNonDigit = false;
        const EditBefore before[2] = {Snapshot(s.controls[kSingle].hwnd), Snapshot(s.controls[kMulti].hwnd)};
        RunAction(s, in);
        CheckInvariants(s, before);
    }
    s.TearDown();
    Check(s.Windows().empty(), "no window outlives the parent");
    return 0;
}
