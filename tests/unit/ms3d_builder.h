// Writes MilkShape 3D binary files byte by byte for the model tests, so each
// test states only the records it cares about.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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

  std::string identifier = "MS3D000000";
  int32_t version = 4;
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
    std::vector<uint8_t> out;
    Raw(out, identifier.data(), identifier.size());
    U32(out, static_cast<uint32_t>(version));
    U16(out, vertices.size());
    for (const Vertex& v : vertices) {
      U8(out, 0);
      Floats(out, v.position, 3);
      U8(out, v.joint);
      U8(out, 1);
    }
    U16(out, triangles.size());
    for (const Triangle& t : triangles) {
      U16(out, 0);
      for (uint16_t i : t.vertex_indices) U16(out, i);
      for (const float* n : t.normals) Floats(out, n, 3);
      Floats(out, t.s, 3);
      Floats(out, t.t, 3);
      U8(out, 1);
      U8(out, 0);
    }
    U16(out, groups.size());
    for (const Group& g : groups) {
      U8(out, 0);
      Padded(out, "group", 32);
      U16(out, g.triangle_indices.size());
      for (uint16_t i : g.triangle_indices) U16(out, i);
      U8(out, g.material);
    }
    U16(out, materials.size());
    for (const Material& m : materials) {
      Padded(out, "material", 32);
      Floats(out, m.ambient, 4);
      Floats(out, m.diffuse, 4);
      Floats(out, m.specular, 4);
      Floats(out, m.emissive, 4);
      Floats(out, &m.shininess, 1);
      const float transparency = 1;
      Floats(out, &transparency, 1);
      U8(out, 0);
      Padded(out, m.texture, 128);
      Padded(out, m.alpha_map, 128);
    }
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
  }

 private:
  static void U8(std::vector<uint8_t>& out, unsigned v) { out.push_back(static_cast<uint8_t>(v)); }
  static void U16(std::vector<uint8_t>& out, size_t v) {
    U8(out, v & 0xff);
    U8(out, (v >> 8) & 0xff);
  }
  static void U32(std::vector<uint8_t>& out, uint32_t v) {
    U16(out, v & 0xffff);
    U16(out, v >> 16);
  }
  static void Floats(std::vector<uint8_t>& out, const float* f, int n) {
    for (int i = 0; i < n; ++i) {
      uint32_t bits;
      std::memcpy(&bits, &f[i], 4);
      U32(out, bits);
    }
  }
  static void Raw(std::vector<uint8_t>& out, const void* p, size_t n) {
    const auto* bytes = static_cast<const uint8_t*>(p);
    out.insert(out.end(), bytes, bytes + n);
  }
  // Text in a field of `size` bytes, NUL-padded (no NUL if it fills the field).
  static void Padded(std::vector<uint8_t>& out, const std::string& text, size_t size) {
    std::string field = text.substr(0, size);
    field.resize(size, '\0');
    Raw(out, field.data(), size);
  }
};
