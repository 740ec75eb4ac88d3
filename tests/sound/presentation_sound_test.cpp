#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "driver/demo.h"
#include "driver/main_loop.h"
#include "mp3_fixture.h"
#include "platform/clock.h"
#include "platform/glwindow.h"
#include "sound/soundtrack.h"
#include "support/offscreen_gl.h"

namespace {
// Stops the run after a few frames.
class CountingSink final : public FrameSink {
  public:
    explicit CountingSink(int frames) : left(frames) {}
    bool TakeFrame(const uint8_t *, int, int) override { return --left > 0; }

  private:
    int left;
};

struct PresentationRun {
    std::vector<float> spectrum; // the Demo's, after the last pass
    long passes = 0;
    std::vector<MessageRecorder::Message> messages;
};

// A fixed-step run of the presentation at 10 frames per second, in a directory
// whose data/morvane.mp3 holds one second of silence and then a bin-30 tone.
PresentationRun RunFixedStep(bool toneAudible, int frames)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "data");
    std::vector<int16_t> pcm;
    AppendTone(pcm, 2, 44100, 44100, 0.0, 0.0, 0.0);
    AppendTone(pcm, 2, 44100, 44100, BinCentre(30), BinCentre(30), toneAudible ? 0.98 : 0.0);
    EXPECT_TRUE(WriteMp3((dir.path / "data" / "morvane.mp3").string(), pcm, 44100, 2, 320));

    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    PresentationRun run;
    {
        MessageRecorder recorder;
        FixedStepClock clock(10, 1);
        CountingSink sink(frames);
        PresentationConfig config;
        config.fullScreen = false;
        config.fixedStep = &clock;
        config.frameSink = &sink;
        config.afterPass = [&run](const Demo &demo) {
            run.spectrum.assign(std::begin(demo.spectrum), std::end(demo.spectrum));
            ++run.passes;
        };
        RunPresentation(config);
        for (const auto &m : recorder.messages)
            if (m.caption == "BASS")
                run.messages.push_back(m);
    }
    std::filesystem::current_path(home);
    SoundShutdown();
    return run;
}
} // namespace

// The opening fetches the spectrum every frame: in a fixed-step run it is the
// soundtrack at the pass's time, from the driver's start of playback on.
TEST(PresentationSound, FixedStepRunFetchesTheSpectrumOfTheSoundtrackAtThePassTime)
{
    // Keep video and the GL driver loaded to the end of the process: a driver
    // unloaded earlier hides its own allocations from the leak checker's suppressions.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
    const PresentationRun loud = RunFixedStep(true, 13); // passes 0..12: the last one hears 1.2 s
    ASSERT_EQ(loud.passes, 13);
    EXPECT_TRUE(loud.messages.empty());
    EXPECT_NEAR(loud.spectrum[30], 1.0f, 0.05f);
    EXPECT_LT(loud.spectrum[4], 0.01f);
    for (int k = 512; k < 1024; ++k)
        ASSERT_EQ(loud.spectrum[k], 0.0f) << "entry " << k << " was written";

    const PresentationRun early = RunFixedStep(true, 9); // the last pass hears 0.8 s: still silence
    EXPECT_LT(early.spectrum[30], 1e-3f);

    const PresentationRun silent = RunFixedStep(false, 13);
    EXPECT_LT(silent.spectrum[30], 1e-3f);
}
