#pragma once

#include <filesystem>

// Changes a test media directory for probing billboard edges: every word
// picture opaque over its whole square (a billboard mostly off-screen still
// shows its edge), the frames wholly transparent (they hide nothing), and the
// solid spiky ball a 10x10 square facing +z, whose wire outline has a known
// left edge at x = -5.
void MakeWordsWhole(const std::filesystem::path &directory);
