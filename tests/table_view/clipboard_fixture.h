// A table view whose edit commands are driven as a host's menu drives them: the
// command goes to the frame and is routed to the view; message boxes are answered
// by script and what they said is kept.
#pragma once

#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "settings/language.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {

constexpr WCHAR kBoxClass[] = u"#32770";

class ClipboardTest : public TableViewTest {
protected:
    void SetUp() override {
        TableViewTest::SetUp();
        VALMExSetLanguage(0);
    }

    // The sheet every paste row starts from: columns 0-2 text, 3 whole numbers,
    // 4 a list ("1:A", "2:B"), 5 numbers with two decimals; six lines.
    void BuildMixedSheet() {
        AddSheets(1, 6, 6);
        view->SetColumnEditMode(0, 3, 1, 0, 7, 0);
        view->AddColumnString(0, 4, u"1:A");
        view->AddColumnString(0, 4, u"2:B");
        view->SetColumnEditMode(0, 5, 1, 0, 7, 2);
        view->SetSelSheet(0);
        desktop.RunUntilIdle();
    }
    void ResetMixedSheet() {
        for (int l = 0; l < 6; ++l) view->SetTabbedString(0, l, u"t\tt\tt\t7\t1:A\t7.50\r\n");
    }

    void Select(int left, int top, int right, int bottom) { Put(CRect(left, top, right, bottom), CPoint(left, top)); }

    void Command(UINT id) {
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        desktop.RunUntilIdle();
    }

    // Queues the answer to the next message box, keeping its text in `said`.
    void AnswerBox(int button) {
        desktop.QueueModalAnswer(tq3::testing::ModalAnswer{kBoxClass, {}, [this](HWND box) {
                                                               WCHAR text[512] = {};
                                                               GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
                                                               said.push_back(text);
                                                               PostMessageW(box, WM_NULL, 0, 0);
                                                           }});
        desktop.QueueModalAnswer(tq3::testing::AnswerCommand(button, kBoxClass));
    }

    int Beeps() { return desktop.Backend().Beeps(); }

    std::vector<std::u16string> said;
};

}  // namespace tq3::test
