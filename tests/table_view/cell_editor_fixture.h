// The cell editors on their own: a top-level window without a view stands in
// for the view (it is the editors' parent and takes the focus back when an edit
// ends), and keys go in through the harness's queue, so the editors' key filters
// run in the application's message loop as they do in the product.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "tq3view/testing.h"

namespace tq3::test {

using tq3::testing::kControl;
using tq3::testing::kShift;

// A key and the modifiers held around it.
struct Stroke {
    int vk;
    UINT modifiers = tq3::testing::kNoModifiers;
};

class CellEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), u"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CRect(20, 20, 420, 320), nullptr, 0));
        desktop.RunUntilIdle();
    }
    void TearDown() override { host.DestroyWindow(); }

    void Press(const std::vector<Stroke>& strokes) {
        for (const Stroke& s : strokes) desktop.KeyPress(s.vk, s.modifiers);
    }
    static std::u16string TextOf(const CWnd& window) {
        CString text;
        window.GetWindowText(text);
        return std::u16string(text.GetString(), static_cast<size_t>(text.GetLength()));
    }
    void SetNumLock(bool on) {
        if (((GetKeyState(VK_NUMLOCK) & 1) != 0) != on) desktop.KeyPress(VK_NUMLOCK);
    }
    std::u16string Clipboard() { return desktop.ClipboardText().value_or(u"<none>"); }
    int Beeps() { return desktop.Backend().Beeps(); }

    tq3::testing::Desktop desktop{640, 480};
    tq3::testing::TestApp app;
    CWnd host;
};

}  // namespace tq3::test
