#include "ms3d_writer.h"

#include <cstdint>
#include <fstream>

#include "contract/ms3d_records.h"

namespace {

// The text cut to fit a NUL-terminated field of `size` bytes.
std::string FieldText(const std::string& text, size_t size) { return text.substr(0, size - 1); }

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

  Ms3dRecords out;
  out.Header(kMs3dIdentifier, kMs3dVersion);

  out.Count(vertex_count);
  for (size_t i = 0; i < vertex_count; ++i) {
    const uint8_t no_joint = 0xff;  // joint index -1
    out.Vertex(&mesh.positions[i * 3], no_joint, static_cast<uint8_t>(references[i] > 255 ? 255 : references[i]));
  }

  out.Count(mesh.triangles.size());
  const float no_texture_coordinates[3] = {};
  for (const Ms3dTriangle& triangle : mesh.triangles) {
    uint16_t indices[3];
    for (int corner = 0; corner < 3; ++corner) indices[corner] = static_cast<uint16_t>(triangle.vertex_indices[corner]);
    out.Triangle(indices, triangle.normals, no_texture_coordinates, no_texture_coordinates,
                 static_cast<uint8_t>(triangle.group));
  }

  out.Count(mesh.groups.size());
  for (const Ms3dGroup& group : mesh.groups) {
    const std::vector<uint16_t> triangles(group.triangles.begin(), group.triangles.end());
    // The material index is signed 8-bit: -1 is none.
    out.Group(FieldText(group.name, kMs3dNameSize), triangles, static_cast<uint8_t>(group.material & 0xff));
  }

  out.Count(mesh.materials.size());
  for (Ms3dMaterial material : mesh.materials) {
    material.name = FieldText(material.name, kMs3dNameSize);
    material.texture = FieldText(material.texture, kMs3dFileNameSize);
    material.alpha_map = FieldText(material.alpha_map, kMs3dFileNameSize);
    out.Material(material);
  }

  out.Animation(24.0f, 0.0f, 1, 0);  // no frames to play, no joints

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.bytes().data()), static_cast<std::streamsize>(out.bytes().size()));
  return static_cast<bool>(file);
}
