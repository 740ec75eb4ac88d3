#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "assets/mesh.h"

// Files beyond this size are not read: the meshes are a few hundred kilobytes.
constexpr size_t kEbrMaxFileBytes = size_t{64} << 20;

// Parses the bytes of a .ebr file, one SubMesh per object record with its
// normals computed. Every count, name length and index is checked against
// the bytes that are left before anything is allocated for it; a damaged
// file gives false and no objects. Bytes after the last object are ignored.
bool ParseEbr(std::span<const uint8_t> bytes, std::vector<std::unique_ptr<SubMesh>> &objects);

enum class EbrReadResult { Read, NotFound, Damaged };

// Reads the whole file (at most kEbrMaxFileBytes) and parses it.
EbrReadResult ReadEbrFile(const char *path, std::vector<std::unique_ptr<SubMesh>> &objects);
