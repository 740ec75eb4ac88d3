#include "contact_sheet.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int kTile = 256, kLabel = 22, kColumns = 8;

Canvas ImageTile(const Canvas &image)
{
    Canvas tile(kTile, kTile);
    const float sx = static_cast<float>(image.width) / kTile, sy = static_cast<float>(image.height) / kTile;
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const bool dark = ((x / 16) + (y / 16)) % 2 != 0;
            const Colour check = dark ? Rgb(0.6f, 0.6f, 0.6f) : Rgb(0.85f, 0.85f, 0.85f);
            tile.At(x, y) = Over(check, image.Sample((static_cast<float>(x) + 0.5f) * sx, (static_cast<float>(y) + 0.5f) * sy));
        }
    return tile;
}

// Flat-shaded orthographic view, turned so that the shape reads, scaled to fit.
Canvas MeshTile(const EbrObject &mesh)
{
    Canvas tile(kTile, kTile, Rgb(0.12f, 0.13f, 0.16f));
    const size_t n = mesh.positions.size() / 3;
    float radius = 1e-6f;
    for (size_t k = 0; k < n; ++k)
        radius = std::max(radius, std::sqrt(mesh.positions[3 * k] * mesh.positions[3 * k] +
                                            mesh.positions[3 * k + 1] * mesh.positions[3 * k + 1] +
                                            mesh.positions[3 * k + 2] * mesh.positions[3 * k + 2]));
    const float ay = 0.6f, ax = 0.45f;
    std::vector<float> px(n), py(n), pz(n);
    for (size_t k = 0; k < n; ++k) {
        const float x = mesh.positions[3 * k], y = mesh.positions[3 * k + 1], z = mesh.positions[3 * k + 2];
        const float x1 = x * std::cos(ay) + z * std::sin(ay), z1 = -x * std::sin(ay) + z * std::cos(ay);
        const float y2 = y * std::cos(ax) - z1 * std::sin(ax), z2 = y * std::sin(ax) + z1 * std::cos(ax);
        px[k] = kTile / 2 + x1 / radius * kTile * 0.46f;
        py[k] = kTile / 2 - y2 / radius * kTile * 0.46f;
        pz[k] = z2;
    }
    std::vector<float> depth(static_cast<size_t>(kTile) * kTile, -std::numeric_limits<float>::infinity());
    for (size_t j = 0; j + 2 < mesh.indices.size(); j += 3) {
        const uint32_t a = mesh.indices[j], b = mesh.indices[j + 1], c = mesh.indices[j + 2];
        // Screen y points down, so a counter-clockwise front face has negative area here.
        const float area = (px[b] - px[a]) * (py[c] - py[a]) - (px[c] - px[a]) * (py[b] - py[a]);
        if (area >= 0)
            continue;
        // Face normal in view space for the light.
        const float ux = px[b] - px[a], uy = -(py[b] - py[a]), uz = pz[b] - pz[a];
        const float vx = px[c] - px[a], vy = -(py[c] - py[a]), vz = pz[c] - pz[a];
        float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        const float len = std::sqrt(nx * nx + ny * ny + nz * nz) + 1e-12f;
        nx /= len, ny /= len, nz /= len;
        const float light = std::max(0.0f, -0.4f * nx + 0.5f * ny + 0.77f * nz);
        const float rim = std::pow(1 - std::abs(nz), 3.0f);
        const Colour shade = Rgb(0.15f + 0.75f * light + 0.3f * rim, 0.2f + 0.6f * light + 0.3f * rim, 0.35f + 0.55f * light + 0.3f * rim);
        const int x0 = std::max(0, static_cast<int>(std::min({px[a], px[b], px[c]})));
        const int x1 = std::min(kTile - 1, static_cast<int>(std::max({px[a], px[b], px[c]})) + 1);
        const int y0 = std::max(0, static_cast<int>(std::min({py[a], py[b], py[c]})));
        const int y1 = std::min(kTile - 1, static_cast<int>(std::max({py[a], py[b], py[c]})) + 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float sx = static_cast<float>(x) + 0.5f, sy = static_cast<float>(y) + 0.5f;
                const float w0 = ((px[b] - sx) * (py[c] - sy) - (px[c] - sx) * (py[b] - sy)) / area;
                const float w1 = ((px[c] - sx) * (py[a] - sy) - (px[a] - sx) * (py[c] - sy)) / area;
                const float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                const float z = w0 * pz[a] + w1 * pz[b] + w2 * pz[c];
                float &d = depth[static_cast<size_t>(y) * kTile + x];
                if (z > d) {
                    d = z;
                    tile.At(x, y) = shade;
                }
            }
    }
    return tile;
}

void Paste(Canvas &sheet, const Canvas &tile, int x0, int y0)
{
    for (int y = 0; y < tile.height; ++y)
        for (int x = 0; x < tile.width; ++x)
            sheet.At(x0 + x, y0 + y) = tile.At(x, y);
}

void Label(Canvas &sheet, const std::string &text, int x0, int y0)
{
    TextPlacement place{kTile, kLabel, 4, 4, static_cast<float>(kTile - 8), 13, 1.0f};
    const TextMask mask = RenderText(text, FontPath("DejaVuSans.ttf"), place);
    // Keep the letters at a readable size: a short name would otherwise be scaled up to the full width.
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            sheet.At(x0 + x, y0 + y) = Over(sheet.At(x0 + x, y0 + y), Rgb(1, 1, 1), mask.At(x, y));
}
} // namespace

Canvas MakeContactSheet(const std::vector<MediaImage> &images, const std::vector<MediaMesh> &meshes)
{
    const int count = static_cast<int>(images.size() + meshes.size());
    const int rows = (count + kColumns - 1) / kColumns;
    Canvas sheet(kColumns * kTile, rows * (kTile + kLabel), Rgb(0.05f, 0.05f, 0.07f));
    int k = 0;
    auto place = [&](const Canvas &tile, const std::string &name) {
        const int x = (k % kColumns) * kTile, y = (k / kColumns) * (kTile + kLabel);
        Paste(sheet, tile, x, y + kLabel);
        Label(sheet, name, x, y);
        ++k;
    };
    for (const MediaImage &image : images)
        place(ImageTile(image.canvas), image.file);
    for (const MediaMesh &mesh : meshes)
        place(MeshTile(mesh.object), mesh.file + " (" + std::to_string(mesh.object.positions.size() / 3) + " v)");
    return sheet;
}
