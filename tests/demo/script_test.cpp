// The script parser: what each good line becomes, and which line a bad script
// stops at and why.
#include <gtest/gtest.h>

#include <sstream>

#include "demo/script.h"
#include "framework/core/utf.h"
#include "framework/window/virtual_keys.h"

namespace tq3::test {
namespace {

using demo::Command;
using demo::Op;
using demo::ParseScript;
using demo::Target;

// One line's command, described in a way a failing expectation can print.
std::string Describe(const Command& c) {
    std::ostringstream out;
    out << "op" << static_cast<int>(c.op) << " vk" << c.vk << " mod" << c.modifiers << " btn"
        << static_cast<int>(c.button) << " n" << c.number << " text[" << tq3::fw::ToUtf8(c.text) << "] word[" << c.word
        << "] title[" << tq3::fw::ToUtf8(c.title) << "]";
    for (const Target& t : {c.target, c.target2})
        out << " kind" << static_cast<int>(t.kind) << "(" << t.a << "," << t.b << "," << tq3::fw::ToUtf8(t.name) << ")";
    return out.str();
}

Command Make(Op op) {
    Command c;
    c.op = op;
    return c;
}

TEST(ScriptTest, GoodLinesBecomeCommands) {
    struct Case {
        const char* line;
        Command expected;
    };
    auto key = [](int vk, UINT modifiers) {
        Command c = Make(Op::Key);
        c.vk = vk;
        c.modifiers = modifiers;
        return c;
    };
    auto mouse = [](Op op, demo::MouseButton button, UINT modifiers, Target t, Target t2 = {}) {
        Command c = Make(op);
        c.button = button;
        c.modifiers = modifiers;
        c.target = t;
        c.target2 = t2;
        return c;
    };
    auto text = [](Op op, const char16_t* t) {
        Command c = Make(op);
        c.text = t;
        return c;
    };
    auto word = [](Op op, const char* w, Target t = {}, const char16_t* txt = u"") {
        Command c = Make(op);
        c.word = w;
        c.target = t;
        c.text = txt;
        return c;
    };
    // An answer: its word, the control's id, its operand (a check box's state or an
    // entry's index), the typed text or menu item, and the window's title.
    auto answer = [](const char* w, int id, int operand, const char16_t* txt, const char16_t* title) {
        Command c = Make(Op::Answer);
        c.word = w;
        c.number = id;
        c.target.a = operand;
        c.text = txt;
        c.title = title;
        return c;
    };
    auto number = [](Op op, int n, Target t = {}) {
        Command c = Make(op);
        c.number = n;
        c.target = t;
        return c;
    };
    using K = Target::Kind;
    using B = demo::MouseButton;
    const Case cases[] = {
        {"key ctrl+shift+End", key(VK_END, demo::kCtrlKey | demo::kShiftKey)},
        {"KEY pagedown", key(VK_NEXT, 0)},
        {"key ctrl++", key(VK_OEM_PLUS, demo::kCtrlKey)},
        {"key num7", key(VK_NUMPAD0 + 7, 0)},
        {"type  Tank 3\\tlevel \"high", text(Op::Type, u" Tank 3\tlevel \"high")},
        {"click 10 20", mouse(Op::Click, B::Left, 0, Target{K::Point, 10, 20, u""})},
        {"rclick shift cell 4 2", mouse(Op::Click, B::Right, demo::kShiftKey, Target{K::Cell, 4, 2, u""})},
        {"click tab \"I/O points\"", mouse(Op::Click, B::Left, 0, Target{K::Tab, 0, 0, u"I/O points"})},
        {"click tab #2", mouse(Op::Click, B::Left, 0, Target{K::Tab, 2, 0, u""})},
        {"click ctrl column 3", mouse(Op::Click, B::Left, demo::kCtrlKey, Target{K::Column, 3, 0, u""})},
        {"drag divider 2 to 400 8",
         mouse(Op::Drag, B::Left, 0, Target{K::Divider, 2, 0, u""}, Target{K::Point, 400, 8, u""})},
        {"drag cell 1 1 to cell 5 3",
         mouse(Op::Drag, B::Left, 0, Target{K::Cell, 1, 1, u""}, Target{K::Cell, 5, 3, u""})},
        {"wheel +2 cell 10 0", number(Op::Wheel, 2, Target{K::Cell, 10, 0, u""})},
        {"clipboard set a\\tb\\r\\nc", text(Op::ClipboardSet, u"a\tb\r\nc")},
        {"clipboard get", Make(Op::ClipboardGet)},
        {"answer yes \"Find and Replace\"", answer("yes", 0, 0, u"", u"Find and Replace")},
        {"answer click 1004", answer("click", 1004, 0, u"", u"")},
        {"answer CHECK 1011 on Find", answer("check", 1011, 1, u"", u"Find")},
        {"answer check 1012 off", answer("check", 1012, 0, u"", u"")},
        {"answer type 1005 \"a b\" \"Replace\"", answer("type", 1005, 0, u"a b", u"Replace")},
        {"answer choose 1010 3", answer("choose", 1010, 3, u"", u"")},
        {"answer item \"Font...\"", answer("item", 0, 0, u"Font...", u"")},
        {"press divider 1", mouse(Op::Press, B::Left, 0, Target{K::Divider, 1, 0, u""})},
        {"move 470 8", mouse(Op::Move, B::Left, 0, Target{K::Point, 470, 8, u""})},
        {"release shift corner", mouse(Op::Release, B::Left, demo::kShiftKey, Target{K::Corner, 0, 0, u""})},
        {"answer screenshot menu", word(Op::Answer, "screenshot", {}, u"menu.png")},
        {"answer picture dialog.png", word(Op::Answer, "picture", {}, u"dialog.png")},
        {"wait 1500", number(Op::Wait, 1500)},
        {"sheet \"設備一覧\"", Command{0, Op::Sheet, 0, 0, B::Left, Target{K::Tab, 0, 0, u"設備一覧"}, {}, 0, u"", "", u""}},
        {"language JPN", number(Op::Language, 1)},
        {"report hooks", word(Op::Report, "hooks")},
        {"report cell 3 4", word(Op::Report, "cell", Target{K::Cell, 3, 4, u""})},
        {"report PANE", word(Op::Report, "pane")},
        {"drag gripper to frame Right",
         mouse(Op::Drag, B::Left, 0, Target{K::Gripper, 0, 0, u""}, Target{K::FrameSide, Target::kRight, 0, u""})},
        {"drag caption to frame 700 -3",
         mouse(Op::Drag, B::Left, 0, Target{K::Caption, 0, 0, u""}, Target{K::FramePoint, 700, -3, u""})},
        {"press edge", mouse(Op::Press, B::Left, 0, Target{K::SizingEdge, 0, 0, u""})},
        {"click close", mouse(Op::Click, B::Left, 0, Target{K::CloseButton, 0, 0, u""})},
        {"screenshot tour-1", text(Op::Screenshot, u"tour-1.png")},
    };
    for (const Case& c : cases) {
        demo::ParsedScript script = ParseScript(std::string("# a comment\n\n") + c.line + "\n");
        ASSERT_TRUE(script.error.empty()) << c.line << ": " << script.error;
        ASSERT_EQ(script.commands.size(), 1u) << c.line;
        EXPECT_EQ(script.commands[0].line, 3) << c.line;
        Command expected = c.expected;
        expected.line = 3;
        EXPECT_EQ(Describe(script.commands[0]), Describe(expected)) << c.line;
    }
}

TEST(ScriptTest, BadLinesStopTheScriptNamingLineAndReason) {
    struct Case {
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        {"jump 3", "unknown command 'jump'"},
        {"key", "expected key"},
        {"key ctrl+Foo", "unknown key 'Foo'"},
        {"key super+a", "unknown modifier"},
        {"type", "expected type TEXT"},
        {"click", "expected a target"},
        {"click cell 1", "expected cell LINE COLUMN"},
        {"click cell -1 2", "'-1' is not an index"},
        {"click tab #x", "'#x' is not a tab index"},
        {"click nowhere", "unknown target 'nowhere'"},
        {"click cell 1 2 3", "unexpected '3'"},
        {"drag cell 1 1 cell 2 2", "expected 'to'"},
        {"wheel 0", "expected wheel NOTCHES"},
        {"clipboard", "expected clipboard set TEXT or clipboard get"},
        {"answer maybe", "unknown answer 'maybe'"},
        {"answer click", "expected answer click ID"},
        {"answer check 1011 maybe", "expected answer check ID on|off"},
        {"answer type 1005", "expected answer type ID TEXT"},
        {"answer choose 1010 -1", "'-1' is not an index"},
        {"answer item", "expected answer item"},
        {"answer yes a b", "expected answer BUTTON"},
        {"press", "expected a target"},
        {"move corner 3", "unexpected '3'"},
        {"drag gripper to frame", "expected frame X Y or frame top|bottom|left|right"},
        {"click frame middle", "expected frame X Y"},
        {"click frame top 3", "unexpected '3'"},
        {"answer screenshot", "expected answer screenshot NAME"},
        {"answer screenshot a/b", "without '/'"},
        {"wait soon", "'soon' is not a number"},
        {"language fr", "unknown language 'fr'"},
        {"report everything", "unknown report 'everything'"},
        {"screenshot ../escape", "without '/'"},
        {"sheet \"unclosed", "a quoted word is not closed"},
    };
    for (const Case& c : cases) {
        demo::ParsedScript script = ParseScript(std::string("key F2\nwait 10\n") + c.line + "\nkey F3\n");
        EXPECT_TRUE(script.commands.empty()) << c.line;
        EXPECT_EQ(script.error.rfind("line 3: ", 0), 0u) << c.line << " gave: " << script.error;
        EXPECT_NE(script.error.find(c.reason), std::string::npos) << c.line << " gave: " << script.error;
    }
    // Reports show control characters escaped.
    EXPECT_EQ(demo::EscapeForReport(u"a\tb\r\n\\c 日本"), "a\\tb\\r\\n\\\\c 日本");
}

}  // namespace
}  // namespace tq3::test
