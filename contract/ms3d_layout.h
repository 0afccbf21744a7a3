// The MilkShape 3D binary layout the renderer reads and the asset generator
// and the tests write: packed little-endian records, each section led by a
// 16-bit count.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr char kMs3dIdentifier[] = "MS3D000000";
constexpr size_t kMs3dIdentifierSize = sizeof kMs3dIdentifier - 1;  // no NUL in the file
constexpr int32_t kMs3dVersion = 4;  // the version written; the reader also takes 3
constexpr size_t kMs3dHeaderSize = kMs3dIdentifierSize + 4;

// Record sizes. A group is its fixed part plus two bytes per triangle index.
constexpr size_t kMs3dVertexSize = 15;
constexpr size_t kMs3dTriangleSize = 70;
constexpr size_t kMs3dGroupFixedSize = 36;  // flags, name, count and material index
constexpr size_t kMs3dMaterialSize = 361;
// Text fields, NUL-padded, with no NUL when the text fills them.
constexpr size_t kMs3dNameSize = 32;       // group and material names
constexpr size_t kMs3dFileNameSize = 128;  // texture and alpha map file names
