// The state of an "EDIT" control and the functions its files share. Private to
// framework/controls/.
//
// The control is spread over four files:
//   edit_control.cpp  the procedure: dispatch, the text and EM_* messages, focus,
//                     clipboard and undo, notifications
//   edit_input.cpp    keys, typed characters and the mouse
//   edit_paint.cpp    geometry (positions to points and back), scrolling, the
//                     caret and painting
//   edit_text.cpp     the text buffer: lines, measured positions, changes and the
//                     undo step, caret steps and words
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/controls/controls_internal.h"
#include "framework/controls/edit.h"

namespace tq3::fw::controls::edit {

// The one change that EM_UNDO takes back: at `pos` the text held `removed`, and
// now holds `insertedLength` code units instead. Undoing swaps the two, so a
// second undo redoes.
struct UndoStep {
    bool available = false;      // EM_CANUNDO
    std::size_t pos = 0;         // where the change began
    std::size_t insertedLength = 0;  // code units the change put at `pos`
    std::u16string removed;      // what the change took away from `pos`
    bool typing = false;         // made by typed characters, which the next typed character extends
};

// Everything the control knows; the window text lives here, not in the window
// manager, so that WM_GETTEXT answers from the one copy.
struct EditState {
    std::u16string text;                 // UTF-16; lines of a multiline box end in "\r\n"
    std::vector<std::size_t> lineStarts{0};  // index where each line begins (always one line at least)
    std::vector<int> xs{0};              // xs[i]: pixels from its line's start to position i (text.size() + 1 entries)
    std::size_t anchor = 0;              // the fixed end of the selection
    std::size_t caret = 0;               // the moving end of the selection, where the caret is
    std::size_t limit = 30000;           // most code units the user may enter (EM_LIMITTEXT)
    UndoStep undo;                       // the change EM_UNDO takes back
    bool modified = false;               // EM_GETMODIFY: the user changed the text since it was set
    HFONT font = nullptr;                // from WM_SETFONT; null draws with the dialog font
    std::unordered_map<char32_t, int> advances;  // measured width of each character seen in `font`
    int lineHeight = 16;                 // height of one line in `font`
    int averageWidth = 7;                // the font's average character width (margins, page steps)
    int leftMargin = 1;                  // pixels kept clear left of the text (EM_SETMARGINS)
    int rightMargin = 1;                 // pixels kept clear right of the text
    int xOffset = 0;                     // pixels of text scrolled out on the left
    std::size_t topLine = 0;             // first line shown (multiline)
    WCHAR passwordChar = 0;              // shown for each character instead of the text; 0: the text shows
    bool focused = false;                // holds the keyboard focus (and the caret)
    bool tracking = false;               // the left button went down in it and it holds the capture
    bool autoScrollTimer = false;        // the timer that scrolls while the mouse drags outside runs
    bool wordTracking = false;           // the drag began with a double click: it selects whole words
    std::size_t wordStart = 0;           // with wordTracking: the word the double click chose
    std::size_t wordEnd = 0;
    WCHAR pendingHigh = 0;               // the first half of a surrogate pair typed as two characters
    int desiredX = -1;                   // multiline: the x that Up and Down keep to; -1: the caret's own
};

inline bool IsMultiline(HWND hwnd) { return (StyleOf(hwnd) & ES_MULTILINE) != 0; }
inline std::size_t SelStart(const EditState& st) { return st.anchor < st.caret ? st.anchor : st.caret; }
inline std::size_t SelEnd(const EditState& st) { return st.anchor < st.caret ? st.caret : st.anchor; }

// ---- edit_text.cpp ------------------------------------------------------------------

// The line holding position `pos`, and the bounds of a line (the end excludes its
// line break).
std::size_t LineOf(const EditState& st, std::size_t pos);
std::size_t LineEnd(const EditState& st, std::size_t line);
// Pixels from the line's start to its end.
int LineWidth(const EditState& st, std::size_t line);

// One caret step forward or back from `pos`: a surrogate pair and a line break
// are single steps.
std::size_t NextPos(const EditState& st, std::size_t pos);
std::size_t PrevPos(const EditState& st, std::size_t pos);
// Word boundaries for Ctrl with the arrows and for a double click.
std::size_t WordLeft(const EditState& st, std::size_t pos);
std::size_t WordRight(const EditState& st, std::size_t pos);
std::size_t WordEndAt(const EditState& st, std::size_t pos);

// Replaces text[pos, pos + length) with `insert`. Either everything changes (the
// text, its lines and measures, the undo step when `recordUndo`) or, when memory
// or measuring fails, nothing does and the answer is false.
bool ReplaceRange(HWND hwnd, EditState& st, std::size_t pos, std::size_t length, std::u16string_view insert,
                  bool recordUndo, bool typing);
// Measures the whole text again (a new font or password character); false
// leaves the old measures.
bool Remeasure(HWND hwnd, EditState& st);
// Width of `text` drawn on one line in the box's font; -1 when it cannot be measured.
int TextWidth(HWND hwnd, EditState& st, std::u16string_view text);

// ---- edit_paint.cpp -----------------------------------------------------------------

// The rectangle text is laid out in: the client area less the margins.
RECT FormatRect(HWND hwnd, const EditState& st);
int VisibleLines(HWND hwnd, const EditState& st);
// Client point of the top-left corner of position `pos`, and the position
// nearest to a client point.
POINT PointOf(HWND hwnd, const EditState& st, std::size_t pos);
std::size_t PosAtPoint(HWND hwnd, const EditState& st, POINT pt);
// Scrolls so that the caret shows; true when the text moved sideways.
bool ScrollToCaret(HWND hwnd, EditState& st);
// Puts the system caret where the selection's moving end is (when focused).
void PlaceCaret(HWND hwnd, const EditState& st);
// The vertical scroll bar of a multiline box, set from the lines and the view.
void UpdateScrollBar(HWND hwnd, const EditState& st);
LRESULT OnPaint(HWND hwnd, EditState* st);
// Re-reads the font's line height and average width.
void ReadFontMetrics(HWND hwnd, EditState& st);

// ---- edit_input.cpp -----------------------------------------------------------------

LRESULT OnKeyDown(HWND hwnd, EditState* st, WPARAM key);
LRESULT OnChar(HWND hwnd, EditState* st, WCHAR ch);
LRESULT OnButtonDown(HWND hwnd, EditState* st, UINT message, WPARAM keys, LPARAM lParam);
LRESULT OnMouseMove(HWND hwnd, EditState* st, LPARAM lParam);
LRESULT OnButtonUp(HWND hwnd, EditState* st);
LRESULT OnTimer(HWND hwnd, EditState* st, WPARAM id);
LRESULT OnVScroll(HWND hwnd, EditState* st, WPARAM wParam);
LRESULT OnMouseWheel(HWND hwnd, EditState* st, WPARAM wParam);

// ---- edit_control.cpp ---------------------------------------------------------------

// Moves the selection to anchor..caret (clamped), scrolls the caret into view and
// repaints. The parent hears EN_HSCROLL when the text moved sideways; this is
// then the last thing the caller may do with the control.
void SetSelection(HWND hwnd, EditState* st, std::size_t anchor, std::size_t caret);
// Who changes the text: typed characters (which one undo step gathers), another
// change of the user's (deleting, cutting, pasting), or the program
// (EM_REPLACESEL, which a read-only box accepts too).
enum class Source { Typing, User, Program };
// Replaces the selection with `insert` as the case styles and the limit allow,
// then notifies the parent (EN_MAXTEXT when the limit cut it, EN_ERRSPACE when
// memory ran out, else EN_HSCROLL when it scrolled, EN_UPDATE, EN_CHANGE). The
// last thing a handler does.
void UserReplace(HWND hwnd, EditState* st, std::u16string_view insert, Source source, bool recordUndo = true);
// What WM_UNDO and EM_UNDO do, and Ctrl+Z.
LRESULT Undo(HWND hwnd, EditState* st);
// Repaints the whole box when it next paints.
void Redraw(HWND hwnd);

}  // namespace tq3::fw::controls::edit
