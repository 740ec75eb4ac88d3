#include <gtest/gtest.h>

#include "platform/picture.h"

TEST(FitPicture, KeepsFourThreeAndCentresWithBars)
{
    struct Case {
        int width, height;
        PictureArea expected;
    };
    const Case cases[] = {
        {800, 600, {0, 0, 800, 600, 800, 600}},
        {1600, 1200, {0, 0, 1600, 1200, 1600, 1200}},
        {1920, 1080, {240, 0, 1440, 1080, 1920, 1080}}, // pillarbox
        {800, 800, {0, 100, 800, 600, 800, 800}},       // letterbox
    };
    for (const Case &c : cases) {
        const PictureArea area = FitPicture(c.width, c.height);
        EXPECT_EQ(area.x, c.expected.x) << c.width << "x" << c.height;
        EXPECT_EQ(area.y, c.expected.y) << c.width << "x" << c.height;
        EXPECT_EQ(area.width, c.expected.width) << c.width << "x" << c.height;
        EXPECT_EQ(area.height, c.expected.height) << c.width << "x" << c.height;
    }
}
