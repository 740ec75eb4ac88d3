#include <gtest/gtest.h>

#include "driver/timeline.h"
#include "scene_fixture.h"

// What the timeline's windows carry from pass to pass, with the real scenes.
class TimelineProtocolTest : public SceneTest {
  protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        demo->heldTime = 0.0f;
        demo->stepAngle = 0.0f;
        demo->quitFlag = false;
    }
    int PassAt(double tenths)
    {
        SetTime(tenths);
        return RunTimelinePass(*demo);
    }
};

TEST_F(TimelineProtocolTest, TheHeldTimeStampIsTakenInTheTwinBumpWindowOnly)
{
    demo->heldTime = 3.5f; // what the stepped spin left
    EXPECT_EQ(PassAt(1790), 17);
    EXPECT_EQ(demo->heldTime, 3.5f);
    EXPECT_EQ(PassAt(1800), 18);
    EXPECT_NEAR(demo->heldTime, 1800.0f, 1e-3f) << "stamped after the frame";
    EXPECT_EQ(PassAt(1900), 19);
    EXPECT_NEAR(demo->heldTime, 1800.0f, 1e-3f) << "the slime scene only reads it";
}

TEST_F(TimelineProtocolTest, SkippingTheTwinBumpWindowLeavesTheSpinsHeldTime)
{
    demo->heldTime = 3.5f;
    const long before = grab->frames;
    EXPECT_EQ(PassAt(1790), 17);
    EXPECT_EQ(PassAt(1900), 19) << "one long pass skips 1795-1895";
    EXPECT_EQ(demo->heldTime, 3.5f);
    EXPECT_EQ(grab->frames, before + 2);
}

TEST_F(TimelineProtocolTest, ThePassAtTheEndPresentsNothing)
{
    EXPECT_EQ(PassAt(2249.9), 20);
    const long frames = grab->frames;
    EXPECT_EQ(PassAt(2250), -1);
    EXPECT_TRUE(demo->quitFlag);
    EXPECT_EQ(grab->frames, frames);
}
