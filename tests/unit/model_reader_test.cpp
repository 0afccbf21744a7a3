// The MilkShape 3D reader: accepted and refused files, the fields it keeps,
// and loading from disk.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_temp.h"

#include "fake_host.h"
#include "mesh_model.h"
#include "ms3d_builder.h"

namespace {

// Parses a copy of exactly these bytes, so ASan sees any read past the end.
bool ParseExact(Ms3dModel& model, const std::vector<uint8_t>& bytes, size_t size) {
  const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
  return model.Parse(copy.data(), copy.size());
}

bool ParseAll(Ms3dModel& model, const Ms3dBuilder& builder) {
  const std::vector<uint8_t> bytes = builder.Bytes();
  return ParseExact(model, bytes, bytes.size());
}

void ExpectEmpty(const Ms3dModel& model) {
  EXPECT_EQ(model.groups.size(), 0u);
  EXPECT_EQ(model.materials.size(), 0u);
  EXPECT_EQ(model.triangles.size(), 0u);
  EXPECT_EQ(model.vertices.size(), 0u);
}

// Two groups (one without material), two materials, four triangles.
Ms3dBuilder TwoGroups() {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle("body.bmp");
  b.vertices.push_back({{5, 6, 7}, 2});
  for (int i = 0; i < 3; ++i) b.triangles.push_back(b.triangles[0]);
  b.triangles[3].vertex_indices[2] = 3;
  b.groups = {{{0, 1}, 1}, {{2, 3}, 0xff}};
  b.materials.push_back(b.materials[0]);
  b.materials[1].texture = "";
  return b;
}


}  // namespace

TEST(Ms3dParse, AcceptsVersions3And4Only) {
  for (int32_t version : {3, 4}) {
    Ms3dBuilder b = Ms3dBuilder::OneTriangle();
    b.version = version;
    Ms3dModel model;
    EXPECT_TRUE(ParseAll(model, b)) << "version " << version;
    EXPECT_EQ(model.triangles.size(), 1u);
  }
  for (int32_t version : {2, 5, 0, -1, 0x0400}) {
    Ms3dBuilder b = Ms3dBuilder::OneTriangle();
    b.version = version;
    Ms3dModel model;
    EXPECT_FALSE(ParseAll(model, b)) << "version " << version;
    ExpectEmpty(model);
  }
}

TEST(Ms3dParse, RefusesAWrongIdentifier) {
  for (const char* id : {"MS3D000001", "ms3d000000", "XS3D000000"}) {
    Ms3dBuilder b = Ms3dBuilder::OneTriangle();
    b.identifier = id;
    Ms3dModel model;
    EXPECT_FALSE(ParseAll(model, b)) << id;
    ExpectEmpty(model);
  }
  Ms3dModel model;
  EXPECT_FALSE(model.Parse(nullptr, 0));
  ExpectEmpty(model);
}

TEST(Ms3dParse, KeepsEveryFieldAndFlipsT) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle("wing.bmp");
  b.vertices[1] = {{1.5f, -2.25f, 3e5f}, 4};
  b.triangles[0] = {{2, 1, 0}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0.5f, 0.125f, 1}, {0.25f, 1, -0.5f}};
  b.materials[0] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}, 17.5f, "wing.bmp", "alpha.bmp"};
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, b));

  ASSERT_EQ(model.vertices.size(), 3u);
  EXPECT_EQ(model.vertices[1].position[0], 1.5f);
  EXPECT_EQ(model.vertices[1].position[1], -2.25f);
  EXPECT_EQ(model.vertices[1].position[2], 3e5f);
  EXPECT_EQ(model.vertices[1].joint_index, 4);

  ASSERT_EQ(model.triangles.size(), 1u);
  const ModelTriangle& tri = model.triangles[0];
  EXPECT_EQ(tri.vertex_indices[0], 2);
  EXPECT_EQ(tri.vertex_indices[1], 1);
  EXPECT_EQ(tri.vertex_indices[2], 0);
  for (int corner = 0; corner < 3; ++corner)
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(tri.vertex_normals[corner][axis], float(corner * 3 + axis + 1));
  EXPECT_EQ(tri.s[0], 0.5f);
  EXPECT_EQ(tri.s[1], 0.125f);
  EXPECT_EQ(tri.s[2], 1.0f);
  EXPECT_EQ(tri.t[0], 0.75f);
  EXPECT_EQ(tri.t[1], 0.0f);
  EXPECT_EQ(tri.t[2], 1.5f);

  ASSERT_EQ(model.groups.size(), 1u);
  EXPECT_EQ(model.groups[0].material_index, 0);
  EXPECT_EQ(model.groups[0].triangle_indices, std::vector<int>{0});

  ASSERT_EQ(model.materials.size(), 1u);
  const ModelMaterial& m = model.materials[0];
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(m.ambient[i], float(1 + i));
    EXPECT_EQ(m.diffuse[i], float(5 + i));
    EXPECT_EQ(m.specular[i], float(9 + i));
    EXPECT_EQ(m.emissive[i], float(13 + i));
  }
  EXPECT_EQ(m.shininess, 17.5f);
  EXPECT_EQ(m.texture_file_name, "wing.bmp");
  EXPECT_EQ(m.texture, 0u);
}

