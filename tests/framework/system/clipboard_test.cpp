// The clipboard and global memory: ownership, holding open, formats, round trips
// and the refusal of bad handles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/system/clipboard.h"

namespace tq3::test {
namespace {

using namespace tq3::fw;

std::vector<UINT> g_destroyClipboard;

LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROYCLIPBOARD) g_destroyClipboard.push_back(1);
    return DefWindowProcW(h, m, w, l);
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessBackend::Install(200, 200);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = u"ClipboardTestWindow";
        if (!GetClassInfoW(nullptr, wc.lpszClassName, &wc)) RegisterClassW(&wc);
        a = Window();
        b = Window();
        g_destroyClipboard.clear();
    }
    void TearDown() override { ResetWindowManager(); }

    static HWND Window() {
        return CreateWindowExW(0, u"ClipboardTestWindow", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
    }

    static HGLOBAL Text(const std::u16string& s) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (s.size() + 1) * sizeof(WCHAR));
        auto* p = static_cast<WCHAR*>(GlobalLock(h));
        std::memcpy(p, s.data(), s.size() * sizeof(WCHAR));
        GlobalUnlock(h);
        return h;
    }
    static std::u16string Read(HANDLE h) {
        auto* p = static_cast<const WCHAR*>(GlobalLock(h));
        std::u16string s = p ? std::u16string(p) : std::u16string();
        GlobalUnlock(h);
        return s;
    }
    HWND a = nullptr;
    HWND b = nullptr;
};

// Whatever text one window puts there, another reads the same: line ends stay
// CR LF, an empty text stays empty, and a text of megabytes comes back whole.
TEST_F(ClipboardTest, TextRoundTripsAndTheEmptierOwnsIt) {
    std::u16string huge;
    while (huge.size() < 4000000) huge += u"r1\tc2\t\x65E5\r\n";
    for (const std::u16string& text : {std::u16string(u"x\ty\r\n\r\nz\r\n\U0001F600"), std::u16string(), huge}) {
        SCOPED_TRACE(text.size());
        ASSERT_TRUE(OpenClipboard(a));
        ASSERT_TRUE(EmptyClipboard());
        HGLOBAL h = Text(text);
        EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, h), h);
        EXPECT_TRUE(CloseClipboard());
        EXPECT_EQ(GetClipboardOwner(), a);
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
        EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);  // only while open
        ASSERT_TRUE(OpenClipboard(b));
        EXPECT_TRUE(Read(GetClipboardData(CF_UNICODETEXT)) == text);
        EXPECT_TRUE(CloseClipboard());
    }
    // A format nobody put there is not offered and reads as nothing.
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(b));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_EQ(GetClipboardData(RegisterClipboardFormatW(u"Tq3 Cells")), nullptr);
    // Emptying by another window tells the owner and makes the emptier the owner.
    g_destroyClipboard.clear();
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(g_destroyClipboard.size(), 1u);
    EXPECT_EQ(GetClipboardOwner(), b);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
}

TEST_F(ClipboardTest, OpaqueFormatsAndBadDataAreHandledWithoutLosingWhatIsHeld) {
    ASSERT_TRUE(OpenClipboard(a));
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL text = Text(u"kept");
    ASSERT_EQ(SetClipboardData(CF_UNICODETEXT, text), text);
    // A bitmap is an opaque handle to the clipboard.
    HBITMAP bmp = gdi::NewBitmap(4, 4, 32);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bmp), bmp);
    // A handle that is no memory block is refused and the text stays.
    int notABlock = 0;
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, &notABlock), nullptr);
    EXPECT_EQ(Read(GetClipboardData(CF_UNICODETEXT)), u"kept");
    EXPECT_EQ(RegisterClipboardFormatW(u"TQ3 CELLS"), RegisterClipboardFormatW(u"Tq3 Cells"));
    EXPECT_EQ(CountClipboardFormats(), 2);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(SetClipboardData(CF_TEXT, Text(u"")), nullptr) << "not open";
    // The clipboard freed the bitmap and the text when it was emptied.
    ASSERT_TRUE(OpenClipboard(b));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(gdi::Find(bmp), nullptr);
    EXPECT_EQ(GlobalSize(text), 0u);
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, GlobalMemoryBlocksBehaveAsOnThePlatform) {
    HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);
    ASSERT_NE(m, nullptr);
    auto* p = static_cast<BYTE*>(GlobalLock(m));
    ASSERT_NE(p, nullptr);
    p[0] = 7;
    EXPECT_FALSE(GlobalUnlock(m));  // unlocked now
    // Reallocation keeps a movable block's handle and its bytes, zeroing the new ones.
    EXPECT_EQ(GlobalReAlloc(m, 100000, GMEM_ZEROINIT), m);
    p = static_cast<BYTE*>(GlobalLock(m));
    EXPECT_EQ(p[0] + p[99999], 7);
    GlobalUnlock(m);
    // Bad handles and absurd sizes fail cleanly.
    int local = 0;
    EXPECT_EQ(GlobalLock(&local), nullptr);
    EXPECT_EQ(GlobalReAlloc(m, ~SIZE_T{0}, 0), nullptr);
    EXPECT_EQ(GlobalSize(m), 100000u);  // unchanged by the failed reallocation
    EXPECT_EQ(GlobalFree(m), nullptr);
}

}  // namespace
}  // namespace tq3::test
