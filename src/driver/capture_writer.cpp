#include "driver/capture_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace {
std::string AvError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}
} // namespace

int64_t SamplesForFrames(int64_t frames, int64_t fpsNumerator, int64_t fpsDenominator)
{
    const long double samples = static_cast<long double>(frames) * fpsDenominator * kCaptureSampleRate;
    return std::llroundl(samples / fpsNumerator);
}

VideoWriter::VideoWriter(const VideoSettings &videoSettings) : settings(videoSettings)
{
    Open();
}

VideoWriter::~VideoWriter()
{
    Close();
}

void VideoWriter::SetSound(std::vector<int16_t> samplesInterleaved)
{
    pcm = std::move(samplesInterleaved);
}

bool VideoWriter::Fail(const std::string &what, int code)
{
    if (error.empty())
        error = code < 0 ? what + ": " + AvError(code) : what;
    return false;
}

bool VideoWriter::Open()
{
    // x264's and the muxer's chatter would break the progress bar.
    av_log_set_level(AV_LOG_ERROR);
    const std::string &path = settings.path;

    int ret = avformat_alloc_output_context2(&format, nullptr, "mp4", path.c_str());
    if (ret < 0)
        return Fail("cannot set up the MP4 file", ret);

    const AVCodec *h264 = avcodec_find_encoder_by_name("libx264");
    const AVCodec *aac = avcodec_find_encoder_by_name("aac");
    if (!h264)
        return Fail("FFmpeg has no libx264 encoder for H.264", 0);
    if (!aac)
        return Fail("FFmpeg has no AAC encoder", 0);

    videoStream = avformat_new_stream(format, nullptr);
    audioStream = avformat_new_stream(format, nullptr);
    video = avcodec_alloc_context3(h264);
    audio = avcodec_alloc_context3(aac);
    picture = av_frame_alloc();
    sound = av_frame_alloc();
    packet = av_packet_alloc();
    if (!videoStream || !audioStream || !video || !audio || !picture || !sound || !packet)
        return Fail("out of memory", AVERROR(ENOMEM));

    const AVRational frameRate{static_cast<int>(settings.fpsNumerator),
                               static_cast<int>(settings.fpsDenominator)};
    video->width = settings.width;
    video->height = settings.height;
    video->time_base = av_inv_q(frameRate);
    video->framerate = frameRate;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    // A key frame about every two seconds keeps seeking quick.
    video->gop_size = std::max(1, static_cast<int>(std::lround(2.0 * av_q2d(frameRate))));
    video->color_range = AVCOL_RANGE_MPEG;
    video->colorspace = AVCOL_SPC_BT709;
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary *videoOptions = nullptr;
    av_dict_set(&videoOptions, "preset", settings.x264Preset.c_str(), 0);
    av_dict_set_int(&videoOptions, "crf", settings.crf, 0);
    ret = avcodec_open2(video, h264, &videoOptions);
    av_dict_free(&videoOptions);
    if (ret < 0)
        return Fail("cannot start the H.264 encoder", ret);

    audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
    audio->sample_rate = kCaptureSampleRate;
    av_channel_layout_default(&audio->ch_layout, 2);
    audio->bit_rate = 192000;
    audio->time_base = AVRational{1, kCaptureSampleRate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ret = avcodec_open2(audio, aac, nullptr);
    if (ret < 0)
        return Fail("cannot start the AAC encoder", ret);

    if ((ret = avcodec_parameters_from_context(videoStream->codecpar, video)) < 0 ||
        (ret = avcodec_parameters_from_context(audioStream->codecpar, audio)) < 0)
        return Fail("cannot set up the MP4 streams", ret);
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = frameRate;
    videoStream->r_frame_rate = frameRate;
    audioStream->time_base = audio->time_base;

    picture->format = video->pix_fmt;
    picture->width = settings.width;
    picture->height = settings.height;
    sound->format = audio->sample_fmt;
    sound->sample_rate = kCaptureSampleRate;
    sound->nb_samples = audio->frame_size;
    if ((ret = av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout)) < 0 ||
        (ret = av_frame_get_buffer(picture, 0)) < 0 || (ret = av_frame_get_buffer(sound, 0)) < 0)
        return Fail("out of memory", ret);

    scaler = sws_getContext(settings.width, settings.height, AV_PIX_FMT_RGB24, settings.width,
                            settings.height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!scaler)
        return Fail("cannot set up the colour conversion", 0);
    // Full-range RGB to limited-range BT.709, as the stream is tagged.
    sws_setColorspaceDetails(scaler, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                             sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);

    ret = swr_alloc_set_opts2(&converter, &audio->ch_layout, AV_SAMPLE_FMT_FLTP, kCaptureSampleRate,
                              &audio->ch_layout, AV_SAMPLE_FMT_S16, kCaptureSampleRate, 0, nullptr);
    if (ret < 0 || (ret = swr_init(converter)) < 0)
        return Fail("cannot set up the sound conversion", ret);

    ret = avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (ret < 0)
        return Fail("cannot write " + path, ret);
    created = true;

    // The index goes to the front, so browsers can play while loading.
    AVDictionary *muxOptions = nullptr;
    av_dict_set(&muxOptions, "movflags", "+faststart", 0);
    // The edit lists that cut the AAC encoder's priming and padding count in
    // this unit: in samples they are exact, in the default milliseconds not.
    av_dict_set_int(&muxOptions, "movie_timescale", kCaptureSampleRate, 0);
    ret = avformat_write_header(format, &muxOptions);
    av_dict_free(&muxOptions);
    if (ret < 0)
        return Fail("cannot write " + path, ret);
    return true;
}

