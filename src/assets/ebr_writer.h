#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One object of a .ebr mesh file, as written.
struct EbrObject {
    std::string name;              // at most 100 bytes
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> texCoords;  // s, t per vertex
    std::vector<uint32_t> indices; // a, b, c per triangle, counter-clockwise from outside
};

// The bytes of a .ebr file: little-endian counts, names, vertex and triangle records.
std::vector<uint8_t> EncodeEbr(const std::vector<EbrObject> &objects);

// Writes the file; false when it cannot be written completely.
bool WriteEbr(const std::string &path, const std::vector<EbrObject> &objects);
