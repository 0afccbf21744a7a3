#include "ms3d_writer.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace {

// Little-endian byte sink for the packed records.
struct ByteWriter {
  std::vector<unsigned char> bytes;

  void U8(unsigned value) { bytes.push_back(static_cast<unsigned char>(value)); }
  void U16(unsigned value) { U8(value & 0xff); U8((value >> 8) & 0xff); }
  void U32(uint32_t value) { U16(value & 0xffff); U16(value >> 16); }
  void F32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    U32(bits);
  }
  // A NUL-padded fixed-size text field; the text is cut to size - 1 characters.
  void Text(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) U8(i + 1 < size && i < text.size() ? text[i] : 0);
  }
};

// True when every count and index fits the 16-bit fields and names an element.
bool FitsFormat(const Ms3dMesh& mesh) {
  const size_t vertex_count = mesh.positions.size() / 3;
  // Triangles name their group and groups their material in 8 bits (signed).
  if (vertex_count > 0xffff || mesh.triangles.size() > 0xffff || mesh.groups.size() > 255 ||
      mesh.materials.size() > 127)
    return false;
  for (const Ms3dTriangle& triangle : mesh.triangles) {
    if (triangle.group < 0 || static_cast<size_t>(triangle.group) >= mesh.groups.size()) return false;
    for (int index : triangle.vertex_indices)
      if (index < 0 || static_cast<size_t>(index) >= vertex_count) return false;
  }
  for (const Ms3dGroup& group : mesh.groups) {
    if (group.material >= static_cast<int>(mesh.materials.size()) || group.triangles.size() > 0xffff)
      return false;
    for (int index : group.triangles)
      if (index < 0 || static_cast<size_t>(index) >= mesh.triangles.size()) return false;
  }
  return true;
}

}  // namespace

bool WriteMs3d(const std::string& path, const Ms3dMesh& mesh) {
  if (!FitsFormat(mesh)) return false;
  const size_t vertex_count = mesh.positions.size() / 3;
  std::vector<unsigned> references(vertex_count, 0);
  for (const Ms3dTriangle& triangle : mesh.triangles)
    for (int index : triangle.vertex_indices) ++references[index];

  ByteWriter out;
  out.bytes.insert(out.bytes.end(), {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'});
  out.U32(4);

  out.U16(static_cast<unsigned>(vertex_count));
  for (size_t i = 0; i < vertex_count; ++i) {
    out.U8(0);  // flags
    for (int axis = 0; axis < 3; ++axis) out.F32(mesh.positions[i * 3 + axis]);
    out.U8(0xff);  // joint index -1: no joint
    out.U8(references[i] > 255 ? 255 : references[i]);
  }

  out.U16(static_cast<unsigned>(mesh.triangles.size()));
  for (const Ms3dTriangle& triangle : mesh.triangles) {
    out.U16(0);  // flags
    for (int index : triangle.vertex_indices) out.U16(static_cast<unsigned>(index));
    for (const auto& normal : triangle.normals)
      for (float component : normal) out.F32(component);
    for (int corner = 0; corner < 3; ++corner) out.F32(0);  // s
    for (int corner = 0; corner < 3; ++corner) out.F32(0);  // t
    out.U8(1);  // smoothing group
    out.U8(static_cast<unsigned>(triangle.group));
  }

  out.U16(static_cast<unsigned>(mesh.groups.size()));
  for (const Ms3dGroup& group : mesh.groups) {
    out.U8(0);  // flags
    out.Text(group.name, 32);
    out.U16(static_cast<unsigned>(group.triangles.size()));
    for (int index : group.triangles) out.U16(static_cast<unsigned>(index));
    out.U8(static_cast<unsigned>(group.material) & 0xff);  // signed 8-bit, -1 = none
  }

  out.U16(static_cast<unsigned>(mesh.materials.size()));
  for (const Ms3dMaterial& material : mesh.materials) {
    out.Text(material.name, 32);
    for (float value : material.ambient) out.F32(value);
    for (float value : material.diffuse) out.F32(value);
    for (float value : material.specular) out.F32(value);
    for (float value : material.emissive) out.F32(value);
    out.F32(material.shininess);
    out.F32(1.0f);  // transparency: opaque
    out.U8(0);      // mode
    out.Text("", 128);  // texture file name: untextured
    out.Text("", 128);  // alpha-map file name
  }

  out.F32(24.0f);  // animation frames per second
  out.F32(0.0f);   // current time
  out.U32(1);      // total frames
  out.U16(0);      // joint count

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.bytes.data()), static_cast<std::streamsize>(out.bytes.size()));
  return static_cast<bool>(file);
}
