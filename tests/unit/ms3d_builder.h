// Writes MilkShape 3D binary files for the model tests, so each test states
// only the records it cares about; the identifier, the version and the
// trailer may be anything, to make broken files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "contract/ms3d_records.h"

struct Ms3dBuilder {
  struct Vertex {
    float position[3];
    uint8_t joint;  // raw byte; the reader takes it as signed
  };
  struct Triangle {
    uint16_t vertex_indices[3];
    float normals[3][3];
    float s[3];
    float t[3];  // as in the file, before the reader flips it
  };
  struct Group {
    std::vector<uint16_t> triangle_indices;
    uint8_t material;  // raw byte; 0xff is -1, no material
  };
  struct Material {
    float ambient[4], diffuse[4], specular[4], emissive[4];
    float shininess;
    std::string texture;  // up to 128 bytes; exactly 128 leaves no NUL
    std::string alpha_map = "";
  };

  std::string identifier = kMs3dIdentifier;
  int32_t version = kMs3dVersion;
  std::vector<Vertex> vertices;
  std::vector<Triangle> triangles;
  std::vector<Group> groups;
  std::vector<Material> materials;
  std::vector<uint8_t> trailer;  // bytes after the material section

  // One triangle over three fresh vertices, in one group using material 0,
  // which has the given texture name.
  static Ms3dBuilder OneTriangle(const std::string& texture = "") {
    Ms3dBuilder b;
    b.vertices = {{{0, 0, 0}, 0}, {{1, 0, 0}, 0}, {{0, 1, 0}, 0}};
    b.triangles = {{{0, 1, 2}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {0, 1, 0}, {0, 0, 1}}};
    b.groups = {{{0}, 0}};
    b.materials = {{{0.1f, 0.1f, 0.1f, 1}, {0.8f, 0.2f, 0.2f, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 5, texture}};
    return b;
  }

  std::vector<uint8_t> Bytes() const {
    Ms3dRecords out;
    out.Header(identifier, version);
    out.Count(vertices.size());
    for (const Vertex& v : vertices) out.Vertex(v.position, v.joint, 1);
    out.Count(triangles.size());
    for (const Triangle& t : triangles) out.Triangle(t.vertex_indices, t.normals, t.s, t.t, 0);
    out.Count(groups.size());
    for (const Group& g : groups) out.Group("group", g.triangle_indices, g.material);
    out.Count(materials.size());
    for (const Material& m : materials) {
      Ms3dMaterialRecord record;
      record.name = "material";
      std::copy(m.ambient, m.ambient + 4, record.ambient);
      std::copy(m.diffuse, m.diffuse + 4, record.diffuse);
      std::copy(m.specular, m.specular + 4, record.specular);
      std::copy(m.emissive, m.emissive + 4, record.emissive);
      record.shininess = m.shininess;
      record.texture = m.texture;
      record.alpha_map = m.alpha_map;
      out.Material(record);
    }
    out.Raw(trailer);
    return out.bytes();
  }
};
