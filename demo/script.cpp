// Sections: key names | tokens | targets | one parser per command and the table of
// command names | ParseScript.
#include "demo/script.h"

#include <cctype>
#include <charconv>
#include <utility>
#include <new>

#include "demo/demo_texts.h"
#include "demo/text_lines.h"
#include "framework/core/utf.h"
#include "framework/window/virtual_keys.h"

namespace tq3::demo {

namespace {

std::string Lower(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// ---- key names -----------------------------------------------------------------

struct KeyName {
    const char* name;
    int vk;
};

constexpr KeyName kKeyNames[] = {
    {"enter", VK_RETURN},      {"return", VK_RETURN},  {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},
    {"tab", VK_TAB},           {"space", VK_SPACE},    {"backspace", VK_BACK}, {"delete", VK_DELETE},
    {"insert", VK_INSERT},     {"home", VK_HOME},      {"end", VK_END},       {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT},     {"up", VK_UP},          {"down", VK_DOWN},     {"left", VK_LEFT},
    {"right", VK_RIGHT},       {"numlock", VK_NUMLOCK}, {"apps", VK_APPS},    {"shift", VK_SHIFT},
    {"ctrl", VK_CONTROL},      {"alt", VK_MENU},       {"comma", VK_OEM_COMMA}, {"period", VK_OEM_PERIOD},
    {"minus", VK_OEM_MINUS},   {"plus", VK_OEM_PLUS},  {"add", VK_ADD},       {"subtract", VK_SUBTRACT},
    {"multiply", VK_MULTIPLY}, {"divide", VK_DIVIDE},  {"decimal", VK_DECIMAL},
};

// ---- tokens ----------------------------------------------------------------------

// Splits a line into words; a word in double quotes may hold spaces, with \" and
// \\ inside. False (and `error` set) for an unterminated quote.
bool Tokenize(std::string_view line, std::vector<std::string>* words, std::string* error) {
    size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) c = line[i++];
                word += c;
            }
            if (!closed) {
                *error = "a quoted word is not closed";
                return false;
            }
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words->push_back(std::move(word));
    }
    return true;
}

std::vector<std::string> SplitSpaces(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        size_t begin = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i > begin) words.emplace_back(line.substr(begin, i - begin));
    }
    return words;
}

std::string_view FirstWord(std::string_view line) {
    size_t begin = 0;
    while (begin < line.size() && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
    size_t end = begin;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
    return line.substr(begin, end - begin);
}

// The text after the command word(s): the rest of the line with one separating
// space removed, escapes \t \n \r \\ turned into their characters.
std::u16string RestOfLine(std::string_view line, size_t wordsToSkip) {
    size_t i = 0;
    for (size_t w = 0; w < wordsToSkip; ++w) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    }
    if (i < line.size() && line[i] == ' ') ++i;
    std::string text;
    for (; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\' && i + 1 < line.size()) {
            char n = line[++i];
            c = n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        }
        text += c;
    }
    return tq3::fw::Utf8ToU16(text);
}

bool ToInt(const std::string& word, int* value) {
    const char* begin = word.data();
    const char* end = begin + word.size();
    if (begin != end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, *value);
    return ec == std::errc() && ptr == end && begin != end;
}

