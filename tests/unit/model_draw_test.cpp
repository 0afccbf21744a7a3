// Drawing the model through the recording GL: materials, texturing switch,
// per-corner normals, texture coordinates and positions.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_gl.h"
#include "gl.h"
#include "mesh_model.h"
#include "ms3d_builder.h"

namespace {

Ms3dModel Parsed(const Ms3dBuilder& builder) {
  const std::vector<uint8_t> bytes = builder.Bytes();
  Ms3dModel model;
  EXPECT_TRUE(model.Parse(bytes.data(), bytes.size()));
  return model;
}

// Draws the model with GL_TEXTURE_2D on or off beforehand and returns only the
// calls the draw made.
std::vector<GlCall> DrawRecorded(MeshModel& model, bool texturing, void (MeshModel::*draw)() = &MeshModel::Draw) {
  fakegl::Reset();
  if (texturing) glEnable(GL_TEXTURE_2D);
  const size_t before = fakegl::Calls().size();
  (model.*draw)();
  return std::vector<GlCall>(fakegl::Calls().begin() + static_cast<std::ptrdiff_t>(before), fakegl::Calls().end());
}

std::vector<std::string> Names(const std::vector<GlCall>& calls) {
  std::vector<std::string> names;
  for (const GlCall& call : calls) names.push_back(call.name);
  return names;
}

int Count(const std::vector<GlCall>& calls, const std::string& name) {
  int n = 0;
  for (const GlCall& call : calls) n += call.name == name;
  return n;
}

// Two groups: material 0 (each test gives it a texture), then none (-1).
Ms3dBuilder TexturedThenBare() {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle("skin.bmp");
  b.groups.push_back({{0}, 0xff});
  return b;
}

}  // namespace

TEST(ModelDraw, OneGroupCallByCall) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  b.vertices[2].position[2] = 9;
  b.triangles[0].vertex_indices[0] = 2;
  b.triangles[0].normals[1][0] = -1;
  b.triangles[0].s[1] = 0.5f;
  b.triangles[0].t[0] = 0.25f;
  b.materials[0] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}, 40, ""};
  Ms3dModel model = Parsed(b);
  const std::vector<GlCall> calls = DrawRecorded(model, false);

  const std::vector<std::string> expected = {
      "glIsEnabled",  "glMaterialfv", "glMaterialfv", "glMaterialfv", "glMaterialfv", "glMaterialf",
      "glDisable",    "glBegin",      "glNormal3fv",  "glTexCoord2f", "glVertex3fv",  "glNormal3fv",
      "glTexCoord2f", "glVertex3fv",  "glNormal3fv",  "glTexCoord2f", "glVertex3fv",  "glEnd",
      "glDisable"};
  ASSERT_EQ(Names(calls), expected) << fakegl::Trace();
  EXPECT_EQ(calls[0].args, (std::vector<double>{GL_TEXTURE_2D}));
  EXPECT_EQ(calls[1].args, (std::vector<double>{GL_FRONT, GL_AMBIENT, 1, 2, 3, 4}));
  EXPECT_EQ(calls[2].args, (std::vector<double>{GL_FRONT, GL_DIFFUSE, 5, 6, 7, 8}));
  EXPECT_EQ(calls[3].args, (std::vector<double>{GL_FRONT, GL_SPECULAR, 9, 10, 11, 12}));
  EXPECT_EQ(calls[4].args, (std::vector<double>{GL_FRONT, GL_EMISSION, 13, 14, 15, 16}));
  EXPECT_EQ(calls[5].args, (std::vector<double>{GL_FRONT, GL_SHININESS, 40}));
  EXPECT_EQ(calls[6].args, (std::vector<double>{GL_TEXTURE_2D}));
  EXPECT_EQ(calls[7].args, (std::vector<double>{GL_TRIANGLES}));
  // Corner 0 names vertex 2; the file's t = 0.25 is drawn as 0.75.
  EXPECT_EQ(calls[8].args, (std::vector<double>{0, 0, 1}));
  EXPECT_EQ(calls[9].args, (std::vector<double>{0, 0.75}));
  EXPECT_EQ(calls[10].args, (std::vector<double>{0, 1, 9}));
  EXPECT_EQ(calls[11].args, (std::vector<double>{-1, 0, 1}));
  EXPECT_EQ(calls[12].args, (std::vector<double>{0.5, 1}));
  EXPECT_EQ(calls[13].args, (std::vector<double>{1, 0, 0}));
  EXPECT_EQ(calls[16].args, (std::vector<double>{0, 1, 9}));
  EXPECT_EQ(calls[18].args, (std::vector<double>{GL_TEXTURE_2D}));
  EXPECT_FALSE(fakegl::IsEnabled(GL_TEXTURE_2D));
}