TEST(Ms3dParse, WidensIndicesFromUnsigned16Bits) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  b.vertices.resize(40000, b.vertices[0]);
  b.triangles[0].vertex_indices[1] = 39999;
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, b));
  EXPECT_EQ(model.vertices.size(), 40000u);
  EXPECT_EQ(model.triangles[0].vertex_indices[1], 39999);
}

TEST(Ms3dParse, SignExtendsJointAndMaterialIndices) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  b.vertices[0].joint = 0xff;
  b.vertices[1].joint = 0x80;
  b.vertices[2].joint = 0x7f;
  b.groups = {{{0}, 0xff}, {{0}, 0x80}, {{0}, 0}};
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, b));
  EXPECT_EQ(model.vertices[0].joint_index, -1);
  EXPECT_EQ(model.vertices[1].joint_index, -128);
  EXPECT_EQ(model.vertices[2].joint_index, 127);
  EXPECT_EQ(model.groups[0].material_index, -1);
  EXPECT_EQ(model.groups[1].material_index, -128);
  EXPECT_EQ(model.groups[2].material_index, 0);
}

TEST(Ms3dParse, TextureNameStopsAtItsNulOrAt128Bytes) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  const std::string full(128, 'x');
  b.materials.push_back(b.materials[0]);
  b.materials.push_back(b.materials[0]);
  b.materials[0].texture = full;  // fills the field: no NUL
  b.materials[0].alpha_map = "alpha.bmp";
  b.materials[1].texture = std::string("tail.bmp\0junk", 13);
  b.materials[2].texture = "";
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, b));
  EXPECT_EQ(model.materials[0].texture_file_name, full);
  EXPECT_EQ(model.materials[1].texture_file_name, "tail.bmp");
  EXPECT_EQ(model.materials[2].texture_file_name, "");
}

TEST(Ms3dParse, IgnoresDataAfterTheMaterials) {
  Ms3dBuilder b = TwoGroups();
  b.trailer.assign(1000, 0xab);  // as the joint sections would be
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, b));
  EXPECT_EQ(model.groups.size(), 2u);
  EXPECT_EQ(model.materials.size(), 2u);
  EXPECT_EQ(model.triangles.size(), 4u);
  EXPECT_EQ(model.vertices.size(), 4u);
}

TEST(Ms3dParse, AcceptsEmptySections) {
  Ms3dBuilder b;
  Ms3dModel model;
  EXPECT_TRUE(ParseAll(model, b));
  ExpectEmpty(model);
  EXPECT_EQ(b.Bytes().size(), 14u + 4 * 2);
}

TEST(Ms3dParse, RefusesEveryTruncation) {
  const std::vector<uint8_t> bytes = TwoGroups().Bytes();
  for (size_t size = 0; size < bytes.size(); ++size) {
    Ms3dModel model;
    EXPECT_FALSE(ParseExact(model, bytes, size)) << "cut at " << size << " of " << bytes.size();
    ExpectEmpty(model);
  }
  Ms3dModel model;
  EXPECT_TRUE(ParseExact(model, bytes, bytes.size()));
}

TEST(Ms3dParse, RefusesCountsLargerThanTheFile) {
  // Each section's count raised to the maximum while its records stay few.
  const std::vector<uint8_t> bytes = TwoGroups().Bytes();
  const size_t vertex_count_at = 14;
  const size_t triangle_count_at = vertex_count_at + 2 + 4 * 15;
  const size_t group_count_at = triangle_count_at + 2 + 4 * 70;
  const size_t material_count_at = group_count_at + 2 + 2 * (36 + 4);
  ASSERT_EQ(bytes.size(), material_count_at + 2 + 2 * 361);
  for (size_t at : {vertex_count_at, triangle_count_at, group_count_at, material_count_at}) {
    std::vector<uint8_t> bad = bytes;
    bad[at] = bad[at + 1] = 0xff;
    Ms3dModel model;
    EXPECT_FALSE(ParseExact(model, bad, bad.size())) << "count at " << at;
    ExpectEmpty(model);
  }
  // A group's own triangle count reaching past the end.
  std::vector<uint8_t> bad = bytes;
  bad[group_count_at + 2 + 40 + 33] = bad[group_count_at + 2 + 40 + 34] = 0xff;  // second group's
  Ms3dModel model;
  EXPECT_FALSE(ParseExact(model, bad, bad.size()));
  ExpectEmpty(model);
}

