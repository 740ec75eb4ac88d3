#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace {
struct Glyphs {
    // Ink bitmaps positioned on a shared baseline; x, y of each bitmap's top-left.
    struct Piece {
        int x, y, w, h;
        std::vector<unsigned char> coverage;
    };
    std::vector<Piece> pieces;
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
};

bool Shape(FT_Face face, const std::string &text, int sizeX, int sizeY, Glyphs &out)
{
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(sizeX), static_cast<FT_UInt>(sizeY)) != 0)
        return false;
    out = Glyphs{};
    bool any = false;
    long penX = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0)
                penX += kern.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0)
            return false;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap &bitmap = slot->bitmap;
        Glyphs::Piece piece{static_cast<int>(penX >> 6) + slot->bitmap_left, -slot->bitmap_top,
                            static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), {}};
        piece.coverage.resize(static_cast<size_t>(piece.w) * piece.h);
        for (int y = 0; y < piece.h; ++y)
            for (int x = 0; x < piece.w; ++x)
                piece.coverage[static_cast<size_t>(y) * piece.w + x] = bitmap.buffer[y * bitmap.pitch + x];
        if (piece.w > 0 && piece.h > 0) {
            if (!any) {
                out.minX = piece.x, out.minY = piece.y;
                out.maxX = piece.x + piece.w, out.maxY = piece.y + piece.h;
                any = true;
            }
            out.minX = std::min(out.minX, piece.x);
            out.minY = std::min(out.minY, piece.y);
            out.maxX = std::max(out.maxX, piece.x + piece.w);
            out.maxY = std::max(out.maxY, piece.y + piece.h);
        }
        out.pieces.push_back(std::move(piece));
        penX += slot->advance.x;
        previous = index;
    }
    return any;
}
} // namespace

std::string FontPath(const char *file)
{
    return std::string("/usr/share/fonts/truetype/dejavu/") + file;
}

TextMask RenderText(const std::string &text, const std::string &fontPath, const TextPlacement &place)
{
    TextMask mask;
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0)
        return mask;
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) == 0) {
        Glyphs glyphs;
        constexpr int probe = 200;
        if (Shape(face, text, probe, probe, glyphs)) {
            const float inkW = static_cast<float>(glyphs.maxX - glyphs.minX);
            const float inkH = static_cast<float>(glyphs.maxY - glyphs.minY);
            const float uniform = std::min(place.boxW / inkW, place.boxH / inkH);
            const float sy = std::min(place.boxH / inkH, uniform * place.maxStretch);
            const int sizeX = std::max(1, static_cast<int>(std::lround(probe * uniform)));
            const int sizeY = std::max(1, static_cast<int>(std::lround(probe * sy)));
            if (Shape(face, text, sizeX, sizeY, glyphs)) {
                mask.width = place.canvasW;
                mask.height = place.canvasH;
                mask.alpha.assign(static_cast<size_t>(mask.width) * mask.height, 0.0f);
                const int offX = static_cast<int>(std::lround(place.boxX + place.boxW / 2)) -
                                 (glyphs.minX + glyphs.maxX) / 2;
                const int offY = static_cast<int>(std::lround(place.boxY + place.boxH / 2)) -
                                 (glyphs.minY + glyphs.maxY) / 2;
                for (const Glyphs::Piece &piece : glyphs.pieces)
                    for (int y = 0; y < piece.h; ++y)
                        for (int x = 0; x < piece.w; ++x) {
                            const int tx = piece.x + x + offX, ty = piece.y + y + offY;
                            if (tx < 0 || ty < 0 || tx >= mask.width || ty >= mask.height)
                                continue;
                            float &a = mask.alpha[static_cast<size_t>(ty) * mask.width + tx];
                            a = std::min(1.0f, a + piece.coverage[static_cast<size_t>(y) * piece.w + x] / 255.0f);
                        }
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return mask;
}

namespace {
// The inked rows and columns grown by margin, clamped to the mask.
void InkBox(const TextMask &mask, int margin, int &x0, int &y0, int &x1, int &y1)
{
    x0 = mask.width, y0 = mask.height, x1 = -1, y1 = -1;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.At(x, y) > 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    x0 = std::max(0, x0 - margin), y0 = std::max(0, y0 - margin);
    x1 = std::min(mask.width - 1, x1 + margin), y1 = std::min(mask.height - 1, y1 + margin);
}
} // namespace

TextMask Dilate(const TextMask &mask, int radius)
{
    TextMask out = mask;
    std::vector<std::pair<int, int>> brush;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius)
                brush.emplace_back(dx, dy);
    int x0, y0, x1, y1;
    InkBox(mask, radius, x0, y0, x1, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float best = 0;
            for (auto [dx, dy] : brush) {
                best = std::max(best, mask.At(x + dx, y + dy));
                if (best >= 1)
                    break;
            }
            out.alpha[static_cast<size_t>(y) * mask.width + x] = best;
        }
    return out;
}

TextMask Blur(const TextMask &mask, int radius)
{
    TextMask out = mask;
    std::vector<float> tmp(mask.alpha.size());
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    int x0, y0, x1, y1;
    InkBox(mask, 2 * radius, x0, y0, x1, y1);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float sum = 0;
                for (int d = -radius; d <= radius; ++d)
                    sum += out.At(x + d, y);
                tmp[static_cast<size_t>(y) * out.width + x] = sum * norm;
            }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float sum = 0;
                for (int d = -radius; d <= radius; ++d) {
                    const int yy = y + d;
                    if (yy >= 0 && yy < out.height)
                        sum += tmp[static_cast<size_t>(yy) * out.width + x];
                }
                out.alpha[static_cast<size_t>(y) * out.width + x] = sum * norm;
            }
    }
    return out;
}
