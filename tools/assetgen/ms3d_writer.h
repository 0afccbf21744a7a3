// Writes a static triangle mesh as a MilkShape 3D binary file, version 4.
#pragma once

#include <string>
#include <vector>

#include "contract/ms3d_records.h"

// The writer keeps at most 31 characters of the name and 127 of each file name.
using Ms3dMaterial = Ms3dMaterialRecord;

struct Ms3dTriangle {
  int vertex_indices[3] = {};
  float normals[3][3] = {};  // one per corner
  int group = 0;
};

struct Ms3dGroup {
  std::string name;
  int material = -1;
  std::vector<int> triangles;
};

struct Ms3dMesh {
  std::vector<float> positions;  // x, y, z per vertex
  std::vector<Ms3dTriangle> triangles;
  std::vector<Ms3dGroup> groups;
  std::vector<Ms3dMaterial> materials;
};

// Writes the header, the vertex, triangle, group and material sections and the
// animation trailer (no frames, no joints). Refuses (false) a mesh whose counts
// or indices do not fit the format's 16-bit fields.
bool WriteMs3d(const std::string& path, const Ms3dMesh& mesh);
