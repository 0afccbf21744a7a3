// The records of a MilkShape 3D binary file, version 4, appended field by
// field in file order. The fields come as given, unchecked: the asset
// generator writes sound files with them and the tests broken ones too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr char kMs3dIdentifier[] = "MS3D000000";
constexpr int32_t kMs3dVersion = 4;

struct Ms3dMaterialRecord {
  std::string name;  // fields of 32, 128 and 128 bytes: cut to size, NUL-padded
  float ambient[4] = {};
  float diffuse[4] = {};
  float specular[4] = {};
  float emissive[4] = {};
  float shininess = 0;
  float transparency = 1;
  std::string texture;
  std::string alpha_map;
};

class Ms3dRecords {
 public:
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // The identifier's bytes as given, then the version.
  void Header(const std::string& identifier, int32_t version);
  // The 16-bit count in front of each section; only its low 16 bits are kept.
  void Count(size_t count);
  void Vertex(const float position[3], uint8_t joint, uint8_t reference_count);
  void Triangle(const uint16_t vertex_indices[3], const float normals[3][3], const float s[3], const float t[3],
                uint8_t group);
  // The triangle count is the list's size, cut to 16 bits.
  void Group(const std::string& name, const std::vector<uint16_t>& triangle_indices, uint8_t material);
  void Material(const Ms3dMaterialRecord& material);
  // What follows the materials: the animation's timing and the joint count.
  void Animation(float frames_per_second, float current_time, uint32_t total_frames, uint16_t joint_count);
  // Bytes as given, for what the records above cannot say.
  void Raw(const std::vector<uint8_t>& raw);

 private:
  void U8(unsigned value);
  void U16(unsigned value);
  void U32(uint32_t value);
  void Floats(const float* values, int count);
  void Text(const std::string& text, size_t size);

  std::vector<uint8_t> bytes_;
};
