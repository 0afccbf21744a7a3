// The records of a MilkShape 3D binary file, version 4, appended field by
// field in file order. The fields come as given, unchecked: the asset
// generator writes sound files with them and the tests broken ones too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ms3d_layout.h"

struct Ms3dMaterialRecord {
  std::string name;  // fields of kMs3dNameSize and kMs3dFileNameSize bytes: cut to size, NUL-padded
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

inline void Ms3dRecords::Header(const std::string& identifier, int32_t version) {
  bytes_.insert(bytes_.end(), identifier.begin(), identifier.end());
  U32(static_cast<uint32_t>(version));
}

inline void Ms3dRecords::Count(size_t count) { U16(static_cast<unsigned>(count & 0xffff)); }

inline void Ms3dRecords::Vertex(const float position[3], uint8_t joint, uint8_t reference_count) {
  U8(0);  // flags
  Floats(position, 3);
  U8(joint);
  U8(reference_count);
}

inline void Ms3dRecords::Triangle(const uint16_t vertex_indices[3], const float normals[3][3], const float s[3],
                                  const float t[3], uint8_t group) {
  U16(0);  // flags
  for (int corner = 0; corner < 3; ++corner) U16(vertex_indices[corner]);
  for (int corner = 0; corner < 3; ++corner) Floats(normals[corner], 3);
  Floats(s, 3);
  Floats(t, 3);
  U8(1);  // smoothing group
  U8(group);
}

inline void Ms3dRecords::Group(const std::string& name, const std::vector<uint16_t>& triangle_indices, uint8_t material) {
  U8(0);  // flags
  Text(name, kMs3dNameSize);
  Count(triangle_indices.size());
  for (uint16_t index : triangle_indices) U16(index);
  U8(material);
}

inline void Ms3dRecords::Material(const Ms3dMaterialRecord& material) {
  Text(material.name, kMs3dNameSize);
  Floats(material.ambient, 4);
  Floats(material.diffuse, 4);
  Floats(material.specular, 4);
  Floats(material.emissive, 4);
  Floats(&material.shininess, 1);
  Floats(&material.transparency, 1);
  U8(0);  // mode
  Text(material.texture, kMs3dFileNameSize);
  Text(material.alpha_map, kMs3dFileNameSize);
}

inline void Ms3dRecords::Animation(float frames_per_second, float current_time, uint32_t total_frames,
                                   uint16_t joint_count) {
  Floats(&frames_per_second, 1);
  Floats(&current_time, 1);
  U32(total_frames);
  U16(joint_count);
}

inline void Ms3dRecords::Raw(const std::vector<uint8_t>& raw) { bytes_.insert(bytes_.end(), raw.begin(), raw.end()); }

inline void Ms3dRecords::U8(unsigned value) { bytes_.push_back(static_cast<uint8_t>(value)); }

inline void Ms3dRecords::U16(unsigned value) {
  U8(value & 0xff);
  U8((value >> 8) & 0xff);
}

inline void Ms3dRecords::U32(uint32_t value) {
  U16(value & 0xffff);
  U16(value >> 16);
}

inline void Ms3dRecords::Floats(const float* values, int count) {
  for (int i = 0; i < count; ++i) {
    uint32_t bits;
    std::memcpy(&bits, &values[i], 4);
    U32(bits);
  }
}

// Text in a field of `size` bytes, NUL-padded; no NUL when it fills the field.
inline void Ms3dRecords::Text(const std::string& text, size_t size) {
  for (size_t i = 0; i < size; ++i) U8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
}
