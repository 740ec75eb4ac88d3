// quillane-media: writes quillane's own media set (images, meshes, soundtrack)
// into a data directory, the same bytes on every run.
#include "assets/ebr_writer.h"
#include "assets/png_writer.h"
#include "contact_sheet.h"
#include "images.h"
#include "assets/jpeg_writer.h"
#include "meshes.h"
#include "mp3_encoder.h"
#include "music.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace {
constexpr int kJpegQuality = 90;
constexpr int kLameQuality = 7;
// The encoder's ripple can lift peaks a little; this leaves room under -1 dBFS.
constexpr float kPeak = 0.75f;

int Usage()
{
    std::fprintf(stderr, "usage: quillane-media [DATA_DIR] [--contact-sheet FILE.png] [--no-music]\n"
                         "  writes the media set into DATA_DIR and/or a contact sheet of it\n");
    return 2;
}

bool WriteImage(const std::filesystem::path &dir, const MediaImage &image)
{
    const std::string path = (dir / image.file).string();
    if (image.png) {
        const std::vector<uint8_t> bytes = image.canvas.Bytes(4);
        return WritePng(path, bytes.data(), image.canvas.width, image.canvas.height, 4);
    }
    const std::vector<uint8_t> bytes = image.canvas.Bytes(3);
    return WriteJpeg(path, bytes.data(), image.canvas.width, image.canvas.height, 3, kJpegQuality);
}

bool WriteBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes)
{
    std::FILE *file = std::fopen(path.string().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
// Makes the pictures and meshes and writes them (and the contact sheet when asked).
bool WriteSet(const std::string &dataDir, const std::string &sheetPath)
{
    const std::vector<MediaImage> images = MakeImages();
    const std::vector<MediaMesh> meshes = MakeMeshes();
    if (!sheetPath.empty()) {
        const Canvas sheet = MakeContactSheet(images, meshes);
        const std::vector<uint8_t> bytes = sheet.Bytes(3);
        if (!WritePng(sheetPath, bytes.data(), sheet.width, sheet.height, 3)) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", sheetPath.c_str());
            return false;
        }
    }
    if (dataDir.empty())
        return true;
    const std::filesystem::path dir(dataDir);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    for (const MediaImage &image : images)
        if (!WriteImage(dir, image)) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", (dir / image.file).string().c_str());
            return false;
        }
    for (const MediaMesh &mesh : meshes)
        if (!WriteEbr((dir / mesh.file).string(), {mesh.object})) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", (dir / mesh.file).string().c_str());
            return false;
        }
    return true;
}
} // namespace

int main(int argc, char **argv)
{
    std::string dataDir, sheetPath;
    bool music = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc)
            sheetPath = argv[++i];
        else if (std::strcmp(argv[i], "--no-music") == 0)
            music = false;
        else if (argv[i][0] != '-' && dataDir.empty())
            dataDir = argv[i];
        else
            return Usage();
    }
    if (dataDir.empty() && sheetPath.empty())
        return Usage();

    // The soundtrack takes longest: it is composed and encoded on a thread of
    // its own while the pictures and meshes are made. Each part is deterministic
    // on its own, so the order in which they finish changes nothing.
    const bool wantMusic = music && !dataDir.empty();
    std::vector<uint8_t> mp3;
    std::thread soundtrack;
    if (wantMusic)
        soundtrack = std::thread([&mp3] { mp3 = EncodeMp3(ComposeSoundtrack(kPeak), kLameQuality); });
    const bool written = WriteSet(dataDir, sheetPath);
    if (soundtrack.joinable())
        soundtrack.join();
    if (!written)
        return 1;
    if (wantMusic) {
        const std::filesystem::path path = std::filesystem::path(dataDir) / "morvane.mp3";
        if (mp3.empty() || !WriteBytes(path, mp3)) {
            std::fprintf(stderr, "quillane-media: cannot encode %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
