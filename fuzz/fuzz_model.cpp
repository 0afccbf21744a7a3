// libFuzzer target for the MilkShape 3D reader: any bytes must be read or
// refused as a whole, never touching memory outside them, and an accepted
// model must be drawable: every index the drawing follows names an element.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mesh_model.h"

namespace {

volatile float g_sink = 0;

// Aborts unless a refused parse left every array empty.
void CheckEmpty(const MeshModel& model) {
  if (!model.groups.empty() || !model.materials.empty() || !model.triangles.empty() || !model.vertices.empty())
    std::abort();
}

// Follows the model the way Draw does, with every index checked, and reads
// each value it would hand to GL.
void WalkLikeDraw(const MeshModel& model) {
  float sum = 0;
  for (const ModelGroup& group : model.groups) {
    if (group.material_index >= 0) {
      if (static_cast<size_t>(group.material_index) >= model.materials.size()) std::abort();
      const ModelMaterial& m = model.materials[static_cast<size_t>(group.material_index)];
      sum += m.ambient[3] + m.diffuse[3] + m.specular[3] + m.emissive[3] + m.shininess;
    }
    for (int triangle_index : group.triangle_indices) {
      if (triangle_index < 0 || static_cast<size_t>(triangle_index) >= model.triangles.size()) std::abort();
      const ModelTriangle& tri = model.triangles[static_cast<size_t>(triangle_index)];
      for (int corner = 0; corner < 3; ++corner) {
        const int vertex_index = tri.vertex_indices[corner];
        if (vertex_index < 0 || static_cast<size_t>(vertex_index) >= model.vertices.size()) std::abort();
        sum += tri.vertex_normals[corner][2] + tri.s[corner] + tri.t[corner];
        sum += model.vertices[static_cast<size_t>(vertex_index)].position[2];
      }
    }
  }
  // Names are whole strings of at most the field's 128 bytes.
  for (const ModelMaterial& m : model.materials)
    if (m.texture_file_name.size() > 128 || m.texture_file_name.find('\0') != std::string::npos) std::abort();
  g_sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Ms3dModel model;
  if (!model.Parse(data, size)) {
    CheckEmpty(model);
    return 0;
  }
  WalkLikeDraw(model);

  // Parsing again into the filled model replaces it with the same content.
  const size_t groups = model.groups.size();
  const size_t triangles = model.triangles.size();
  if (!model.Parse(data, size) || model.groups.size() != groups || model.triangles.size() != triangles) std::abort();
  return 0;
}
