#include "sound/soundtrack.h"

#include <SDL.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/clock.h"
#include "platform/glwindow.h"
#include "platform/message.h"
#include "sound/decoded_stream.h"
#include "sound/pcm_decoder.h"
#include "sound/fft_magnitudes.h"

namespace {
constexpr const char *kCaption = "BASS";
constexpr int kDeviceBufferFrames = 1024;

// The window that owns the soundtrack's messages, and the handle of the loaded
// stream (0 when loading failed or before it).
SDL_Window *soundWindow = nullptr;
uint32_t soundStream = 0;

// Where the audio callback was last called: the first stream frame it wrote
// and the counter reading at that moment. A sequence lock lets the main
// thread read the pair without ever making the callback wait.
class CallbackStamp {
  public:
    void Publish(int64_t frame, uint64_t ticks)
    {
        const uint32_t s = sequence.load(std::memory_order_relaxed);
        sequence.store(s + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        stampFrame.store(frame, std::memory_order_relaxed);
        stampTicks.store(ticks, std::memory_order_relaxed);
        sequence.store(s + 2, std::memory_order_release);
    }
    // False before the first callback.
    bool Read(int64_t &frame, uint64_t &ticks) const
    {
        for (;;) {
            const uint32_t before = sequence.load(std::memory_order_acquire);
            frame = stampFrame.load(std::memory_order_relaxed);
            ticks = stampTicks.load(std::memory_order_relaxed);
            std::atomic_thread_fence(std::memory_order_acquire);
            const uint32_t after = sequence.load(std::memory_order_relaxed);
            if (before == after && (before & 1u) == 0)
                return before != 0;
        }
    }
    // Only while the callback cannot run (device locked or closed).
    void Clear() { sequence.store(0, std::memory_order_release); }

  private:
    std::atomic<uint32_t> sequence{0};
    std::atomic<int64_t> stampFrame{0};
    std::atomic<uint64_t> stampTicks{0};
};

// The stream state: the module's one object besides the two handles above.
struct Soundtrack {
    ~Soundtrack() { Close(); }

    void CloseDevice()
    {
        if (device != 0) {
            SDL_CloseAudioDevice(device); // waits for a running callback to return
            device = 0;
        }
        if (audioStarted) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            audioStarted = false;
        }
        stamp.Clear();
    }

    void Close()
    {
        CloseDevice();
        decoded.reset();
        playing = false;
    }

    const FixedStepClock *fixedClock = nullptr;
    bool audioStarted = false;
    SDL_AudioDeviceID device = 0;
    int deviceLatencyFrames = 0;
    uint32_t lastHandle = 0;

    // Replaced only while the callback cannot run; read by the callback.
    std::unique_ptr<DecodedStream> decoded;
    // The next stream frame the callback writes; the callback's own, set by
    // the main thread only while the device is locked.
    int64_t nextFrame = 0;
    CallbackStamp stamp;
    // Fixed-step runs: the frame playback started at.
    int64_t startFrame = 0;
    bool playing = false;

    // The spectrum request's working memory, made once.
    SpectrumAnalyser analyser;
    int16_t heardFrames[SpectrumAnalyser::kFrames * kPcmChannels] = {};
};

Soundtrack soundtrack;

void FillAudio(void *, Uint8 *bytes, int length)
{
    const uint64_t now = SDL_GetPerformanceCounter();
    const int64_t frames = length / kPcmBytesPerFrame;
    const int64_t first = soundtrack.nextFrame;
    // Frames the decoder has not reached yet play as silence: never wait for it here.
    if (soundtrack.decoded)
        soundtrack.decoded->CopyFrames(first, frames, reinterpret_cast<int16_t *>(bytes));
    else
        std::memset(bytes, 0, static_cast<size_t>(length));
    soundtrack.nextFrame = first + frames;
    soundtrack.stamp.Publish(first, now);
}

// The stream frame being heard now: the callback's frames minus the buffer
// the device still holds, moved on by the time since the callback ran.
bool LiveHeardFrame(int64_t &frame)
{
    int64_t written = 0;
    uint64_t ticks = 0;
    if (!soundtrack.stamp.Read(written, ticks))
        return false;
    const double seconds = static_cast<double>(SDL_GetPerformanceCounter() - ticks) /
                           static_cast<double>(SDL_GetPerformanceFrequency());
    const double elapsed = std::fmin(seconds * kPcmRate, static_cast<double>(soundtrack.deviceLatencyFrames));
    frame = written - soundtrack.deviceLatencyFrames + static_cast<int64_t>(elapsed);
    return true;
}

// The stream frame at the fixed clock's time: pass * denominator / numerator
// seconds, counted in whole frames so every run reads the same.
int64_t FixedHeardFrame(const FixedStepClock &clock)
{
    return soundtrack.startFrame + clock.Pass() * clock.fpsDenominator * kPcmRate / clock.fpsNumerator;
}

uint32_t NextHandle()
{
    if (++soundtrack.lastHandle == 0)
        soundtrack.lastHandle = 1;
    return soundtrack.lastHandle;
}
} // namespace