TEST(Ms3dParse, RefusesIndicesOutsideTheirArrays) {
  struct Case {
    const char* what;
    void (*spoil)(Ms3dBuilder&);
  };
  const Case cases[] = {
      {"vertex index = vertex count", [](Ms3dBuilder& b) { b.triangles[1].vertex_indices[2] = 4; }},
      {"vertex index 65535", [](Ms3dBuilder& b) { b.triangles[0].vertex_indices[0] = 0xffff; }},
      {"unused triangle's vertex index", [](Ms3dBuilder& b) { b.triangles.push_back({{0, 9, 0}, {}, {}, {}}); }},
      {"triangle index = triangle count", [](Ms3dBuilder& b) { b.groups[1].triangle_indices[1] = 4; }},
      {"triangle index 65535", [](Ms3dBuilder& b) { b.groups[0].triangle_indices[0] = 0xffff; }},
      {"material index = material count", [](Ms3dBuilder& b) { b.groups[1].material = 2; }},
      {"material index 127", [](Ms3dBuilder& b) { b.groups[0].material = 0x7f; }},
      {"material 0 with no materials", [](Ms3dBuilder& b) { b.materials.clear(); }},
      {"triangle with no vertices", [](Ms3dBuilder& b) { b.vertices.clear(); }},
      {"group with no triangles", [](Ms3dBuilder& b) { b.triangles.clear(); }},
  };
  for (const Case& c : cases) {
    Ms3dBuilder b = TwoGroups();
    c.spoil(b);
    Ms3dModel model;
    EXPECT_FALSE(ParseAll(model, b)) << c.what;
    ExpectEmpty(model);
  }
}

TEST(Ms3dParse, ReplacesWhatTheModelHeld) {
  Ms3dModel model;
  ASSERT_TRUE(ParseAll(model, TwoGroups()));
  ASSERT_TRUE(ParseAll(model, Ms3dBuilder::OneTriangle()));
  EXPECT_EQ(model.groups.size(), 1u);
  EXPECT_EQ(model.materials.size(), 1u);
  EXPECT_EQ(model.triangles.size(), 1u);
  EXPECT_EQ(model.vertices.size(), 3u);

  Ms3dBuilder refused = TwoGroups();
  refused.version = 5;
  EXPECT_FALSE(ParseAll(model, refused));
  ExpectEmpty(model);
}

namespace {

// Loads the model from path through the fake host.
bool LoadFrom(Ms3dModel& model, const std::string& path) {
  FakeHost host;
  host.model = path;
  return model.Load(host);
}

}  // namespace

TEST(Ms3dLoad, MissingFileIsRefusedAndNotCreated) {
  const std::string path = TestTempPath("missing.data");
  std::remove(path.c_str());
  Ms3dModel model;
  EXPECT_FALSE(LoadFrom(model, path));
  ExpectEmpty(model);
  EXPECT_FALSE(std::ifstream(path).good());
}

TEST(Ms3dLoad, ReadsTheWholeFileAndReplacesAnEarlierLoad) {
  // Materials without texture names, so loading touches no picture file.
  Ms3dBuilder big = TwoGroups();
  big.materials[0].texture = "";
  big.trailer.assign(100, 0);
  const std::string big_path = TestTempPath("big.data");
  const std::string small_path = TestTempPath("small.data");
  const std::string empty_path = TestTempPath("empty.data");
  WriteTestFile(big_path, big.Bytes());
  WriteTestFile(small_path, Ms3dBuilder::OneTriangle().Bytes());
  WriteTestFile(empty_path, {});

  Ms3dModel model;
  ASSERT_TRUE(LoadFrom(model, big_path));
  EXPECT_EQ(model.groups.size(), 2u);
  EXPECT_EQ(model.triangles.size(), 4u);
  EXPECT_EQ(model.vertices[3].position[2], 7.0f);

  ASSERT_TRUE(LoadFrom(model, small_path));
  EXPECT_EQ(model.groups.size(), 1u);
  EXPECT_EQ(model.materials.size(), 1u);
  EXPECT_EQ(model.triangles.size(), 1u);
  EXPECT_EQ(model.vertices.size(), 3u);

  EXPECT_FALSE(LoadFrom(model, empty_path));
  ExpectEmpty(model);
  ASSERT_TRUE(LoadFrom(model, small_path));
  EXPECT_FALSE(LoadFrom(model, TestTempPath("missing.data")));
  ExpectEmpty(model);

  std::remove(big_path.c_str());
  std::remove(small_path.c_str());
  std::remove(empty_path.c_str());
}