bool VideoWriter::Drain(AVCodecContext *codec, AVStream *stream)
{
    for (;;) {
        int ret = avcodec_receive_packet(codec, packet);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return true;
        if (ret < 0)
            return Fail(codec == video ? "the H.264 encoder failed" : "the AAC encoder failed", ret);
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        ret = av_interleaved_write_frame(format, packet);
        if (ret < 0)
            return Fail("cannot write " + settings.path, ret);
    }
}

bool VideoWriter::EncodeVideo(AVFrame *frame)
{
    const int ret = avcodec_send_frame(video, frame);
    if (ret < 0)
        return Fail("the H.264 encoder failed", ret);
    return Drain(video, videoStream);
}

bool VideoWriter::EncodeAudio(AVFrame *frame)
{
    const int ret = avcodec_send_frame(audio, frame);
    if (ret < 0)
        return Fail("the AAC encoder failed", ret);
    return Drain(audio, audioStream);
}

bool VideoWriter::WriteFrame(const uint8_t *rgbBottomUp)
{
    if (!Ok() || finished)
        return false;
    int ret = av_frame_make_writable(picture);
    if (ret < 0)
        return Fail("out of memory", ret);
    // The GL's rows run bottom-up: start at the last row and step backwards.
    const int stride = settings.width * 3;
    const uint8_t *source[1] = {rgbBottomUp + static_cast<ptrdiff_t>(settings.height - 1) * stride};
    const int sourceStride[1] = {-stride};
    sws_scale(scaler, source, sourceStride, 0, settings.height, picture->data, picture->linesize);
    picture->pts = frames;
    if (!EncodeVideo(picture))
        return false;
    ++frames;
    return WriteSoundUpTo(SamplesForFrames(frames, settings.fpsNumerator, settings.fpsDenominator), false);
}

bool VideoWriter::WriteSoundUpTo(int64_t sampleEnd, bool last)
{
    const int frameSize = audio->frame_size;
    std::vector<int16_t> block;
    while (samples < sampleEnd) {
        const int64_t count = std::min<int64_t>(frameSize, sampleEnd - samples);
        if (count < frameSize && !last)
            break; // only the last block may be short
        // The soundtrack from `samples` on, silence past its end.
        block.assign(static_cast<size_t>(count) * 2, 0);
        const int64_t available = static_cast<int64_t>(pcm.size() / 2) - samples;
        if (available > 0)
            std::copy_n(pcm.begin() + samples * 2, std::min(available, count) * 2, block.begin());

        int ret = av_frame_make_writable(sound);
        if (ret < 0)
            return Fail("out of memory", ret);
        sound->nb_samples = static_cast<int>(count);
        const uint8_t *input[1] = {reinterpret_cast<const uint8_t *>(block.data())};
        ret = swr_convert(converter, sound->data, static_cast<int>(count), input, static_cast<int>(count));
        if (ret != count)
            return Fail("the sound conversion failed", ret < 0 ? ret : 0);
        sound->pts = samples;
        samples += count;
        if (!EncodeAudio(sound))
            return false;
    }
    return true;
}

bool VideoWriter::Finish()
{
    if (finished)
        return Ok();
    if (Ok()) {
        WriteSoundUpTo(SamplesForFrames(frames, settings.fpsNumerator, settings.fpsDenominator), true);
        if (Ok())
            EncodeVideo(nullptr);
        if (Ok())
            EncodeAudio(nullptr);
        if (Ok()) {
            const int ret = av_write_trailer(format);
            if (ret < 0)
                Fail("cannot write " + settings.path, ret);
        }
        if (Ok()) {
            const int ret = avio_closep(&format->pb);
            if (ret < 0)
                Fail("cannot write " + settings.path, ret);
        }
    }
    finished = Ok();
    Close();
    return finished;
}

void VideoWriter::Close()
{
    if (format && format->pb) {
        const int ret = avio_closep(&format->pb);
        if (ret < 0)
            Fail("cannot write " + settings.path, ret);
    }
    if (created && !finished) {
        // A half-written MP4 does not play: leave no file that looks like a capture.
        std::error_code ignored;
        if (std::filesystem::is_regular_file(settings.path, ignored))
            std::filesystem::remove(settings.path, ignored);
    }
    created = false;
    avformat_free_context(format);
    format = nullptr;
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    av_frame_free(&picture);
    av_frame_free(&sound);
    av_packet_free(&packet);
    sws_freeContext(scaler);
    scaler = nullptr;
    swr_free(&converter);
}
