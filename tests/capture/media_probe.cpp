#include "media_probe.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string MakeTempDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillane-capture-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

CommandResult RunCommand(const std::string &command)
{
    static int counter = 0;
    const std::string base = (std::filesystem::temp_directory_path() /
                              ("quillane-cmd-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
                                 .string();
    const std::string full = "( " + command + " ) >" + base + ".out 2>" + base + ".err";
    const int status = std::system(full.c_str());
    CommandResult result;
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.status = 128 + WTERMSIG(status);
    result.out = ReadFile(base + ".out");
    result.err = ReadFile(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return result;
}

std::map<std::string, std::string> ProbeStream(const std::string &path, const std::string &stream)
{
    const CommandResult probe =
        RunCommand("ffprobe -v error -count_frames -select_streams " + stream +
                   " -show_entries stream=codec_name,pix_fmt,width,height,r_frame_rate,start_time,duration,"
                   "duration_ts,time_base,sample_rate,channels,nb_read_frames -of default=nw=1 " +
                   ShellQuote(path));
    std::map<std::string, std::string> fields;
    if (probe.status != 0)
        return fields;
    std::istringstream lines(probe.out);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

std::vector<int16_t> DecodeAudioMono(const std::string &path)
{
    const CommandResult decoded =
        RunCommand("ffmpeg -v error -i " + ShellQuote(path) + " -map 0:a:0 -ac 1 -ar 44100 -f s16le -");
    std::vector<int16_t> samples(decoded.out.size() / 2);
    if (decoded.status == 0 && !samples.empty())
        std::memcpy(samples.data(), decoded.out.data(), samples.size() * 2);
    else
        samples.clear();
    return samples;
}

std::vector<uint8_t> DecodeFrame(const std::string &path, int frameIndex, const std::string &filter,
                                 int width, int height)
{
    std::string chain = "select=eq(n\\," + std::to_string(frameIndex) + ")";
    if (!filter.empty())
        chain += "," + filter;
    const CommandResult decoded = RunCommand("ffmpeg -v error -i " + ShellQuote(path) + " -vf " +
                                             ShellQuote(chain) + " -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (decoded.status != 0 || decoded.out.size() != bytes)
        return {};
    return std::vector<uint8_t>(decoded.out.begin(), decoded.out.end());
}

std::vector<std::vector<uint8_t>> DecodeFrames(const std::string &path, int count, int width, int height)
{
    const CommandResult decoded = RunCommand("ffmpeg -v error -i " + ShellQuote(path) + " -frames:v " +
                                             std::to_string(count) + " -f rawvideo -pix_fmt rgb24 -");
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    std::vector<std::vector<uint8_t>> frames;
    for (size_t at = 0; decoded.status == 0 && at + bytes <= decoded.out.size(); at += bytes)
        frames.emplace_back(decoded.out.begin() + static_cast<ptrdiff_t>(at),
                            decoded.out.begin() + static_cast<ptrdiff_t>(at + bytes));
    return frames;
}

double MeanDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int width, int x, int y,
                      int w, int h)
{
    double sum = 0.0;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            for (int c = 0; c < 3; ++c) {
                const size_t i = (static_cast<size_t>(row) * width + col) * 3 + c;
                sum += std::abs(int(a[i]) - int(b[i]));
            }
    return sum / (3.0 * w * h);
}

int MaxValue(const std::vector<uint8_t> &rgb, int width, int x, int y, int w, int h)
{
    int largest = 0;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            for (int c = 0; c < 3; ++c)
                largest = std::max(largest, int(rgb[(static_cast<size_t>(row) * width + col) * 3 + c]));
    return largest;
}
