// Feeds arbitrary bytes to the PNG decoder that textures are made from.
#include <cstddef>
#include <cstdint>

#include "assets/png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Small enough that a lying header cannot exhaust the fuzzer's memory.
    constexpr int kMaxSide = 1024;
    PngImage image;
    if (!DecodePng(data, size, kMaxSide, image)) {
        if (!image.pixels.empty())
            __builtin_trap();
        return 0;
    }
    const size_t expected = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                            static_cast<size_t>(image.channels);
    if ((image.channels != 3 && image.channels != 4) || image.width < 1 || image.height < 1 ||
        image.width > kMaxSide || image.height > kMaxSide || image.pixels.size() != expected)
        __builtin_trap();
    return 0;
}
