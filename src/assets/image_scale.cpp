#include "assets/image_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

int NearestPowerOfTwo(int value)
{
    if (value <= 1)
        return 1;
    int power = 1;
    while (value > 3) {
        value >>= 1;
        power <<= 1;
    }
    return value == 3 ? power * 4 : power * 2;
}

namespace {
// Resamples one line whose samples lie `step` values apart: each output sample
// averages the input samples it covers, weighted by how much it covers.
template <typename Sample>
void ScaleLine(const Sample *in, int inCount, float *out, int outCount, size_t step, int components)
{
    const double span = double(inCount) / outCount;
    for (int o = 0; o < outCount; ++o) {
        const double begin = o * span;
        const double end = begin + span;
        for (int c = 0; c < components; ++c) {
            double sum = 0.0;
            for (int i = static_cast<int>(begin); i < inCount && i < end; ++i) {
                const double cover = std::min(end, i + 1.0) - std::max(begin, double(i));
                sum += cover * in[size_t(i) * step + size_t(c)];
            }
            out[size_t(o) * step + size_t(c)] = static_cast<float>(sum / span);
        }
    }
}
} // namespace

std::vector<uint8_t> ScaleImage(const uint8_t *pixels, int width, int height, int components, int newWidth,
                                int newHeight)
{
    const size_t comps = size_t(components);
    // Along the rows first, then down the columns of the result.
    std::vector<float> across(size_t(newWidth) * size_t(height) * comps);
    for (size_t row = 0; row < size_t(height); ++row)
        ScaleLine(pixels + row * size_t(width) * comps, width, across.data() + row * size_t(newWidth) * comps,
                  newWidth, comps, components);
    std::vector<float> both(size_t(newWidth) * size_t(newHeight) * comps);
    const size_t rowStep = size_t(newWidth) * comps;
    for (size_t column = 0; column < size_t(newWidth); ++column)
        ScaleLine(across.data() + column * comps, height, both.data() + column * comps, newHeight, rowStep,
                  components);

    std::vector<uint8_t> scaled(both.size());
    for (size_t i = 0; i < both.size(); ++i)
        scaled[i] = static_cast<uint8_t>(std::clamp(std::lround(both[i]), 0L, 255L));
    return scaled;
}
