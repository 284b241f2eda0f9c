#include "framework/gdi/sysmetrics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/gdi/gdi_objects.h"

namespace tq3::test {
namespace {

TEST(SysColors, EveryIndexHasAMatchingPermanentBrush) {
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i) {
        SCOPED_TRACE(i);
        HBRUSH brush = GetSysColorBrush(i);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(GetSysColorBrush(i), brush) << "one shared brush per colour";
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectW(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbStyle, BS_SOLID);
        EXPECT_EQ(lb.lbColor, GetSysColor(i));
        // Deleting a system brush is harmless: it stays usable.
        EXPECT_TRUE(DeleteObject(brush));
        EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
    }
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_MENUBAR + 1), nullptr);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(1000), 0u);
}

TEST(SystemMetrics, ScreenFollowsTheDesktop) {
    tq3::fw::SetScreenSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1920);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 1920);
    EXPECT_EQ(work.bottom, 1080);
    tq3::fw::SetScreenSize(-5, 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    tq3::fw::SetScreenSize(1024, 768);
    EXPECT_EQ(GetSystemMetrics(-1), 0);
    EXPECT_EQ(GetSystemMetrics(100000), 0);
}

TEST(SystemMetrics, AgreeWithTheNonClientMetrics) {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), m.iScrollWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), m.iScrollHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), m.iCaptionHeight + GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), m.iMenuHeight + GetSystemMetrics(SM_CYBORDER));
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), m.iBorderWidth);
    EXPECT_GE(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    // Nine points at 96 DPI, on a face the text engine knows.
    for (const LOGFONTW* lf : {&m.lfCaptionFont, &m.lfMenuFont, &m.lfMessageFont, &m.lfStatusFont}) {
        EXPECT_EQ(lf->lfHeight, -12);
        EXPECT_NE(lf->lfFaceName[0], 0);
    }
    // The caption font is bold, so that a caller normalising the weight sees a change.
    EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
    // Menu text must fit the menu bar.
    EXPECT_LT(-m.lfMenuFont.lfHeight, m.iMenuHeight);
}

TEST(SystemParameters, NonClientMetricsHonourTheCallersSize) {
    // Legacy size: everything up to the padded border is written, nothing past it.
    struct {
        NONCLIENTMETRICSW m;
        char guard[8];
    } legacy;
    std::memset(&legacy, 0x5A, sizeof legacy);
    legacy.m.cbSize = 500;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &legacy.m, 0));
    EXPECT_EQ(legacy.m.cbSize, 500u);
    EXPECT_EQ(legacy.m.iMenuHeight, 18);
    int untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    EXPECT_EQ(legacy.m.iPaddedBorderWidth, untouched);
    EXPECT_EQ(legacy.guard[0], 0x5A);

    // Sizes that are neither form are refused and leave the structure alone.
    for (UINT size : {0u, 4u, 499u, 501u, 1000u}) {
        NONCLIENTMETRICSW m{};
        m.cbSize = size;
        m.iMenuHeight = -7;
        EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &m, 0)) << size;
        EXPECT_EQ(m.iMenuHeight, -7);
    }
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, nullptr, 0));
    EXPECT_FALSE(SystemParametersInfoW(0xFFFF, 0, &untouched, 0));

    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 3u);
}

}  // namespace
}  // namespace tq3::test
