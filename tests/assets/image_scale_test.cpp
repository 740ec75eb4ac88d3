#include <gtest/gtest.h>

#include <vector>

#include "assets/image_scale.h"

TEST(ImageScale, PowerOfTwoAsGluPicksIt)
{
    const int cases[][2] = {{1, 1},   {2, 2},   {3, 4},     {5, 4},     {6, 8},     {47, 32},   {48, 64},
                            {63, 64}, {64, 64}, {100, 128}, {640, 512}, {767, 512}, {768, 1024}};
    for (const auto &c : cases)
        EXPECT_EQ(NearestPowerOfTwo(c[0]), c[1]) << c[0];
}

TEST(ImageScale, AveragesByCoveredArea)
{
    // 3 -> 2 across: each output covers one and a half inputs.
    const std::vector<uint8_t> row{0, 90, 180};
    EXPECT_EQ(ScaleImage(row.data(), 3, 1, 1, 2, 1), (std::vector<uint8_t>{30, 150}));
    // Widening keeps flat areas flat, down to the last row and column.
    const std::vector<uint8_t> flat(7 * 4 * 3, 200);
    const std::vector<uint8_t> wide = ScaleImage(flat.data(), 7, 4, 3, 8, 4);
    EXPECT_EQ(wide, std::vector<uint8_t>(8 * 4 * 3, 200));
    // Rows stay rows: a top band and a bottom band do not mix when only the width changes.
    std::vector<uint8_t> bands(5 * 2, 10);
    std::fill(bands.begin() + 5, bands.end(), 250);
    EXPECT_EQ(ScaleImage(bands.data(), 5, 2, 1, 4, 2),
              (std::vector<uint8_t>{10, 10, 10, 10, 250, 250, 250, 250}));
}
