// Sections: commands | reports | screenshots.
#include "demo/script_player.h"

#include <tq3view/testing.h>

#include <cstdlib>
#include <filesystem>

#include "demo/demo_frame.h"
#include "demo/demo_reports.h"
#include "demo/demo_targets.h"
#include "framework/core/utf.h"
#include "framework/dialogs/message_box.h"
#include "framework/window/virtual_keys.h"

namespace tq3::demo {

namespace {

tq3::testing::Button ToButton(MouseButton button) {
    switch (button) {
        case MouseButton::Right: return tq3::testing::Button::Right;
        case MouseButton::Middle: return tq3::testing::Button::Middle;
        default: return tq3::testing::Button::Left;
    }
}

UINT ToModifiers(UINT modifiers) {
    UINT result = tq3::testing::kNoModifiers;
    if (modifiers & kShiftKey) result |= tq3::testing::kShift;
    if (modifiers & kCtrlKey) result |= tq3::testing::kControl;
    if (modifiers & kAltKey) result |= tq3::testing::kAlt;
    return result;
}

std::string Number(int value) { return std::to_string(value); }

}  // namespace

ScriptPlayer::ScriptPlayer(tq3::testing::Desktop& desktop, CDemoFrame& frame, std::string outDir,
                           std::ostream& report)
    : desktop_(desktop), frame_(frame), outDir_(std::move(outDir)), report_(report) {}

bool ScriptPlayer::Run(const ParsedScript& script, std::string* error) {
    if (!script.error.empty()) {
        *error = script.error;
        return false;
    }
    for (const Command& command : script.commands) {
        line_ = command.line;
        std::string problem;
        if (!Play(command, &problem)) {
            *error = "line " + Number(command.line) + ": " + problem;
            return false;
        }
        if (desktop_.QuitReceived()) {
            *error = "line " + Number(command.line) + ": the main window was closed";
            return false;
        }
    }
    report_.flush();
    return true;
}

// ---- commands --------------------------------------------------------------------

namespace {

// The reply an answer command queues, other than a screenshot or a key.
tq3::testing::ModalAnswer ControlAnswer(const Command& command) {
    using namespace tq3::testing;
    const int id = command.number;
    if (command.word == "click") return AnswerClick(id, {}, command.title);
    if (command.word == "check") return AnswerCheck(id, command.target.a != 0, {}, command.title);
    if (command.word == "type") return AnswerType(id, command.text, {}, command.title);
    if (command.word == "choose") return AnswerChoose(id, command.target.a, {}, command.title);
    if (command.word == "item") return AnswerMenuItem(command.text);
    static const std::pair<const char*, int> kButtons[] = {
        {"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
        {"ignore", IDIGNORE}, {"yes", IDYES},       {"no", IDNO}};
    int button = IDCANCEL;  // the parser lets no other word through
    for (const auto& [word, value] : kButtons) {
        if (command.word == word) button = value;
    }
    return AnswerCommand(button, {}, command.title);
}

}  // namespace

bool ScriptPlayer::Play(const Command& command, std::string* error) {
    const UINT modifiers = ToModifiers(command.modifiers);
    POINT at{0, 0};
    switch (command.op) {
        case Op::Key:
            desktop_.KeyPress(command.vk, modifiers);
            return true;
        case Op::Type:
            desktop_.Type(command.text);
            return true;
        case Op::Click:
            if (!ScriptTargetPoint(frame_, command.target, &at, error)) return false;
            desktop_.Click(at, ToButton(command.button), modifiers);
            return true;
        case Op::DoubleClick:
            if (!ScriptTargetPoint(frame_, command.target, &at, error)) return false;
            desktop_.DoubleClick(at, ToButton(command.button), modifiers);
            return true;
        case Op::Drag: {
            POINT to{0, 0};
            if (!ScriptTargetPoint(frame_, command.target, &at, error) ||
                !ScriptTargetPoint(frame_, command.target2, &to, error)) {
                return false;
            }
            desktop_.MouseDown(at, tq3::testing::Button::Left, modifiers);
            // Through the middle, so a drag reads as movement and not as a jump.
            desktop_.MouseMove(POINT{(at.x + to.x) / 2, (at.y + to.y) / 2});
            desktop_.MouseMove(to);
            desktop_.MouseUp(to, tq3::testing::Button::Left, modifiers);
            return true;
        }
        case Op::Press:
        case Op::Move:
        case Op::Release:
            if (!ScriptTargetPoint(frame_, command.target, &at, error)) return false;
            if (command.op == Op::Press) {
                desktop_.MouseDown(at, tq3::testing::Button::Left, modifiers);
            } else if (command.op == Op::Move) {
                desktop_.MouseMove(at);
            } else {
                desktop_.MouseUp(at, tq3::testing::Button::Left, modifiers);
            }
            return true;
        case Op::Wheel:
            if (!ScriptTargetPoint(frame_, command.target, &at, error)) return false;
            // One message per notch, as a wheel sends them.
            for (int notch = 0; notch < std::abs(command.number); ++notch) {
                desktop_.Wheel(at, command.number > 0 ? WHEEL_DELTA : -WHEEL_DELTA, modifiers);
            }
            return true;
        case Op::ClipboardSet:
            if (desktop_.SetClipboardText(command.text)) return true;
            *error = "the clipboard is held open";
            return false;
        case Op::ClipboardGet:
            WriteClipboard(desktop_.ClipboardText(), report_);
            return true;
        case Op::Answer: {
            if (command.word == "screenshot" || command.word == "picture") {
                if (outDir_.empty()) {
                    *error = "screenshot needs an output folder (--out DIR)";
                    return false;
                }
                const std::string name = tq3::fw::ToUtf8(command.text);
                const std::string path = (std::filesystem::path(outDir_) / name).string();
                const bool close = command.word == "screenshot";
                const tq3::testing::ModalAnswer escape = tq3::testing::AnswerKey(VK_ESCAPE);
                // The whole screen, so that a pop-up menu or a message box beside the
                // main window is in the picture; a file that cannot be written is
                // reported in its place. A picture leaves the window as it is, for
                // the replies after it.
                desktop_.QueueModalAnswer(
                    tq3::testing::ModalAnswer{{}, {}, [this, name, path, escape, close](HWND window) {
                        report_ << (tq3::testing::SaveScreenshot(path) ? "screenshot " : "screenshot not written: ")
                                << name << "\n";
                        if (close) {
                            escape.action(window);
                        } else {
                            PostMessageW(window, WM_NULL, 0, 0);
                        }
                    }});
                return true;
            }
            if (command.word == "enter" || command.word == "escape") {
                desktop_.QueueModalAnswer(
                    tq3::testing::AnswerKey(command.word == "enter" ? VK_RETURN : VK_ESCAPE, {}, command.title));
                return true;
            }
            desktop_.QueueModalAnswer(ControlAnswer(command));
            return true;
        }
        case Op::Wait:
            desktop_.AdvanceClock(static_cast<DWORD>(command.number));
            return true;
        case Op::Sheet: {
            int index = 0;
            if (!SheetIndex(*frame_.View(), command.target, &index, error)) return false;
            frame_.View()->SetSelSheet(index);
            desktop_.RunUntilIdle();
            return true;
        }
        case Op::Language:
            frame_.SetLanguage(command.number);
            desktop_.RunUntilIdle();
            return true;
        case Op::Report:
            return Report(command, error);
        case Op::Screenshot:
            return Screenshot(command.text, error);
    }
    *error = "unknown command";
    return false;
}

// ---- reports -----------------------------------------------------------------------

bool ScriptPlayer::Report(const Command& command, std::string* error) {
    CDemoView& view = *frame_.View();
    const std::string& what = command.word;
    if (what == "hooks") {
        WriteHookReports(view, report_, true);
    } else if (what == "selection") {
        WriteSelection(view, report_);
    } else if (what == "cursor") {
        WriteCursor(view, report_);
    } else if (what == "cell") {
        const int sheet = view.GetSelSheet();
        if (command.target.a >= view.GetLineCount(sheet) || command.target.b >= view.GetColumnCount(sheet)) {
            *error = "cell " + Number(command.target.a) + " " + Number(command.target.b) + " is not on this sheet";
            return false;
        }
        CString text = view.GetCellText(sheet, command.target.a, command.target.b);
        report_ << "cell " << command.target.a << " " << command.target.b << " \""
                << EscapeForReport(std::u16string_view(text.GetString(), text.GetLength())) << "\"\n";
    } else if (what == "title") {
        WriteTitle(frame_, report_);
    } else if (what == "sheet") {
        WriteSheet(view, report_);
    } else if (what == "scroll") {
        WriteScroll(view, report_);
    } else if (what == "columns") {
        WriteColumnWidths(view, report_);
    } else if (what == "font") {
        WriteFont(view, report_);
    } else if (what == "bar") {
        WriteBar(frame_, report_);
    } else if (what == "pane") {
        if (frame_.Pane() != nullptr) WritePane(*frame_.Pane(), report_);
    }
    report_.flush();
    return true;
}

// ---- screenshots -------------------------------------------------------------------

bool ScriptPlayer::Screenshot(const std::u16string& name, std::string* error) {
    if (outDir_.empty()) {
        *error = "screenshot needs an output folder (--out DIR)";
        return false;
    }
    desktop_.RunUntilIdle();
    const std::string path = (std::filesystem::path(outDir_) / tq3::fw::ToUtf8(name)).string();
    if (!tq3::testing::SaveScreenshot(frame_.m_hWnd, path)) {
        *error = "cannot write " + path;
        return false;
    }
    report_ << "screenshot " << tq3::fw::ToUtf8(name) << "\n";
    return true;
}

}  // namespace tq3::demo