// "shift", "ctrl+shift"...: false when any part is not a modifier.
bool ParseModifiers(const std::string& word, UINT* modifiers) {
    UINT result = 0;
    size_t start = 0;
    for (;;) {
        size_t plus = word.find('+', start);
        std::string part = Lower(word.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (part == "shift") {
            result |= kShiftKey;
        } else if (part == "ctrl" || part == "control") {
            result |= kCtrlKey;
        } else if (part == "alt") {
            result |= kAltKey;
        } else {
            return false;
        }
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    *modifiers = result;
    return true;
}

// ---- targets ---------------------------------------------------------------------

// frame X Y (the frame's client coordinates) or frame top|bottom|left|right.
bool ParseFrameTarget(const std::vector<std::string>& words, size_t* at, Target* target, std::string* error) {
    static const char* const kSides[] = {"top", "bottom", "left", "right"};
    const std::string usage = "expected frame X Y or frame top|bottom|left|right";
    if (*at + 1 >= words.size()) {
        *error = usage;
        return false;
    }
    const std::string side = Lower(words[*at + 1]);
    for (int i = 0; i < 4; ++i) {
        if (side != kSides[i]) continue;
        target->kind = Target::Kind::FrameSide;
        target->a = i;
        *at += 2;
        return true;
    }
    if (*at + 2 >= words.size() || !ToInt(words[*at + 1], &target->a) || !ToInt(words[*at + 2], &target->b)) {
        *error = usage;
        return false;
    }
    target->kind = Target::Kind::FramePoint;
    *at += 3;
    return true;
}

// Reads a target from words[*at...]; advances *at past it.
bool ParseTarget(const std::vector<std::string>& words, size_t* at, Target* target, std::string* error) {
    auto need = [&](size_t count, const char* what) {
        if (*at + count <= words.size()) return true;
        *error = std::string("expected ") + what;
        return false;
    };
    if (!need(1, "a target (X Y, view, cell L C, tab NAME, column C, divider C, line L, corner, gripper, edge, "
                 "caption, close, frame X Y or frame top|bottom|left|right)")) {
        return false;
    }
    const std::string kind = Lower(words[*at]);
    int x = 0;
    if (ToInt(words[*at], &x)) {
        if (!need(2, "X Y")) return false;
        int y = 0;
        if (!ToInt(words[*at + 1], &y)) {
            *error = "'" + words[*at + 1] + "' is not a number";
            return false;
        }
        target->kind = Target::Kind::Point;
        target->a = x;
        target->b = y;
        *at += 2;
        return true;
    }
    static const std::pair<const char*, Target::Kind> kOneWord[] = {
        {"view", Target::Kind::View},         {"corner", Target::Kind::Corner},
        {"gripper", Target::Kind::Gripper},   {"edge", Target::Kind::SizingEdge},
        {"caption", Target::Kind::Caption},   {"close", Target::Kind::CloseButton},
    };
    for (const auto& [word, oneWordKind] : kOneWord) {
        if (kind != word) continue;
        target->kind = oneWordKind;
        *at += 1;
        return true;
    }
    if (kind == "frame") return ParseFrameTarget(words, at, target, error);
    if (kind == "tab") {
        if (!need(2, "tab NAME or tab #INDEX")) return false;
        target->kind = Target::Kind::Tab;
        const std::string& name = words[*at + 1];
        if (name.size() > 1 && name[0] == '#') {
            if (!ToInt(name.substr(1), &target->a) || target->a < 0) {
                *error = "'" + name + "' is not a tab index";
                return false;
            }
        } else {
            target->name = tq3::fw::Utf8ToU16(name);
        }
        *at += 2;
        return true;
    }
    const int numbers = kind == "cell" ? 2 : (kind == "column" || kind == "line" || kind == "divider") ? 1 : 0;
    if (numbers == 0) {
        *error = "unknown target '" + words[*at] + "'";
        return false;
    }
    if (!need(1 + numbers, kind == "cell" ? "cell LINE COLUMN" : (kind + " INDEX").c_str())) return false;
    int values[2] = {0, 0};
    for (int i = 0; i < numbers; ++i) {
        const std::string& word = words[*at + 1 + i];
        if (!ToInt(word, &values[i]) || values[i] < 0) {
            *error = "'" + word + "' is not an index";
            return false;
        }
    }
    target->kind = kind == "cell"      ? Target::Kind::Cell
                   : kind == "column"  ? Target::Kind::Column
                   : kind == "divider" ? Target::Kind::Divider
                                       : Target::Kind::Line;
    target->a = values[0];
    target->b = values[1];
    *at += 1 + numbers;
    return true;
}

// ---- one line per command -------------------------------------------------------------

// What a parser is given: the line as written (texts are taken from it raw) and
// its words.
struct CommandLine {
    std::string_view raw;
    const std::vector<std::string>& words;
};

bool ExpectCount(const CommandLine& in, size_t count, const char* usage, std::string* error) {
    if (in.words.size() == count) return true;
    *error = std::string("expected ") + usage;
    return false;
}

bool ParseKey(const CommandLine& in, Command* command, std::string* error) {
    if (!ExpectCount(in, 2, "key [MODIFIERS+]NAME", error)) return false;
    const std::string& chord = in.words[1];
    size_t plus = chord.rfind('+');
    // "ctrl++" names the plus key with Ctrl held.
    if (plus != std::string::npos && plus + 1 == chord.size() && plus > 0 && chord[plus - 1] == '+') --plus;
    std::string name = plus == std::string::npos ? chord : chord.substr(plus + 1);
    if (plus != std::string::npos && !ParseModifiers(chord.substr(0, plus), &command->modifiers)) {
        *error = "unknown modifier in '" + chord + "'";
        return false;
    }
    command->vk = VirtualKeyFromName(name);
    if (command->vk == 0) {
        *error = "unknown key '" + name + "'";
        return false;
    }
    return true;
}

bool ParseType(const CommandLine& in, Command* command, std::string* error) {
    command->text = RestOfLine(in.raw, 1);
    if (command->text.empty()) *error = "expected type TEXT";
    return !command->text.empty();
}

bool ParseMouse(const CommandLine& in, Command* command, std::string* error) {
    const std::vector<std::string>& words = in.words;
    size_t at = 1;
    if (at < words.size() && ParseModifiers(words[at], &command->modifiers)) ++at;
    if (!ParseTarget(words, &at, &command->target, error)) return false;
    if (command->op == Op::Drag) {
        if (at >= words.size() || Lower(words[at]) != "to") {
            *error = "expected 'to' and a second target";
            return false;
        }
        ++at;
        if (!ParseTarget(words, &at, &command->target2, error)) return false;
    }
    if (at != words.size()) {
        *error = "unexpected '" + words[at] + "'";
        return false;
    }
    return true;
}

bool ParseWheel(const CommandLine& in, Command* command, std::string* error) {
    const std::vector<std::string>& words = in.words;
    if (words.size() < 2 || !ToInt(words[1], &command->number) || command->number == 0) {
        *error = "expected wheel NOTCHES [TARGET], NOTCHES not 0 (positive scrolls up)";
        return false;
    }
    size_t at = 2;
    if (at < words.size() && !ParseTarget(words, &at, &command->target, error)) return false;
    if (at != words.size()) {
        *error = "unexpected '" + words[at] + "'";
        return false;
    }
    return true;
}

bool ParseClipboard(const CommandLine& in, Command* command, std::string* error) {
    const std::string what = in.words.size() > 1 ? Lower(in.words[1]) : std::string();
    if (what == "set") {
        command->op = Op::ClipboardSet;
        command->text = RestOfLine(in.raw, 2);
        return true;
    }
    if (what == "get" && in.words.size() == 2) {
        command->op = Op::ClipboardGet;
        return true;
    }
    *error = "expected clipboard set TEXT or clipboard get";
    return false;
}

// A screenshot's file name, with ".png" added when it lacks it, in `command->text`.
bool ScreenshotName(const std::string& file, Command* command, std::string* error) {
    if (file.find('/') != std::string::npos || file == "." || file == "..") {
        *error = "a screenshot name is a file name in the output folder, without '/'";
        return false;
    }
    command->text =
        tq3::fw::Utf8ToU16(file.size() > 4 && file.substr(file.size() - 4) == ".png" ? file : file + ".png");
    return true;
}

constexpr const char* kAnswerWords[] = {"ok", "cancel", "yes", "no", "abort", "retry", "ignore", "enter", "escape"};

// The answers that work one control of a dialog, and the words each takes after
// the control's id (before the optional window title).
struct ControlAnswer {
    const char* word;
    size_t operands;
    const char* usage;
};
constexpr ControlAnswer kControlAnswers[] = {
    {"click", 0, "answer click ID [\"WINDOW TITLE\"]"},
    {"check", 1, "answer check ID on|off [\"WINDOW TITLE\"]"},
    {"type", 1, "answer type ID TEXT [\"WINDOW TITLE\"]"},
    {"choose", 1, "answer choose ID INDEX [\"WINDOW TITLE\"]"},
};

// answer click|check|type|choose ID ...: the control's id in `number`; the check
// box's state (1 or 0) or the list entry's index in `target.a`, the typed text in
// `text`.
bool ParseControlAnswer(const ControlAnswer& kind, const std::vector<std::string>& words, Command* command,
                        std::string* error) {
    const size_t fixed = 3 + kind.operands;
    if (words.size() < fixed || words.size() > fixed + 1 || !ToInt(words[2], &command->number) ||
        command->number < 0) {
        *error = std::string("expected ") + kind.usage;
        return false;
    }
    if (command->word == "check") {
        const std::string state = Lower(words[3]);
        if (state != "on" && state != "off") {
            *error = std::string("expected ") + kind.usage;
            return false;
        }
        command->target.a = state == "on" ? 1 : 0;
    } else if (command->word == "choose") {
        if (!ToInt(words[3], &command->target.a) || command->target.a < 0) {
            *error = "'" + words[3] + "' is not an index";
            return false;
        }
    } else if (command->word == "type") {
        command->text = tq3::fw::Utf8ToU16(words[3]);
    }
    if (words.size() == fixed + 1) command->title = tq3::fw::Utf8ToU16(words[fixed]);
    return true;
}

bool ParseAnswer(const CommandLine& in, Command* command, std::string* error) {
    const std::vector<std::string>& words = in.words;
    if (words.size() < 2) {
        *error = "expected answer BUTTON [\"WINDOW TITLE\"]";
        return false;
    }
    command->word = Lower(words[1]);
    for (const ControlAnswer& kind : kControlAnswers) {
        if (command->word == kind.word) return ParseControlAnswer(kind, words, command, error);
    }
    if (command->word == "item") {
        // answer item TEXT: the pop-up menu's item showing TEXT.
        if (words.size() != 3) {
            *error = "expected answer item \"MENU ITEM\"";
            return false;
        }
        command->text = tq3::fw::Utf8ToU16(words[2]);
        return true;
    }
    if (words.size() > 3) {
        *error = "expected answer BUTTON [\"WINDOW TITLE\"]";
        return false;
    }
    if (command->word == "screenshot" || command->word == "picture") {
        // answer screenshot NAME: the screen with the modal window on it, then
        // Escape; answer picture NAME leaves the window waiting for the next reply.
        if (words.size() != 3) {
            *error = "expected answer " + command->word + " NAME";
            return false;
        }
        return ScreenshotName(words[2], command, error);
    }
    bool known = false;
    for (const char* word : kAnswerWords) known = known || command->word == word;
    if (!known) {
        *error = "unknown answer '" + words[1] +
                 "' (ok cancel yes no abort retry ignore enter escape screenshot picture click check type choose item)";
        return false;
    }
    if (words.size() == 3) command->title = tq3::fw::Utf8ToU16(words[2]);
    return true;
}

bool ParseWait(const CommandLine& in, Command* command, std::string* error) {
    if (!ExpectCount(in, 2, "wait MILLISECONDS", error)) return false;
    if (!ToInt(in.words[1], &command->number) || command->number < 0) {
        *error = "'" + in.words[1] + "' is not a number of milliseconds";
        return false;
    }
    return true;
}

bool ParseSheet(const CommandLine& in, Command* command, std::string* error) {
    if (!ExpectCount(in, 2, "sheet NAME or sheet #INDEX", error)) return false;
    std::vector<std::string> asTab = {"tab", in.words[1]};
    size_t at = 0;
    return ParseTarget(asTab, &at, &command->target, error);
}

bool ParseLanguage(const CommandLine& in, Command* command, std::string* error) {
    if (!ExpectCount(in, 2, "language enu|jpn|chs|cht|kor", error)) return false;
    command->number = LanguageFromCode(in.words[1]);
    if (command->number < 0) *error = "unknown language '" + in.words[1] + "' (enu jpn chs cht kor)";
    return command->number >= 0;
}

bool ParseReport(const CommandLine& in, Command* command, std::string* error) {
    const std::vector<std::string>& words = in.words;
    if (words.size() < 2) {
        *error = "expected report hooks|selection|cursor|cell L C|title|sheet|columns|scroll|font|bar|pane";
        return false;
    }
    command->word = Lower(words[1]);
    if (command->word == "cell") {
        size_t at = 1;
        if (!ParseTarget(words, &at, &command->target, error)) return false;
        if (at == words.size()) return true;
    } else if (words.size() == 2 && (command->word == "hooks" || command->word == "selection" ||
                                     command->word == "cursor" || command->word == "title" || command->word == "sheet" ||
                                     command->word == "columns" || command->word == "scroll" ||
                                     command->word == "font" || command->word == "bar" ||
                                     command->word == "pane")) {
        return true;
    }
    *error = "unknown report '" + words[1] +
             "' (hooks, selection, cursor, cell L C, title, sheet, columns, scroll, font, bar, pane)";
    return false;
}

bool ParseScreenshot(const CommandLine& in, Command* command, std::string* error) {
    if (!ExpectCount(in, 2, "screenshot NAME", error)) return false;
    return ScreenshotName(in.words[1], command, error);
}

// Every command: its name as scripts write it (any case), what it does, and the
// parser that reads the rest of its line. Commands whose text runs to the end of
// the line take their words raw, so a lone quote in the text is just a character.
struct CommandSyntax {
    const char* name;
    Op op;
    MouseButton button;
    bool rawWords;
    bool (*parse)(const CommandLine& in, Command* command, std::string* error);
};

constexpr CommandSyntax kCommands[] = {
    {"key", Op::Key, MouseButton::Left, false, ParseKey},
    {"type", Op::Type, MouseButton::Left, true, ParseType},
    {"click", Op::Click, MouseButton::Left, false, ParseMouse},
    {"rclick", Op::Click, MouseButton::Right, false, ParseMouse},
    {"mclick", Op::Click, MouseButton::Middle, false, ParseMouse},
    {"dblclick", Op::DoubleClick, MouseButton::Left, false, ParseMouse},
    {"drag", Op::Drag, MouseButton::Left, false, ParseMouse},
    {"press", Op::Press, MouseButton::Left, false, ParseMouse},
    {"move", Op::Move, MouseButton::Left, false, ParseMouse},
    {"release", Op::Release, MouseButton::Left, false, ParseMouse},
    {"wheel", Op::Wheel, MouseButton::Left, false, ParseWheel},
    {"clipboard", Op::ClipboardSet, MouseButton::Left, true, ParseClipboard},
    {"answer", Op::Answer, MouseButton::Left, false, ParseAnswer},
    {"wait", Op::Wait, MouseButton::Left, false, ParseWait},
    {"sheet", Op::Sheet, MouseButton::Left, false, ParseSheet},
    {"language", Op::Language, MouseButton::Left, false, ParseLanguage},
    {"report", Op::Report, MouseButton::Left, false, ParseReport},
    {"screenshot", Op::Screenshot, MouseButton::Left, false, ParseScreenshot},
};

const CommandSyntax* FindCommand(std::string_view word) {
    const std::string name = Lower(word);
    for (const CommandSyntax& syntax : kCommands) {
        if (name == syntax.name) return &syntax;
    }
    return nullptr;
}

// One command line: its words (a comment or an empty line gives none) and the
// command they make. False with `error` set when the line is wrong.
bool ParseLine(std::string_view line, std::vector<std::string>* words, Command* command, std::string* error) {
    const CommandSyntax* syntax = FindCommand(FirstWord(line));
    if (syntax != nullptr && syntax->rawWords) {
        *words = SplitSpaces(line);
    } else if (!Tokenize(line, words, error)) {
        return false;
    }
    if (words->empty() || (*words)[0][0] == '#') return true;
    if (syntax == nullptr) {
        *error = "unknown command '" + (*words)[0] + "'";
        return false;
    }
    command->op = syntax->op;
    command->button = syntax->button;
    return syntax->parse(CommandLine{line, *words}, command, error);
}

}  // namespace

int VirtualKeyFromName(std::string_view name) {
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        switch (c) {  // the US layout's punctuation keys
            case '+': case '=': return VK_OEM_PLUS;
            case '-': return VK_OEM_MINUS;
            case ',': return VK_OEM_COMMA;
            case '.': return VK_OEM_PERIOD;
            case ';': return VK_OEM_1;
            case '/': return VK_OEM_2;
            case '`': return VK_OEM_3;
            case '[': return VK_OEM_4;
            case '\\': return VK_OEM_5;
            case ']': return VK_OEM_6;
            case '\'': return VK_OEM_7;
            default: break;
        }
    }
    const std::string lower = Lower(name);
    if (lower.size() >= 2 && lower[0] == 'f') {
        int number = 0;
        if (ToInt(lower.substr(1), &number) && number >= 1 && number <= 24) return VK_F1 + number - 1;
    }
    if (lower.size() == 4 && lower.compare(0, 3, "num") == 0 && lower[3] >= '0' && lower[3] <= '9') {
        return VK_NUMPAD0 + (lower[3] - '0');
    }
    for (const KeyName& key : kKeyNames) {
        if (lower == key.name) return key.vk;
    }
    return 0;
}

std::string EscapeForReport(std::u16string_view text) {
    std::string out;
    for (char c : tq3::fw::ToUtf8(text)) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

ParsedScript ParseScript(std::string_view text) {
    ParsedScript script;
    try {
        TextLines lines(text);
        std::string_view line;
        while (lines.Next(&line)) {
            std::vector<std::string> words;
            Command command;
            command.line = lines.Number();
            std::string error;
            if (!ParseLine(line, &words, &command, &error)) {
                script.commands.clear();
                script.error = "line " + std::to_string(command.line) + ": " + error;
                return script;
            }
            if (!words.empty() && words[0][0] != '#') script.commands.push_back(std::move(command));
        }
    } catch (const std::bad_alloc&) {
        script.commands.clear();
        script.error = "out of memory while reading the script";
    }
    return script;
}

}  // namespace tq3::demo
