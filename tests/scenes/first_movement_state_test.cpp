// The state every frame of the first movement leaves for the next, read back
// from the GL at the end of every frame of a fixed-step run.
#include <gtest/gtest.h>

#include <string>

#include "driver/main_loop.h"
#include "frame_state.h"
#include "support/offscreen_gl.h"
#include "test_media.h"

namespace {

constexpr double kFirstMovementEnd = 103.0;

// Runs the presentation from start-up to `until` seconds at `fps`, checking every frame.
StateCheckSink RunChecked(int fps, double until)
{
    FixedStepClock clock(fps, 1);
    StateCheckSink sink(clock, StartOfFrameRules(), until);
    PresentationConfig config;
    config.fullScreen = false;
    config.fixedStep = &clock;
    config.frameSink = &sink;
    RunPresentation(config);
    return sink;
}

void ExpectEveryRuleHeld(const StateCheckSink &sink, double until)
{
    for (const std::string &failure : sink.failures)
        ADD_FAILURE() << failure;
    const std::vector<StateRule> rules = StartOfFrameRules();
    for (size_t r = 0; r < rules.size(); ++r) {
        if (rules[r].from < until) {
            EXPECT_GT(sink.framesPerRule[r], 0)
                << rules[r].name << " from " << rules[r].from << " s: no frame";
        }
    }
}

} // namespace

TEST(FirstMovementState, EveryFrameLeavesTheStateTheNextOneStartsWith)
{
    TestMedia media;
    WorkingDirectory inMedia(media.Directory());
    MessageRecorder messages;
    // Ten frames a second reaches every window, the two-second ones twenty times.
    const StateCheckSink sink = RunChecked(10, kFirstMovementEnd);
    EXPECT_EQ(sink.frames, 1030);
    ExpectEveryRuleHeld(sink, kFirstMovementEnd);
    // Only the soundtrack is missing; no picture or mesh is reported (their captions are their paths).
    for (const auto &message : messages.messages)
        EXPECT_FALSE(message.caption.starts_with("data/")) << message.caption << ": " << message.text;
}

TEST(FirstMovementState, MissingMediaIsReportedPerFileAndTheRunKeepsItsState)
{
    // An empty directory: every picture and mesh is missing.
    TestMedia media;
    const auto empty = media.Directory() / "empty";
    std::filesystem::create_directories(empty);
    WorkingDirectory inEmpty(empty);
    MessageRecorder messages;
    const StateCheckSink sink = RunChecked(2, kFirstMovementEnd);
    EXPECT_EQ(sink.frames, 206);
    ExpectEveryRuleHeld(sink, kFirstMovementEnd);
    // The JPEG pictures and the meshes say so, each under its own path; PNGs stay silent.
    for (const char *path : {"data/blue.jpg", "data/new_jesus.jpg", "data/garbage_queen.jpg",
                             "data/twisty4.ebr", "data/hisphere.ebr", "data/slimy.ebr"}) {
        bool reported = false;
        for (const auto &message : messages.messages)
            reported = reported || message.caption == path;
        EXPECT_TRUE(reported) << path;
    }
}