TEST(ModelDraw, TexturedMaterialBindsAndEnables) {
  Ms3dModel model = Parsed(Ms3dBuilder::OneTriangle("skin.bmp"));
  model.materials[0].texture = 7;
  const std::vector<GlCall> calls = DrawRecorded(model, false);
  const int bind = fakegl::Find(calls, "glBindTexture");
  ASSERT_GE(bind, 0) << fakegl::Trace();
  EXPECT_EQ(calls[bind].args, (std::vector<double>{GL_TEXTURE_2D, 7}));
  EXPECT_GT(bind, fakegl::Find(calls, "glMaterialf"));
  EXPECT_EQ(fakegl::Find(calls, "glEnable"), bind + 1);
  EXPECT_EQ(calls[bind + 1].args, (std::vector<double>{GL_TEXTURE_2D}));
  EXPECT_EQ(fakegl::Find(calls, "glBegin"), bind + 2);
}

TEST(ModelDraw, GroupWithoutMaterialKeepsThePreviousColoursUntextured) {
  Ms3dModel model = Parsed(TexturedThenBare());
  model.materials[0].texture = 7;
  const std::vector<GlCall> calls = DrawRecorded(model, false);

  // The material is set once, for the first group only.
  EXPECT_EQ(Count(calls, "glMaterialfv"), 4);
  EXPECT_EQ(Count(calls, "glMaterialf"), 1);
  EXPECT_EQ(Count(calls, "glBindTexture"), 1);
  const int second_begin = fakegl::Find(calls, "glBegin", fakegl::Find(calls, "glEnd") + 1);
  ASSERT_GT(second_begin, 1) << fakegl::Trace();
  EXPECT_EQ(calls[second_begin - 1].name, "glDisable");
  EXPECT_EQ(calls[second_begin - 1].args, (std::vector<double>{GL_TEXTURE_2D}));
  EXPECT_EQ(calls[second_begin - 2].name, "glEnd");
  EXPECT_EQ(Count(calls, "glVertex3fv"), 6);
}

TEST(ModelDraw, RestoresTheTexturingSwitchAsFound) {
  Ms3dModel model = Parsed(TexturedThenBare());
  model.materials[0].texture = 7;

  // Enabled before: the last group disabled it, so it is enabled again.
  std::vector<GlCall> calls = DrawRecorded(model, true);
  EXPECT_TRUE(fakegl::IsEnabled(GL_TEXTURE_2D)) << fakegl::Trace();
  EXPECT_EQ(calls.back().name, "glEnable");

  // Disabled before: a textured last group enabled it, so it is disabled again.
  std::swap(model.groups[0], model.groups[1]);
  calls = DrawRecorded(model, false);
  EXPECT_FALSE(fakegl::IsEnabled(GL_TEXTURE_2D)) << fakegl::Trace();
  EXPECT_EQ(calls.back().name, "glDisable");
  EXPECT_EQ(Count(calls, "glEnable"), 1);
}

// Recorded once with exactly the groups' calls, replayed after; the texturing
// switch is kept outside the list. A deleted list is recorded again.
TEST(ModelDraw, ListedRecordsTheGroupsOnceThenReplaysThem) {
  Ms3dModel model = Parsed(TexturedThenBare());
  const std::vector<std::string> groups = Names(DrawRecorded(model, true));
  std::vector<std::string> first = {"glIsEnabled", "glGenLists", "glNewList"};
  first.insert(first.end(), groups.begin() + 1, groups.end() - 1);
  first.insert(first.end(), {"glEndList", "glCallList", "glEnable"});
  EXPECT_EQ(Names(DrawRecorded(model, true, &MeshModel::DrawListed)), first);
  const std::vector<std::string> again = {"glIsEnabled", "glCallList", "glDisable"};
  EXPECT_EQ(Names(DrawRecorded(model, false, &MeshModel::DrawListed)), again);
  model.DeleteGlObjects();
  EXPECT_EQ(fakegl::CallsNamed("glDeleteLists").size(), 1u);
  EXPECT_EQ(Names(DrawRecorded(model, true, &MeshModel::DrawListed)), first);
}

TEST(ModelDraw, ZeroGroupsMakesNoCall) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  b.groups.clear();
  Ms3dModel model = Parsed(b);
  for (bool texturing : {false, true}) {
    EXPECT_TRUE(DrawRecorded(model, texturing).empty()) << fakegl::Trace();
    EXPECT_EQ(fakegl::IsEnabled(GL_TEXTURE_2D), texturing);
  }
  Ms3dModel empty;
  EXPECT_TRUE(DrawRecorded(empty, false).empty()) << fakegl::Trace();
}

TEST(ModelDraw, GroupWithoutTrianglesStillSetsItsMaterial) {
  Ms3dBuilder b = Ms3dBuilder::OneTriangle();
  b.groups[0].triangle_indices.clear();
  Ms3dModel model = Parsed(b);
  const std::vector<GlCall> calls = DrawRecorded(model, false);
  EXPECT_EQ(Count(calls, "glMaterialf"), 1);
  EXPECT_EQ(Count(calls, "glBegin"), 1);
  EXPECT_EQ(Count(calls, "glEnd"), 1);
  EXPECT_EQ(Count(calls, "glVertex3fv"), 0);
}
