// The demo's script language: one command per line, '#' starts a comment line.
// demo/README.md describes every command; this header holds the parsed form.
//
// Parsing checks everything that can be checked without the window (command
// names, key names, numbers, targets), so a script with a typing error stops
// before it starts, naming the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/core/wintypes.h"

namespace tq3::demo {

// Where a mouse command acts.
struct Target {
    enum class Kind {
        View,    // the centre of the cell area (the view's client area)
        Point,   // x, y in the view's client coordinates
        Cell,    // line a, column b
        Tab,     // the sheet tab with index a, or the one named `name`
        Column,  // the column header item of column a
        Divider, // the right edge of column a's header item
        Line,    // the line header row of line a
        Corner,  // the corner box, where the two headers meet
        // The table's bar and the frame around it:
        Gripper,      // the bar's gripper, while it is docked
        SizingEdge,   // the middle of the bar's sizing edge, while it is docked
        Caption,      // the caption of the bar's floating frame, while it floats
        CloseButton,  // the bar's close button, while it is docked
        FramePoint,   // x a, y b in the frame's client area
        FrameSide,    // just inside the middle of one side of the frame's client area (a: FrameSide below)
    };
    enum Side { kTop, kBottom, kLeft, kRight };
    Kind kind = Kind::View;
    int a = 0;
    int b = 0;
    std::u16string name;  // Tab: the sheet's name; empty when given by index
};

enum class Op {
    Key,           // vk with modifiers
    Type,          // text
    Click,         // target with modifiers and button
    DoubleClick,
    Drag,          // target to target2, left button
    Press,         // the left button goes down at target (a drag in steps: press, move..., release)
    Move,          // the mouse moves to target, buttons as they are
    Release,       // the left button comes up at target
    Wheel,         // number of notches (positive away from the user) at target
    ClipboardSet,  // text
    ClipboardGet,
    Answer,        // a queued reply for the next modal window: word (ok, cancel, click, type...),
                   // the control's id in number, the typed text or menu item in text, and title
    Wait,          // number of milliseconds on the clock
    Sheet,         // select the sheet of target (a Tab target) as the host would
    Language,      // number: 0-4
    Report,        // word: hooks, selection, cursor, cell (target), title, sheet, columns, scroll, font,
                   // bar, pane
    Screenshot,    // text: the file name
};

enum Modifier : UINT { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };
enum class MouseButton { Left, Right, Middle };

struct Command {
    int line = 0;  // 1-based line of the script
    Op op = Op::Key;
    int vk = 0;
    UINT modifiers = 0;
    MouseButton button = MouseButton::Left;
    Target target;
    Target target2;
    int number = 0;
    std::u16string text;
    std::string word;
    std::u16string title;  // Answer: the title of the window it is for; empty for any
};

struct ParsedScript {
    std::vector<Command> commands;
    std::string error;  // "line N: what is wrong"; empty when the whole script parsed
};

ParsedScript ParseScript(std::string_view text);

// Key names as scripts write them ("F2", "PageDown", "a", "Enter"), any case; 0
// for an unknown name.
int VirtualKeyFromName(std::string_view name);

// Escapes a text for one line of a report: \t, \r, \n and \\ written out.
std::string EscapeForReport(std::u16string_view text);

}  // namespace tq3::demo