void SoundUseFixedStepClock(const FixedStepClock *clock)
{
    soundtrack.fixedClock = clock;
}

void SoundInit(SDL_Window *window)
{
    soundWindow = window;
    soundtrack.CloseDevice();
    if (soundtrack.fixedClock)
        return; // nothing is played aloud in a fixed-step run

    SDL_AudioSpec wanted{};
    wanted.freq = kPcmRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kPcmChannels;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = FillAudio;
    SDL_AudioSpec obtained{};
    soundtrack.audioStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (soundtrack.audioStarted)
        // No changes allowed: SDL converts to whatever the hardware wants.
        soundtrack.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (soundtrack.device == 0) {
        ShowMessage("BASS error", kCaption);
        soundtrack.CloseDevice();
        return;
    }
    soundtrack.deviceLatencyFrames = obtained.samples;
}

void SoundLoad(const char *path)
{
    std::unique_ptr<DecodedStream> next = DecodedStream::Open(path);
    if (soundtrack.device != 0) {
        SDL_PauseAudioDevice(soundtrack.device, 1);
        SDL_LockAudioDevice(soundtrack.device);
    }
    soundtrack.decoded.swap(next);
    soundtrack.nextFrame = 0;
    soundtrack.stamp.Clear();
    if (soundtrack.device != 0)
        SDL_UnlockAudioDevice(soundtrack.device);
    next.reset(); // the previous stream, if any, outside the lock
    soundtrack.playing = false;
    soundtrack.startFrame = 0;

    soundStream = soundtrack.decoded ? NextHandle() : 0;
    if (soundStream == 0)
        ShowMessage("BASS error, file not found?", kCaption);
}

void SoundPlay(double offsetSeconds)
{
    const bool playable = soundStream != 0 && (soundtrack.fixedClock || soundtrack.device != 0);
    if (!playable) {
        ShowMessage("BASS error, can not play stream?", kCaption);
        return; // positioning a stream that cannot play fails silently
    }

    const int64_t frame = SoundBytePosition(offsetSeconds) / kPcmBytesPerFrame;
    soundtrack.startFrame = frame;
    soundtrack.playing = true;
    if (soundtrack.fixedClock)
        return;
    SDL_LockAudioDevice(soundtrack.device);
    soundtrack.nextFrame = frame;
    soundtrack.stamp.Clear();
    SDL_UnlockAudioDevice(soundtrack.device);
    SDL_PauseAudioDevice(soundtrack.device, 0);
}

uint32_t SoundGetFFT(float *out)
{
    if (!out || soundStream == 0 || !soundtrack.decoded || !soundtrack.playing)
        return kSoundRequestFailed;
    int64_t heard = 0;
    if (soundtrack.fixedClock) {
        heard = FixedHeardFrame(*soundtrack.fixedClock);
        soundtrack.decoded->WaitFor(heard + 1);
    } else if (soundtrack.device == 0 || !LiveHeardFrame(heard)) {
        return kSoundRequestFailed;
    }
    soundtrack.decoded->CopyFrames(heard - (SpectrumAnalyser::kFrames - 1), SpectrumAnalyser::kFrames,
                                   soundtrack.heardFrames);
    soundtrack.analyser.Analyse(soundtrack.heardFrames, out);
    return SpectrumAnalyser::kFrames * kPcmBytesPerFrame;
}

uint32_t SoundBytePosition(double offsetSeconds)
{
    const double bytes = std::trunc(offsetSeconds * 176400.0);
    if (!(bytes > 0.0) || !std::isfinite(bytes))
        return 0;
    // The low 32 bits of the whole byte count, as the 32-bit position always kept them.
    return static_cast<uint32_t>(std::fmod(bytes, 4294967296.0));
}

void SoundWaitUntilDecoded()
{
    if (soundtrack.decoded)
        soundtrack.decoded->WaitUntilFinished();
}

void SoundShutdown()
{
    soundtrack.Close();
    soundStream = 0;
    soundWindow = nullptr;
}

void GLWindow::PlayMusic(const char *path, float offsetSeconds)
{
    SoundInit(window);
    SoundLoad(path);
    SoundPlay(static_cast<double>(offsetSeconds));
}

uint32_t GLWindow::GetSpectrum(float *out)
{
    return SoundGetFFT(out);
}
