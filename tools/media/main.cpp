// quillane-media: writes quillane's own media set (images, meshes, soundtrack)
// into a data directory, the same bytes on every run.
#include "assets/ebr_writer.h"
#include "assets/png_writer.h"
#include "contact_sheet.h"
#include "images.h"
#include "jpeg_writer.h"
#include "meshes.h"
#include "mp3_encoder.h"
#include "music.h"

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {
constexpr int kJpegQuality = 90;
constexpr int kLameQuality = 5;
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
    return WriteJpeg(path, bytes.data(), image.canvas.width, image.canvas.height, kJpegQuality);
}

bool WriteBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes)
{
    std::FILE *file = std::fopen(path.string().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
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

    std::clock_t t0 = std::clock();
    auto lap = [&](const char *what) { if (std::getenv("QUILLANE_MEDIA_TIMING")) { std::clock_t t1 = std::clock(); std::fprintf(stderr, "%s %.2f s cpu\n", what, static_cast<double>(t1 - t0) / CLOCKS_PER_SEC); t0 = t1; } };
    const std::vector<MediaImage> images = MakeImages();
    lap("images");
    const std::vector<MediaMesh> meshes = MakeMeshes();
    lap("meshes");

    if (!sheetPath.empty()) {
        const Canvas sheet = MakeContactSheet(images, meshes);
        const std::vector<uint8_t> bytes = sheet.Bytes(3);
        if (!WritePng(sheetPath, bytes.data(), sheet.width, sheet.height, 3)) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", sheetPath.c_str());
            return 1;
        }
    }
    if (dataDir.empty())
        return 0;

    const std::filesystem::path dir(dataDir);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    for (const MediaImage &image : images)
        if (!WriteImage(dir, image)) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", (dir / image.file).string().c_str());
            return 1;
        }
    for (const MediaMesh &mesh : meshes)
        if (!WriteEbr((dir / mesh.file).string(), {mesh.object})) {
            std::fprintf(stderr, "quillane-media: cannot write %s\n", (dir / mesh.file).string().c_str());
            return 1;
        }
    if (music) {
        const Soundtrack track = ComposeSoundtrack(kPeak);
        lap("compose");
        const std::vector<uint8_t> mp3 = EncodeMp3(track, kLameQuality);
        lap("encode");
        if (mp3.empty() || !WriteBytes(dir / "morvane.mp3", mp3)) {
            std::fprintf(stderr, "quillane-media: cannot encode %s\n", (dir / "morvane.mp3").string().c_str());
            return 1;
        }
    }
    return 0;
}
