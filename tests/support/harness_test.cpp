// The harness's own contract that hosts rely on: pixel probes and screenshots, the
// pointer's image and its moves around presses, geometry printed in failures,
// scratch settings, and one desktop at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/registry.h"
#include "framework/window/cursor.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::Msg;

class HarnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, u"Ask", WS_POPUP | WS_VISIBLE, CRect(10, 10, 200, 100), nullptr, 0));
        wnd.SetFocus();
        desktop.RunUntilIdle();
    }
    tq3::testing::Desktop desktop{640, 480};
    CWnd wnd;
};

TEST_F(HarnessTest, APressAndReleaseInPlaceMovesThePointerOnlyWhenItIsElsewhere) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    desktop.MouseDown(wnd.m_hWnd, {5, 6});
    desktop.MouseUp(wnd.m_hWnd, {5, 6});
    desktop.AdvanceClock(2000);  // no double click
    desktop.Click(wnd.m_hWnd, {5, 6});
    desktop.AdvanceClock(2000);
    desktop.Click(wnd.m_hWnd, {7, 6});
    auto result = spy.Compare({Msg(WM_MOUSEMOVE).Point(5, 6), Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP),
                               Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP), Msg(WM_MOUSEMOVE).Point(7, 6),
                               Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP)});
    EXPECT_TRUE(result) << result.report;
}

TEST_F(HarnessTest, PixelProbesReadWhatWasDrawnInTheirOwnCoordinates) {
    // The window is painted in the window colour; a red block goes on top.
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    const COLORREF red = RGB(220, 0, 0);
    HDC dc = ::GetDC(wnd.m_hWnd);
    RECT all{0, 0, 190, 90};
    ::FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    const tq3::testing::Capture before = tq3::testing::CaptureWindow(wnd.m_hWnd);
    HBRUSH brush = CreateSolidBrush(red);
    RECT block{10, 20, 30, 25};
    ::FillRect(dc, &block, brush);
    DeleteObject(brush);
    ::ReleaseDC(wnd.m_hWnd, dc);

    const tq3::testing::Capture after = tq3::testing::CaptureWindow(wnd.m_hWnd, RECT{0, 0, 40, 30});
    EXPECT_EQ(after.Count(red), 100);
    EXPECT_EQ(after.CountOther(red), 40 * 30 - 100);
    EXPECT_EQ(CRect(after.InkBounds(white)), CRect(block));
    EXPECT_EQ(after.At(10, 20), red);
    EXPECT_EQ(after.At(40, 0), CLR_INVALID) << "outside the capture";
    EXPECT_TRUE(tq3::testing::CaptureWindow(wnd.m_hWnd, block).FilledWith(red));
    EXPECT_FALSE(after.FilledWith(white));
    EXPECT_EQ(tq3::testing::CaptureWindow(wnd.m_hWnd, RECT{9, 20, 12, 21}).Picture(red), ".##\n");

    // Window, desktop and screenshot agree on where the block is.
    CPoint corner(10, 20);
    wnd.ClientToScreen(&corner);
    EXPECT_EQ(tq3::testing::DesktopPixel(corner), red);
    EXPECT_EQ(tq3::testing::WindowPixel(wnd.m_hWnd, {9, 20}), white);
    EXPECT_EQ(tq3::testing::CountDiffering(before, tq3::testing::CaptureWindow(wnd.m_hWnd)), 100);
    EXPECT_EQ(tq3::testing::CountDiffering(before, after), -1) << "sizes differ";
    const std::string path = (std::filesystem::temp_directory_path() / "tq3-harness-shot.png").string();
    ASSERT_TRUE(tq3::testing::SaveScreenshot(wnd.m_hWnd, path));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
    EXPECT_FALSE(tq3::testing::SaveScreenshot(nullptr, path));

}

TEST_F(HarnessTest, ThePointerShowsItsImageAndHotSpot) {
    tq3::fw::CursorImage image;
    image.width = 2;
    image.height = 2;
    image.hotSpot = POINT{1, 0};
    image.argb = {0xFF0000FFu, 0x00000000u, 0xFFFF0000u, 0xFF00FF00u};  // blue, transparent, red, green
    HCURSOR cursor = tq3::fw::CreateCursorFromImage(image);
    ASSERT_NE(cursor, nullptr);
    ::SetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    desktop.MouseMove(wnd.m_hWnd, {30, 30});
    tq3::testing::PointerLook look = desktop.Pointer();
    EXPECT_EQ(look.shape, tq3::fw::CursorShape::Custom);
    EXPECT_EQ(look.hotSpot.x, 1);
    EXPECT_EQ(look.hotSpot.y, 0);
    EXPECT_EQ(look.image.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(look.image.At(1, 0), CLR_INVALID) << "transparent";
    EXPECT_EQ(look.image.At(0, 1), RGB(255, 0, 0));
    ::SetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_ARROW)));
    ::DestroyCursor(cursor);
}

TEST_F(HarnessTest, ASecondDesktopIsRefusedAndTheFirstKeepsItsWindows) {
    std::string failure;
    desktop.SetFailureHandler([&](const std::string& description) { failure = description; });
    {
        tq3::testing::Desktop second(320, 200);
        EXPECT_NE(failure.find("second Desktop"), std::string::npos) << failure;
        EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    }
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd)) << "the refused desktop reset nothing as it went";
    EXPECT_EQ(desktop.Size().cx, 640);
}

TEST(GeometryPrinting, AFailedComparisonShowsCoordinates) {
    EXPECT_EQ(::testing::PrintToString(CRect(1, 2, 30, 40)), "(1, 2, 30, 40)");
    EXPECT_EQ(::testing::PrintToString(CPoint(-5, 7)), "(-5, 7)");
    EXPECT_EQ(::testing::PrintToString(CSize(8, 9)), "(8 x 9)");
}

TEST(ScratchSettings, BothStoresMoveToScratchFilesAndComeBack) {
    const std::string user = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);
    const std::string machine = tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE);
    std::string folder;
    {
        tq3::testing::TestApp app;
        folder = app.SettingsFolder();
        ASSERT_FALSE(folder.empty());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExW(root, u"Software\\Scratch", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
            EXPECT_EQ(tq3::fw::GetRegistryStorePath(root).rfind(folder + "/", 0), 0u)
                << tq3::fw::GetRegistryStorePath(root);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), user);
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE), machine);
}

}  // namespace
}  // namespace tq3::test
