#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <png.h>

#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/texture.h"
#include "support/offscreen_gl.h"

namespace {
struct Rgb {
    uint8_t r, g, b;
};
constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

// Four quadrants: red upper left, green upper right, blue lower left, white lower right.
std::vector<uint8_t> Quadrants(int width, int height, int split, int channels)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = y < height / 2 ? (x < split ? kRed : kGreen) : (x < split ? kBlue : kWhite);
            pixels.insert(pixels.end(), {c.r, c.g, c.b});
            if (channels == 4)
                pixels.push_back(255);
        }
    return pixels;
}

GLint TexParameter(GLenum parameter)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

GLint LevelParameter(GLint level, GLenum parameter)
{
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

GLint Integer(GLenum parameter)
{
    GLint value = 0;
    glGetIntegerv(parameter, &value);
    return value;
}

std::vector<uint8_t> ReadLevelZero(int width, int height, GLenum format, int channels)
{
    std::vector<uint8_t> texels(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}
} // namespace

class TextureTest : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glDisable(GL_TEXTURE_2D);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    TempDir dir;
};

TEST_F(TextureTest, JpegIsMipmappedWithRowsOfAnyLength)
{
    // 63 pixels make 189-byte rows: uploaded 4-aligned, each row would slip a pixel.
    const std::string path = dir.Path("quadrants.jpg");
    ASSERT_TRUE(WriteJpeg(path, Quadrants(63, 64, 32, 3), 63, 64, 3, 100));
    MessageRecorder recorder;
    Texture texture(path.c_str());
    EXPECT_TRUE(recorder.messages.empty());
    ASSERT_NE(texture.name, 0u);
    EXPECT_TRUE(texture.loaded);
    EXPECT_EQ(texture.width, 63); // the file's size, not GLU's scaled one
    EXPECT_EQ(texture.height, 64);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.name));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 4) << "the caller's alignment comes back";

    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    ASSERT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 64);
    ASSERT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 64);
    EXPECT_EQ(LevelParameter(6, GL_TEXTURE_WIDTH), 1) << "every mipmap level is built";

    // Texture row 0 is the picture's top row; no row has slipped sideways.
    const std::vector<uint8_t> texels = ReadLevelZero(64, 64, GL_RGB, 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            if (x >= 29 && x <= 35)
                continue; // GLU's rescaling blends across the edge
            const Rgb want = y < 32 ? (x < 32 ? kRed : kGreen) : (x < 32 ? kBlue : kWhite);
            const uint8_t *texel = texels.data() + (y * 64 + x) * 3;
            ASSERT_NEAR(texel[0], want.r, 24) << "texel " << x << ", " << y;
            ASSERT_NEAR(texel[1], want.g, 24) << "texel " << x << ", " << y;
            ASSERT_NEAR(texel[2], want.b, 24) << "texel " << x << ", " << y;
        }
}

TEST_F(TextureTest, NarrowJpegRowsAreNotRealigned)
{
    // Two pixels make 6-byte rows at a power-of-two size: GL takes them as they are.
    const std::string path = dir.Path("narrow.jpg");
    ASSERT_TRUE(WriteJpeg(path, Quadrants(2, 16, 1, 3), 2, 16, 3, 100));
    Texture texture(path.c_str());
    ASSERT_NE(texture.name, 0u);
    ASSERT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 2);
    const std::vector<uint8_t> texels = ReadLevelZero(2, 16, GL_RGB, 3);
    for (int y : {0, 1, 2, 3, 4, 11, 12, 13, 14, 15})
        for (int x = 0; x < 2; ++x) {
            const Rgb want = y < 8 ? (x < 1 ? kRed : kGreen) : (x < 1 ? kBlue : kWhite);
            const uint8_t *texel = texels.data() + (y * 2 + x) * 3;
            EXPECT_NEAR(texel[0], want.r, 40) << "texel " << x << ", " << y;
            EXPECT_NEAR(texel[1], want.g, 40) << "texel " << x << ", " << y;
            EXPECT_NEAR(texel[2], want.b, 40) << "texel " << x << ", " << y;
        }
}

