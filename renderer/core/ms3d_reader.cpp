// The MilkShape 3D binary reader: packed little-endian records read byte by
// byte, so it behaves the same on any host and never reads unaligned.
#include <cstdint>
#include <cstring>

#include "contract/ms3d_layout.h"
#include "mesh_model.h"

namespace {

// A read position in the file's bytes that refuses to pass the end.
class ByteCursor {
 public:
  ByteCursor(const unsigned char* data, size_t size) : data_(data), size_(size) {}

  // Whether n more bytes are left to read.
  bool Has(size_t n) const { return n <= size_ - pos_; }
  void Skip(size_t n) { pos_ += n; }
  const unsigned char* Here() const { return data_ + pos_; }

  uint8_t U8() { return data_[pos_++]; }
  int8_t I8() { return static_cast<int8_t>(U8()); }
  uint16_t U16() {
    const uint16_t lo = U8();
    return static_cast<uint16_t>(lo | U8() << 8);
  }
  uint32_t U32() {
    const uint32_t lo = U16();
    return lo | static_cast<uint32_t>(U16()) << 16;
  }
  int32_t I32() {
    const uint32_t bits = U32();
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  float F32() {
    const uint32_t bits = U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void Floats(float* out, int n) {
    for (int i = 0; i < n; ++i) out[i] = F32();
  }

 private:
  const unsigned char* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Reads a section's 16-bit count and checks that count records of
// record_size bytes follow; false if they do not fit.
bool ReadCount(ByteCursor& in, size_t record_size, size_t& count) {
  if (!in.Has(2)) return false;
  count = in.U16();
  return in.Has(count * record_size);
}

// Vertices: flags, position, joint index, reference count.
bool ReadVertices(ByteCursor& in, std::vector<ModelVertex>& vertices) {
  size_t count;
  if (!ReadCount(in, kMs3dVertexSize, count)) return false;
  vertices.resize(count);
  for (ModelVertex& v : vertices) {
    in.Skip(1);
    in.Floats(v.position, 3);
    v.joint_index = in.I8();
    in.Skip(1);
  }
  return true;
}

// Triangles: flags, vertex indices, normals, s, t (flipped), smoothing, group.
bool ReadTriangles(ByteCursor& in, std::vector<ModelTriangle>& triangles) {
  size_t count;
  if (!ReadCount(in, kMs3dTriangleSize, count)) return false;
  triangles.resize(count);
  for (ModelTriangle& tri : triangles) {
    in.Skip(2);
    for (int& index : tri.vertex_indices) index = in.U16();
    for (float* normal : tri.vertex_normals) in.Floats(normal, 3);
    in.Floats(tri.s, 3);
    for (float& t : tri.t) t = 1.0f - in.F32();
    in.Skip(2);
  }
  return true;
}

// Groups: flags, name, triangle index list, material index.
bool ReadGroups(ByteCursor& in, std::vector<ModelGroup>& groups) {
  size_t count;
  if (!ReadCount(in, kMs3dGroupFixedSize, count)) return false;
  groups.resize(count);
  for (ModelGroup& group : groups) {
    if (!in.Has(kMs3dGroupFixedSize)) return false;
    in.Skip(1 + kMs3dNameSize);
    const size_t triangle_count = in.U16();
    if (!in.Has(2 * triangle_count + 1)) return false;
    group.triangle_indices.resize(triangle_count);
    for (int& index : group.triangle_indices) index = in.U16();
    group.material_index = in.I8();
  }
  return true;
}

// The texture file name: up to its NUL, or all 128 bytes if it has none.
std::string ReadName(ByteCursor& in) {
  const char* name = reinterpret_cast<const char*>(in.Here());
  const void* nul = std::memchr(name, '\0', kMs3dFileNameSize);
  const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - name) : kMs3dFileNameSize;
  in.Skip(kMs3dFileNameSize);
  return std::string(name, length);
}

// Materials: name, colours, shininess, transparency, mode, texture and alpha names.
bool ReadMaterials(ByteCursor& in, std::vector<ModelMaterial>& materials) {
  size_t count;
  if (!ReadCount(in, kMs3dMaterialSize, count)) return false;
  materials.resize(count);
  for (ModelMaterial& m : materials) {
    in.Skip(kMs3dNameSize);
    in.Floats(m.ambient, 4);
    in.Floats(m.diffuse, 4);
    in.Floats(m.specular, 4);
    in.Floats(m.emissive, 4);
    m.shininess = in.F32();
    in.Skip(4 + 1);
    m.texture_file_name = ReadName(in);
    in.Skip(kMs3dFileNameSize);
  }
  return true;
}

// Whether every index names an existing element, so drawing stays in bounds.
bool IndicesInRange(const MeshModel& model) {
  const size_t vertex_count = model.vertices.size();
  for (const ModelTriangle& tri : model.triangles)
    for (int index : tri.vertex_indices)
      if (static_cast<size_t>(index) >= vertex_count) return false;
  for (const ModelGroup& group : model.groups) {
    if (group.material_index >= 0 && static_cast<size_t>(group.material_index) >= model.materials.size())
      return false;
    for (int index : group.triangle_indices)
      if (static_cast<size_t>(index) >= model.triangles.size()) return false;
  }
  return true;
}

}  // namespace

bool Ms3dModel::Parse(const unsigned char* data, size_t size) {
  Clear();
  if (!data || size < kMs3dHeaderSize) return false;
  ByteCursor in(data, size);
  if (std::memcmp(in.Here(), kMs3dIdentifier, kMs3dIdentifierSize) != 0) return false;
  in.Skip(kMs3dIdentifierSize);
  const int32_t version = in.I32();
  if (version != 3 && version != 4) return false;

  // Whatever follows the material section is not read.
  const bool ok = ReadVertices(in, vertices) && ReadTriangles(in, triangles) && ReadGroups(in, groups) &&
                  ReadMaterials(in, materials) && IndicesInRange(*this);
  if (!ok) Clear();
  return ok;
}
