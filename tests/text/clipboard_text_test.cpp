#include "text/clipboard_text.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/gdi/gdi_objects.h"
#include "framework/system/clipboard.h"
#include "tq3view/testing.h"

namespace {

class ClipboardTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, AfxRegisterWndClass(0), u"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        other = CreateWindowExW(0, AfxRegisterWndClass(0), u"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner != nullptr && other != nullptr);
    }
    tq3::testing::Desktop desktop{320, 240};
    HWND owner = nullptr;
    HWND other = nullptr;
};

// A text goes in a block with room for 9 more characters beyond its terminating
// zero and reads back whole; an empty text is put but reads as
// nothing; null strings are refused.
TEST_F(ClipboardTextTest, RoundTripsTextAndRefusesNulls) {
    const std::u16string text = u"a\tb\r\n\U0001F600";
    ASSERT_EQ(SetClipboardText(owner, CString(text.c_str())), 1);
    CString got(u"previous");
    EXPECT_EQ(GetClipboardText(owner, got), 1);
    EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(got), static_cast<size_t>(got.GetLength())), text);
    ASSERT_TRUE(OpenClipboard(other)) << "the read left the clipboard open";
    CloseClipboard();
    ASSERT_TRUE(OpenClipboard(owner));
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), text.size() * sizeof(WCHAR) + 20);
    CloseClipboard();

    ASSERT_EQ(SetClipboardText(owner, CString()), 1);
    EXPECT_EQ(GetClipboardText(owner, got), 0);
    EXPECT_TRUE(got.IsEmpty());
    EXPECT_EQ(GetClipboardText(owner, static_cast<CString*>(nullptr)), 0);
    EXPECT_EQ(SetClipboardText(owner, static_cast<const CString*>(nullptr)), 0);
}

TEST_F(ClipboardTextTest, TextWithoutTerminatorIsReadOnlyToTheEndOfItsBlock) {
    // Another program's block may lack the terminating zero.
    ASSERT_TRUE(OpenClipboard(other));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3 * sizeof(WCHAR));
    auto* units = static_cast<WCHAR*>(GlobalLock(block));
    units[0] = u'a';
    units[1] = u'b';
    units[2] = u'c';
    GlobalUnlock(block);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    CloseClipboard();

    CString got;
    EXPECT_EQ(GetClipboardText(owner, got), 1);
    EXPECT_EQ(got, u"abc");
}

}  // namespace
