#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;
struct SwrContext;

constexpr int kCaptureSampleRate = 44100;

struct VideoSettings {
    std::string path;
    int width = 800; // even
    int height = 600;
    int64_t fpsNumerator = 60;
    int64_t fpsDenominator = 1;
    // libx264's speed/size trade-off; the capture must keep up with rendering.
    std::string x264Preset = "ultrafast";
    int crf = 18;
};

// Samples of audio that last exactly as long as the first `frames` frames,
// to the nearest sample.
int64_t SamplesForFrames(int64_t frames, int64_t fpsNumerator, int64_t fpsDenominator);

// An MP4 file with an H.264 (yuv420p) picture track and an AAC sound track.
// Frame n is shown at n / fps; the sound is the given PCM (44100 Hz stereo,
// interleaved) from 0, cut or padded with silence to the length of the
// picture. Errors (an unwritable path, a full disk) are kept as a message;
// a writer that failed, or is destroyed unfinished, removes its file.
class VideoWriter {
  public:
    explicit VideoWriter(const VideoSettings &settings);
    ~VideoWriter();
    VideoWriter(const VideoWriter &) = delete;
    VideoWriter &operator=(const VideoWriter &) = delete;

    bool Ok() const { return error.empty(); }
    const std::string &Error() const { return error; }

    // The sound track's PCM; set before the first frame (silence otherwise).
    void SetSound(std::vector<int16_t> pcm);

    // The next frame: RGB rows bottom-up, 3 * width bytes each. With it goes
    // the sound up to the frame's end.
    bool WriteFrame(const uint8_t *rgbBottomUp);

    // Gives the file up: Finish then fails with this message and removes it.
    void Abandon(const std::string &why) { Fail(why, 0); }

    // Flushes both encoders and completes the file. False on any error.
    bool Finish();

    int64_t FramesWritten() const { return frames; }
    int Width() const { return settings.width; }
    int Height() const { return settings.height; }

  private:
    bool Open();
    bool Fail(const std::string &what, int code);
    bool EncodeVideo(AVFrame *frame);
    bool EncodeAudio(AVFrame *frame);
    bool WriteSoundUpTo(int64_t sampleEnd, bool last);
    bool Drain(AVCodecContext *codec, AVStream *stream);
    void Close();

    VideoSettings settings;
    std::string error;
    std::vector<int16_t> pcm;
    AVFormatContext *format = nullptr;
    AVCodecContext *video = nullptr;
    AVCodecContext *audio = nullptr;
    AVStream *videoStream = nullptr;
    AVStream *audioStream = nullptr;
    AVFrame *picture = nullptr;
    AVFrame *sound = nullptr;
    AVPacket *packet = nullptr;
    SwsContext *scaler = nullptr;
    SwrContext *converter = nullptr;
    int64_t frames = 0;
    int64_t samples = 0;  // sound samples (per channel) sent to the encoder
    bool created = false; // the file is ours to remove if it stays unfinished
    bool finished = false;
};
