#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Checks of written media through the ffmpeg and ffprobe programs: they read
// the files as any player would, independently of the code under test.

struct CommandResult {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs a shell command; standard output and error are collected.
CommandResult RunCommand(const std::string &command);

// Quotes a path for the shell.
std::string ShellQuote(const std::string &text);

// Fields of one stream ("v:0", "a:0") as ffprobe reports them, frames counted
// by decoding (nb_read_frames); empty when ffprobe cannot read the file.
std::map<std::string, std::string> ProbeStream(const std::string &path, const std::string &stream);

// The audio track decoded to 44100 Hz mono 16-bit.
std::vector<int16_t> DecodeAudioMono(const std::string &path);

// One frame decoded to RGB, top row first, after an optional ffmpeg filter
// ("crop=...,scale=..."); empty when it cannot be read.
std::vector<uint8_t> DecodeFrame(const std::string &path, int frameIndex, const std::string &filter,
                                 int width, int height);

// The first `count` frames decoded to RGB, top row first, one after another.
std::vector<std::vector<uint8_t>> DecodeFrames(const std::string &path, int count, int width, int height);

// Mean absolute difference per channel value over a rectangle of two RGB
// pictures of the given width (rows top first).
double MeanDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int width, int x, int y,
                      int w, int h);

// The largest channel value in a rectangle.
int MaxValue(const std::vector<uint8_t> &rgb, int width, int x, int y, int w, int h);

// A fresh empty directory under the system's temporary directory.
std::string MakeTempDirectory();
