#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh directory under the system's temporary one, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    std::string File(const std::string &name) const { return (path / name).string(); }

    std::filesystem::path path;
};

// Encodes interleaved int16 PCM with libmp3lame and writes the LAME tag over
// the first frame, so that gapless decoding gives back exactly the frames put in.
bool WriteMp3(const std::string &path, const std::vector<int16_t> &pcm, int rate, int channels,
              int kbps = 192);

// The frequency at the centre of a 1024-point spectrum's bin at 44100 Hz.
double BinCentre(int bin);

// A tone per channel (0 Hz is silence), amplitude 0..1 of full scale, from
// sample 0 of the given number of frames; appended to pcm.
void AppendTone(std::vector<int16_t> &pcm, int channels, int rate, int64_t frames, double leftHz,
                double rightHz, double amplitude);

// Interleaved stereo int16 from a byte file (the disk audio driver's output).
std::vector<int16_t> ReadPcmFile(const std::string &path);