TEST_F(TextureTest, GreyJpegIsUploadedAsGreyAndCmykIsRefused)
{
    const std::string grey = dir.Path("grey.jpg");
    ASSERT_TRUE(WriteJpeg(grey, std::vector<uint8_t>(8 * 8, 180), 8, 8, 1, 100));
    const std::string cmyk = dir.Path("cmyk.jpg");
    ASSERT_TRUE(WriteJpeg(cmyk, std::vector<uint8_t>(8 * 8 * 4, 40), 8, 8, 4));
    MessageRecorder recorder;
    {
        Texture texture(grey.c_str());
        ASSERT_NE(texture.name, 0u);
        const std::vector<uint8_t> texels = ReadLevelZero(8, 8, GL_RGB, 3);
        EXPECT_NEAR(texels[0], 180, 3);
        EXPECT_EQ(texels[0], texels[1]);
        EXPECT_EQ(texels[0], texels[2]);
    }
    EXPECT_TRUE(recorder.messages.empty());
    Texture texture(cmyk.c_str());
    EXPECT_EQ(texture.name, 0u);
    EXPECT_EQ(texture.width, 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "JPG File has an unsupported colour format!");
    EXPECT_EQ(recorder.messages[0].caption, cmyk);
}

TEST_F(TextureTest, JpegThatDoesNotLoadLeavesTheTextureEmpty)
{
    // Bigger than the GL can take: reported before any pixel is allocated.
    const int tooWide = Integer(GL_MAX_TEXTURE_SIZE) + 1;
    const std::string wide = dir.Path("wide.jpg");
    ASSERT_TRUE(
        WriteJpeg(wide, std::vector<uint8_t>(static_cast<size_t>(tooWide) * 8 * 3, 128), tooWide, 8, 3));
    const std::string absent = dir.Path("absent.jpg");

    GLuint marker = 0;
    glGenTextures(1, &marker);
    glBindTexture(GL_TEXTURE_2D, marker);
    MessageRecorder recorder;
    for (const std::string &path : {wide, absent}) {
        Texture texture(path.c_str());
        EXPECT_EQ(texture.name, 0u);
        EXPECT_EQ(texture.width, 0);
        EXPECT_EQ(texture.height, 0);
        EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(marker)) << "no GL call was made";
    }
    ASSERT_EQ(recorder.messages.size(), 2u);
    EXPECT_EQ(recorder.messages[0].text, "JPG File is too large!");
    EXPECT_EQ(recorder.messages[0].caption, wide);
    EXPECT_EQ(recorder.messages[1].text, "Unable to load JPG File!");
    EXPECT_EQ(recorder.messages[1].caption, absent);
    glDeleteTextures(1, &marker);
}

TEST_F(TextureTest, PngKeepsAlphaWhereTheFileHasIt)
{
    const std::string rgbaPath = dir.Path("frame.png");
    std::vector<uint8_t> rgba = Quadrants(4, 2, 2, 4);
    rgba[3] = 0;
    rgba[7] = 77;
    ASSERT_TRUE(WriteBytes(rgbaPath, EncodeRgbaPng(rgba, 4, 2)));
    PngLayout rgbSpec;
    rgbSpec.width = 5; // 15-byte rows
    rgbSpec.height = 2;
    rgbSpec.colorType = PNG_COLOR_TYPE_RGB;
    rgbSpec.rows = Quadrants(5, 2, 3, 3);
    const std::string rgbPath = dir.Path("plain.png");
    ASSERT_TRUE(WriteBytes(rgbPath, EncodePng(rgbSpec)));

    MessageRecorder recorder;
    {
        Texture texture(rgbaPath.c_str());
        ASSERT_NE(texture.name, 0u);
        EXPECT_EQ(texture.width, 4);
        EXPECT_EQ(texture.height, 2);
        EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.name));
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE), 8);
        EXPECT_EQ(LevelParameter(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";
        EXPECT_EQ(ReadLevelZero(4, 2, GL_RGBA, 4), rgba);
    }
    {
        Texture texture(rgbPath.c_str());
        ASSERT_NE(texture.name, 0u);
        EXPECT_EQ(texture.width, 5);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_ALPHA_SIZE), 0);
        EXPECT_EQ(ReadLevelZero(5, 2, GL_RGB, 3), rgbSpec.rows);
        EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 4);
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(TextureTest, PngThatDoesNotLoadIsSilent)
{
    const std::string damaged = dir.Path("damaged.png");
    std::vector<uint8_t> bytes = EncodeRgbaPng(std::vector<uint8_t>(16 * 16 * 4, 200), 16, 16);
    bytes.erase(bytes.end() - 20, bytes.end()); // the last pixel rows and the end chunk
    ASSERT_TRUE(WriteBytes(damaged, bytes));
    MessageRecorder recorder;
    for (const std::string &path : {damaged, dir.Path("absent.png")}) {
        Texture texture(path.c_str());
        EXPECT_EQ(texture.name, 0u);
        EXPECT_EQ(texture.width, 0);
        EXPECT_EQ(texture.height, 0);
    }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(TextureTest, FirstDotDecidesTheFileType)
{
    // Missing files tell the paths apart: only the JPEG path reports one.
    struct Case {
        const char *name;
        bool png;
    };
    const Case cases[] = {{"a.png", true},      {"a.PNG", true}, {"a.pNg", true},   {"a.jpg", false},
                          {"a.png.bak", false}, {"a.pn", false}, {"a.pngx", false}, {"a", false}};
    for (const Case &c : cases) {
        MessageRecorder recorder;
        Texture texture(dir.Path(c.name).c_str());
        // The temporary directory's name has no '.', so the file's own type decides.
        EXPECT_EQ(recorder.messages.empty(), c.png) << c.name;
    }
    MessageRecorder recorder;
    Texture dotted("./absent.png"); // the '.' of "./" comes first: a JPEG
    EXPECT_EQ(recorder.messages.size(), 1u);
}

TEST_F(TextureTest, StateOperations)
{
    const std::string path = dir.Path("t.png");
    ASSERT_TRUE(WriteBytes(path, EncodeRgbaPng(std::vector<uint8_t>(4 * 4 * 4, 255), 4, 4)));
    Texture texture(path.c_str());
    glBindTexture(GL_TEXTURE_2D, 0);

    texture.SetClamp();
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.name));
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    texture.SetRepeat();
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);

    glBindTexture(GL_TEXTURE_2D, 0);
    texture.Bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.name));
    texture.Unbind();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.name));

    glDisable(GL_DEPTH_TEST);
    texture.BeginBlend();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    texture.EndBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "on, whatever it was before";
}

