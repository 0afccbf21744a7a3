// Material textures: which names reach the picture loader, in which order,
// and what each material ends up with.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_temp.h"

#include "bmp_builder.h"
#include "fake_gl.h"
#include "fake_host.h"
#include "mesh_model.h"
#include "ms3d_builder.h"

namespace {

class ModelTextures : public ::testing::Test {
 protected:
  // Only "present.bmp" names a file that exists.
  void SetUp() override {
    fakegl::Reset();
    const bmp::Bytes bytes = bmp::Plain24(1, 1, bmp::PackRows({{0x102030}}, 24));
    WriteTestFile(TestTempPath("present.bmp"), bytes);
    host_.materials = {{"present.bmp", TestTempPath("present.bmp")}};
  }
  void TearDown() override {
    fakegl::Reset();
    std::remove(TestTempPath("present.bmp").c_str());
  }

  // Materials named "", "absent.bmp", "present.bmp", in that order.
  static Ms3dModel ThreeMaterials() {
    Ms3dBuilder b = Ms3dBuilder::OneTriangle("");
    b.materials.push_back(b.materials[0]);
    b.materials.push_back(b.materials[0]);
    b.materials[1].texture = "absent.bmp";
    b.materials[2].texture = "present.bmp";
    const std::vector<uint8_t> bytes = b.Bytes();
    Ms3dModel model;
    EXPECT_TRUE(model.Parse(bytes.data(), bytes.size()));
    return model;
  }

  FakeHost host_;
};

}  // namespace

TEST_F(ModelTextures, EmptyNameGetsZeroWithoutAnyFileAccess) {
  Ms3dModel model = ThreeMaterials();
  model.materials[0].texture = 99;  // left from an earlier pass
  model.CreateMaterialTextures(host_);
  EXPECT_EQ(model.materials[0].texture, 0u);
  EXPECT_EQ(model.materials[1].texture, 0u);
  EXPECT_NE(model.materials[2].texture, 0u);
  EXPECT_EQ(host_.asked, (std::vector<std::string>{"absent.bmp", "present.bmp"}));
  EXPECT_EQ(fakegl::Count("glGenTextures"), 1);
}

TEST_F(ModelTextures, FirstPassWithoutContextReadsButCreatesNothing) {
  Ms3dModel model = ThreeMaterials();
  fakegl::SetContextCurrent(false);
  model.CreateMaterialTextures(host_);
  for (const ModelMaterial& m : model.materials) EXPECT_EQ(m.texture, 0u);
  EXPECT_EQ(host_.asked.size(), 2u);

  fakegl::SetContextCurrent(true);
  model.CreateMaterialTextures(host_);
  EXPECT_EQ(host_.asked.size(), 4u);
  EXPECT_NE(model.materials[2].texture, 0u);
}

TEST_F(ModelTextures, LoadCreatesTexturesWithTheNameAsStored) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle("present.bmp");
  b.materials.push_back(b.materials[0]);
  b.materials[1].texture = std::string(128, 'n');  // no NUL in the field
  const std::string path = TestTempPath("model.data");
  const std::vector<uint8_t> bytes = b.Bytes();
  WriteTestFile(path, bytes);

  Ms3dModel model;
  host_.model = path;
  ASSERT_TRUE(model.Load(host_));
  EXPECT_EQ(host_.asked, (std::vector<std::string>{"present.bmp", std::string(128, 'n')}));
  EXPECT_NE(model.materials[0].texture, 0u);
  EXPECT_EQ(model.materials[1].texture, 0u);
  std::remove(path.c_str());
}

TEST_F(ModelTextures, ANameLeavingTheCurrentDirectoryIsNeverOpened) {
  Ms3dModel model = ThreeMaterials();
  model.materials[1].texture_file_name = "\\\\127.0.0.1\\share\\present.bmp";
  model.materials[2].texture_file_name = "..\\present.bmp";
  model.CreateMaterialTextures(host_);
  for (const ModelMaterial& m : model.materials) EXPECT_EQ(m.texture, 0u);
  EXPECT_TRUE(host_.asked.empty());
}
