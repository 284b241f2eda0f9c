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

TEST_F(ClipboardTextTest, RoundTripsTextOfEveryKind) {
    const std::u16string texts[] = {
        u"a\tb\r\n\U0001F600",
        std::u16string(100000, u'w'),
    };
    for (const std::u16string& text : texts) {
        CString put(text.c_str());
        ASSERT_EQ(SetClipboardText(owner, put), 1);
        CString got(u"previous");
        EXPECT_EQ(GetClipboardText(owner, got), 1);
        EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(got), static_cast<size_t>(got.GetLength())), text);
        // The block has room for 9 more characters beyond the terminating zero,
        // and it is zero-filled.
        ASSERT_TRUE(OpenClipboard(owner));
        HANDLE block = GetClipboardData(CF_UNICODETEXT);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(GlobalSize(block), text.size() * sizeof(WCHAR) + 20);
        auto* units = static_cast<const WCHAR*>(GlobalLock(block));
        for (size_t i = text.size(); i < text.size() + 10; ++i) EXPECT_EQ(units[i], 0) << i;
        GlobalUnlock(block);
        CloseClipboard();
    }
}

// An empty text is put but reads as nothing; a clipboard with a bitmap only gives
// no text and keeps the bitmap; null strings are refused.
TEST_F(ClipboardTextTest, NothingToReadAndNullStrings) {
    ASSERT_EQ(SetClipboardText(owner, CString()), 1);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    CString got(u"previous");
    EXPECT_EQ(GetClipboardText(owner, got), 0);
    EXPECT_TRUE(got.IsEmpty());

    ASSERT_TRUE(OpenClipboard(other));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)), nullptr);
    CloseClipboard();
    got = u"previous";
    EXPECT_EQ(GetClipboardText(owner, got), 0);
    EXPECT_TRUE(got.IsEmpty());

    EXPECT_EQ(GetClipboardText(owner, static_cast<CString*>(nullptr)), 0);
    EXPECT_EQ(SetClipboardText(owner, static_cast<const CString*>(nullptr)), 0);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(ClipboardTextTest, ClipboardHeldOpenByAnotherWindowRefusesBothWithoutChange) {
    ASSERT_EQ(SetClipboardText(owner, CString(u"kept")), 1);
    ASSERT_TRUE(OpenClipboard(other));

    CString got(u"untouched");
    EXPECT_EQ(GetClipboardText(owner, got), 0);
    EXPECT_EQ(got, u"untouched");
    EXPECT_EQ(SetClipboardText(owner, CString(u"new")), 0);
    EXPECT_EQ(GetOpenClipboardWindow(), other);  // still held by the other window
    CloseClipboard();

    EXPECT_EQ(GetClipboardText(owner, got), 1);
    EXPECT_EQ(got, u"kept");
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