TEST_F(TextureTest, DestructorReleasesTheTextureObject)
{
    const std::string path = dir.Path("t.png");
    ASSERT_TRUE(WriteBytes(path, EncodeRgbaPng(std::vector<uint8_t>(4 * 4 * 4, 255), 4, 4)));
    GLuint name = 0;
    {
        Texture texture(path.c_str());
        name = texture.name;
        ASSERT_TRUE(glIsTexture(name));
    }
    EXPECT_FALSE(glIsTexture(name));
}

class BillboardTest : public TextureTest {
  protected:
    // The scenes' camera: 45 degrees, 4:3, looking down -z from the origin.
    static void Camera()
    {
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 800.0 / 600.0, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }

    static void ExpectPixel(int x, int y, Rgb want)
    {
        const std::vector<uint8_t> got = ReadPixel(x, y);
        EXPECT_NEAR(got[0], want.r, 2) << "pixel " << x << ", " << y;
        EXPECT_NEAR(got[1], want.g, 2) << "pixel " << x << ", " << y;
        EXPECT_NEAR(got[2], want.b, 2) << "pixel " << x << ", " << y;
    }
};

TEST_F(BillboardTest, LeavesLightingOnTexturingOffAndColourWhite)
{
    const std::string path = dir.Path("t.png");
    ASSERT_TRUE(WriteBytes(path, EncodeRgbaPng(std::vector<uint8_t>(4 * 4 * 4, 255), 4, 4)));
    Texture texture(path.c_str());
    Camera();
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    const GLint depth = Integer(GL_MODELVIEW_STACK_DEPTH);
    texture.DrawBillboard(1, 2, -300);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (float c : colour)
        EXPECT_EQ(c, 1.0f);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), depth);
    glDisable(GL_LIGHTING);
}

TEST_F(BillboardTest, CoversItsSquareUprightAndUnmirrored)
{
    const std::string path = dir.Path("quadrants.png");
    ASSERT_TRUE(WriteBytes(path, EncodeRgbaPng(Quadrants(64, 64, 32, 4), 64, 64)));
    Texture texture(path.c_str());
    Camera();
    // At 400 units the 300-unit square spans x 128..672 and y 28..572 of 800x600.
    texture.DrawBillboard(0, 0, -300);
    glDisable(GL_LIGHTING);
    ExpectPixel(264, 436, kRed);
    ExpectPixel(536, 436, kGreen);
    ExpectPixel(264, 164, kBlue);
    ExpectPixel(536, 164, kWhite);
    // Near the edges, but not so near that linear filtering wraps round.
    ExpectPixel(140, 436, kRed);
    ExpectPixel(118, 436, {0, 0, 0});
    ExpectPixel(660, 164, kWhite);
    ExpectPixel(682, 164, {0, 0, 0});
    ExpectPixel(264, 560, kRed);
    ExpectPixel(264, 582, {0, 0, 0});
    ExpectPixel(536, 40, kWhite);
    ExpectPixel(536, 18, {0, 0, 0});
}
