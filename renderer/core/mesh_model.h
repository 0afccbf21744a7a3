// The aircraft model: a static triangle mesh with materials, and its
// MilkShape 3D binary reader.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gl.h"

class FlightHost;

struct ModelGroup {
  int material_index = -1;        // negative: no material of its own
  std::vector<int> triangle_indices;
};

struct ModelMaterial {
  float ambient[4] = {};
  float diffuse[4] = {};
  float specular[4] = {};
  float emissive[4] = {};
  float shininess = 0;
  GLuint texture = 0;             // 0: none
  std::string texture_file_name;  // possibly empty
};

struct ModelTriangle {
  float vertex_normals[3][3] = {};
  float s[3] = {};
  float t[3] = {};                // stored flipped: 1 - t of the file
  int vertex_indices[3] = {};
};

struct ModelVertex {
  signed char joint_index = 0;    // kept, not used in drawing
  float position[3] = {};
};

// Every index in the arrays names an existing element: group triangle indices
// are below triangles.size(), vertex indices below vertices.size(), and a
// non-negative material index below materials.size(). The reader guarantees
// it; Draw relies on it.
class MeshModel {
 public:
  virtual ~MeshModel() = default;
  // Reads the host's model file.
  virtual bool Load(FlightHost& host) = 0;

  // Draws every group with the current transform and lighting; leaves
  // GL_TEXTURE_2D as it found it. A model without groups makes no GL call.
  void Draw();
  // The same calls, recorded once in a display list on the first draw (after
  // the material textures exist) and replayed after: one call a frame instead
  // of some 26,000, each of which is a crossing into the host's GL under Wine.
  // Falls back to Draw when no list can be made.
  void DrawListed();
  // Gives each material its texture from the picture the host reads for its
  // name: 0 for an empty name, a name that IsRefusedTextureName refuses (never
  // asked for) or a failed load.
  void CreateMaterialTextures(FlightHost& host);
  // Deletes the material textures and the recorded list; the context they
  // were made on must be current.
  void DeleteGlObjects();

  std::vector<ModelGroup> groups;
  std::vector<ModelMaterial> materials;
  std::vector<ModelTriangle> triangles;
  std::vector<ModelVertex> vertices;

 protected:
  // Releases all arrays: every count becomes 0. A recorded list would draw
  // the old groups, so it is deleted too.
  void Clear();

 private:
  void DrawKeepingTexturing(bool listed);
  void DrawGroups();

  GLuint list_ = 0;  // 0: not recorded
};

class Ms3dModel : public MeshModel {
 public:
  // Reads the whole file, opened by the host, parses it and creates the
  // material textures. False for a file that cannot be opened or is refused;
  // the model is then empty. Whatever the model held before is replaced.
  bool Load(FlightHost& host) override;

  // Parses a whole file held in memory. A file with the wrong identifier or
  // version, sections that do not fit, or indices outside their arrays is
  // refused as a whole: false, and the model is left empty. Never reads
  // outside [data, data + size). Does not create textures.
  bool Parse(const unsigned char* data, size_t size);
};
