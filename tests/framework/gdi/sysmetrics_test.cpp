#include "framework/gdi/sysmetrics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/gdi/gdi_objects.h"

namespace tq3::test {
namespace {

TEST(SystemParameters, NonClientMetricsHonourTheCallersSize) {
    // Legacy size: everything up to the padded border is written, nothing past it.
    struct {
        NONCLIENTMETRICSW m;
        char guard[8];
    } legacy;
    std::memset(&legacy, 0x5A, sizeof legacy);
    legacy.m.cbSize = 500;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &legacy.m, 0));
    EXPECT_EQ(legacy.m.iMenuHeight, 18);
    int untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    EXPECT_EQ(legacy.m.iPaddedBorderWidth, untouched);
    EXPECT_EQ(legacy.guard[0], 0x5A);
    // Sizes that are neither form are refused and leave the structure alone.
    for (UINT size : {0u, 499u, 501u}) {
        NONCLIENTMETRICSW m{};
        m.cbSize = size;
        m.iMenuHeight = -7;
        EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, size, &m, 0)) << size;
        EXPECT_EQ(m.iMenuHeight, -7);
    }
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, nullptr, 0));
}

}  // namespace
}  // namespace tq3::test
