// Two runs of the generator give the same bytes: the build's set and a fresh run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::vector<char> Bytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(MediaGenerator, TwoRunsWriteIdenticalFiles)
{
    const std::filesystem::path fresh = std::filesystem::temp_directory_path() / "quillane-media-determinism";
    std::filesystem::remove_all(fresh);
    const std::string command = std::string("\"") + QUILLANE_MEDIA_TOOL + "\" \"" + fresh.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::filesystem::path built(QUILLANE_DATA_DIR);
    int compared = 0;
    for (const auto &entry : std::filesystem::directory_iterator(fresh)) {
        const std::filesystem::path name = entry.path().filename();
        SCOPED_TRACE(name.string());
        const std::vector<char> a = Bytes(entry.path()), b = Bytes(built / name);
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b) << "differs between runs";
        ++compared;
    }
    // 35 files of the resource table (hisphere and slimy are each loaded twice) and the soundtrack.
    EXPECT_EQ(compared, 36);
    std::filesystem::remove_all(fresh);
}
} // namespace
