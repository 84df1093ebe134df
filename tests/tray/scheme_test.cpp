#include <gtest/gtest.h>

#include "tray.h"

TEST(DefaultScheme, HeaderAndTrailerAreByteExact)
{
    const BYTE *bytes = reinterpret_cast<const BYTE *>(&g_defaultScheme);
    ASSERT_EQ(sizeof(g_defaultScheme), 820u);
    const BYTE header[16] = { 0, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0 };
    EXPECT_EQ(memcmp(bytes, header, 16), 0);
    const BYTE group[12] = { 0, 0, 255, 0, 128, 0, 128, 0, 255, 0, 0, 0 };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(memcmp(bytes + 784 + i * 12, group, 12), 0) << "trailer group " << i;
}

TEST(DefaultScheme, RampIsGreyAndRisesFromZeroToFullAlongTheTable)
{
    const BYTE *ramp = reinterpret_cast<const BYTE *>(&g_defaultScheme) + 16;
    long sum = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(ramp[i * 3], ramp[i * 3 + 1]) << i;
        EXPECT_EQ(ramp[i * 3], ramp[i * 3 + 2]) << i;
        if (i) {
            EXPECT_LE(ramp[(i - 1) * 3], ramp[i * 3]) << i;
        }
        sum += ramp[i * 3];
    }
    EXPECT_EQ(sum, 32746);
    struct Entry { int index, level; };
    for (Entry e : { Entry{ 0, 0 }, { 1, 2 }, { 14, 14 }, { 15, 15 }, { 16, 17 }, { 42, 43 },
                     { 50, 51 }, { 51, 51 }, { 127, 126 }, { 128, 127 }, { 159, 160 },
                     { 200, 200 }, { 239, 239 }, { 254, 254 }, { 255, 255 } })
        EXPECT_EQ(ramp[e.index * 3], e.level) << "entry " << e.index;
}
