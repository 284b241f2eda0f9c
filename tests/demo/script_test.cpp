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
    out << "line" << c.line << " op" << static_cast<int>(c.op) << " vk" << c.vk << " mod" << c.modifiers << " btn"
        << static_cast<int>(c.button) << " n" << c.number << " text[" << tq3::fw::ToUtf8(c.text) << "] word[" << c.word
        << "] title[" << tq3::fw::ToUtf8(c.title) << "]";
    for (const Target& t : {c.target, c.target2})
        out << " kind" << static_cast<int>(t.kind) << "(" << t.a << "," << t.b << "," << tq3::fw::ToUtf8(t.name) << ")";
    return out.str();
}

Target T(Target::Kind kind, int a = 0, int b = 0, const char16_t* name = u"") { return Target{kind, a, b, name}; }

TEST(ScriptTest, GoodLinesBecomeCommands) {
    using K = Target::Kind;
    constexpr UINT kCtrl = demo::kCtrlKey, kShift = demo::kShiftKey;
    // Each row names only the fields its line sets; the others keep their defaults.
    // An answer: its word, the control's id (number), its operand (target.a: a
    // check box's state or an entry's index), the typed text or menu item, and the
    // window's title.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
    const std::pair<const char*, Command> cases[] = {
        {"key ctrl+shift+End", {.vk = VK_END, .modifiers = kCtrl | kShift}},
        {"KEY pagedown", {.vk = VK_NEXT}},
        {"key ctrl++", {.vk = VK_OEM_PLUS, .modifiers = kCtrl}},
        {"key num7", {.vk = VK_NUMPAD0 + 7}},
        {"type  Tank 3\\tlevel \"high", {.op = Op::Type, .text = u" Tank 3\tlevel \"high"}},
        {"click 10 20", {.op = Op::Click, .target = T(K::Point, 10, 20)}},
        {"rclick shift cell 4 2",
         {.op = Op::Click, .modifiers = kShift, .button = demo::MouseButton::Right, .target = T(K::Cell, 4, 2)}},
        {"click tab \"I/O points\"", {.op = Op::Click, .target = T(K::Tab, 0, 0, u"I/O points")}},
        {"click tab #2", {.op = Op::Click, .target = T(K::Tab, 2)}},
        {"click ctrl column 3", {.op = Op::Click, .modifiers = kCtrl, .target = T(K::Column, 3)}},
        {"drag divider 2 to 400 8", {.op = Op::Drag, .target = T(K::Divider, 2), .target2 = T(K::Point, 400, 8)}},
        {"drag cell 1 1 to cell 5 3", {.op = Op::Drag, .target = T(K::Cell, 1, 1), .target2 = T(K::Cell, 5, 3)}},
        {"wheel +2 cell 10 0", {.op = Op::Wheel, .target = T(K::Cell, 10, 0), .number = 2}},
        {"clipboard set a\\tb\\r\\nc", {.op = Op::ClipboardSet, .text = u"a\tb\r\nc"}},
        {"clipboard get", {.op = Op::ClipboardGet}},
        {"answer yes \"Find and Replace\"", {.op = Op::Answer, .word = "yes", .title = u"Find and Replace"}},
        {"answer click 1004", {.op = Op::Answer, .number = 1004, .word = "click"}},
        {"answer CHECK 1011 on Find",
         {.op = Op::Answer, .target = T(K::View, 1), .number = 1011, .word = "check", .title = u"Find"}},
        {"answer check 1012 off", {.op = Op::Answer, .number = 1012, .word = "check"}},
        {"answer type 1005 \"a b\" \"Replace\"",
         {.op = Op::Answer, .number = 1005, .text = u"a b", .word = "type", .title = u"Replace"}},
        {"answer choose 1010 3", {.op = Op::Answer, .target = T(K::View, 3), .number = 1010, .word = "choose"}},
        {"answer item \"Font...\"", {.op = Op::Answer, .text = u"Font...", .word = "item"}},
        {"press divider 1", {.op = Op::Press, .target = T(K::Divider, 1)}},
        {"move 470 8", {.op = Op::Move, .target = T(K::Point, 470, 8)}},
        {"release shift corner", {.op = Op::Release, .modifiers = kShift, .target = T(K::Corner)}},
        {"answer screenshot menu", {.op = Op::Answer, .text = u"menu.png", .word = "screenshot"}},
        {"answer picture dialog.png", {.op = Op::Answer, .text = u"dialog.png", .word = "picture"}},
        {"wait 1500", {.op = Op::Wait, .number = 1500}},
        {"sheet \"設備一覧\"", {.op = Op::Sheet, .target = T(K::Tab, 0, 0, u"設備一覧")}},
        {"language JPN", {.op = Op::Language, .number = 1}},
        {"report hooks", {.op = Op::Report, .word = "hooks"}},
        {"report cell 3 4", {.op = Op::Report, .target = T(K::Cell, 3, 4), .word = "cell"}},
        {"report PANE", {.op = Op::Report, .word = "pane"}},
        {"drag gripper to frame Right",
         {.op = Op::Drag, .target = T(K::Gripper), .target2 = T(K::FrameSide, Target::kRight)}},
        {"drag caption to frame 700 -3",
         {.op = Op::Drag, .target = T(K::Caption), .target2 = T(K::FramePoint, 700, -3)}},
        {"press edge", {.op = Op::Press, .target = T(K::SizingEdge)}},
        {"click close", {.op = Op::Click, .target = T(K::CloseButton)}},
        {"screenshot tour-1", {.op = Op::Screenshot, .text = u"tour-1.png"}},
    };
#pragma GCC diagnostic pop
    for (const auto& [line, command] : cases) {
        demo::ParsedScript script = ParseScript(std::string("# a comment\n\n") + line + "\n");
        ASSERT_TRUE(script.error.empty()) << line << ": " << script.error;
        ASSERT_EQ(script.commands.size(), 1u) << line;
        Command expected = command;
        expected.line = 3;
        EXPECT_EQ(Describe(script.commands[0]), Describe(expected)) << line;
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
