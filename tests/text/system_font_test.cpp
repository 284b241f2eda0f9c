#include "text/system_font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "framework/gdi/sysmetrics.h"

namespace {

NONCLIENTMETRICSW DesktopMetrics() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    return metrics;
}

TEST(SystemFont, CaptionFontAtNormalWeightAndMenuHeight) {
    NONCLIENTMETRICSW metrics = DesktopMetrics();
    // The desktop's caption is bold, so a normal weight below is our doing.
    ASSERT_NE(metrics.lfCaptionFont.lfWeight, FW_NORMAL);

    LOGFONTW font;
    std::memset(&font, 0xCD, sizeof font);  // garbage that must not survive
    int menuHeight = GetSystemLogFont(&font);

    EXPECT_EQ(menuHeight, metrics.iMenuHeight);
    LOGFONTW expected = metrics.lfCaptionFont;
    expected.lfWeight = FW_NORMAL;
    EXPECT_EQ(std::memcmp(&font, &expected, sizeof font), 0);
    EXPECT_FALSE(std::u16string_view(font.lfFaceName).empty());
    EXPECT_EQ(GetSystemLogFont(nullptr), 0);
}

}  // namespace
