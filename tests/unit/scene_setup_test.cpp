// Scene set-up (textures, flight start, model textures, GL state, light,
// quadric) and the projection.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "display_plan.h"
#include "fake_host.h"
#include "scene_setup.h"
#include "test_temp.h"

#include "fake_gl.h"
#include "flight_scene.h"
#include "mesh_model.h"
#include "rand.h"

namespace {

// Writes a 2 x 2, 24-bit Windows bitmap to path; true on success.
bool WriteTinyBitmap(const std::string& path) {
  bmp::Bytes pixels(2 * BitmapRowStride(2));
  std::iota(pixels.begin(), pixels.end(), static_cast<unsigned char>(kBitmapHeadersSize));
  return WriteTestFile(path, bmp::Plain24(2, 2, pixels));
}

// The model's texture, a relative name as a model gives it.
constexpr char kModelTexture[] = "model_texture.bmp";

// A model with one textured material, so its texture pass shows in the log.
class TexturedModel : public MeshModel {
 public:
  TexturedModel() {
    materials.resize(1);
    materials[0].texture_file_name = kModelTexture;
  }
  bool Load(FlightHost&) override { return false; }
};

class InitSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteTinyBitmap(TestTempPath("skyliner_sky.bmp")));
    ASSERT_TRUE(WriteTinyBitmap(TestTempPath("skyliner_ground.bmp")));
    // The model's texture is the sky's picture.
    host_.sky = host_.materials[kModelTexture] = TestTempPath("skyliner_sky.bmp");
    host_.ground = TestTempPath("skyliner_ground.bmp");
    fakegl::Reset();
    Srand(1);
    scene_ = std::make_unique<FlightScene>();
    scene_->model = &model_;
  }
  FakeHost host_;
  TexturedModel model_;
  std::unique_ptr<FlightScene> scene_;
};

}  // namespace

TEST_F(InitSceneTest, TexturesFlightModelThenStateLightAndQuadricInOrder) {
  ASSERT_EQ(InitScene(*scene_, host_), 1);
  EXPECT_NE(scene_->sky_texture, 0u);
  EXPECT_NE(scene_->ground_texture, 0u);
  EXPECT_NE(scene_->sky_texture, scene_->ground_texture);
  EXPECT_NE(scene_->quadric, nullptr);
  EXPECT_NE(model_.materials[0].texture, 0u) << "the model's textures are made now";
  EXPECT_EQ(scene_->plane_x, 154.1f) << "the flight starts from the unseeded generator";
  EXPECT_EQ(scene_->point[0][0][0], -8192.0);

  // Both scene pictures (mipmapped), then the model's (a plain texture), then the state.
  // Each 2 x 2 scene picture is uploaded in two levels (2 x 2, 1 x 1); the model's fifth, in one.
  const auto uploads = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(uploads.size(), 5u) << fakegl::Trace();
  const std::vector<double> levels = {uploads[0].args[1], uploads[1].args[1], uploads[2].args[1],
                                      uploads[3].args[1], uploads[4].args[1]};
  EXPECT_EQ(levels, (std::vector<double>{0, 1, 0, 1, 0}));
  int model_texture = -1;
  for (int i = 0; i < 5; ++i) model_texture = fakegl::Find("glTexImage2D", model_texture + 1);
  const std::vector<int> order = {
      model_texture,
      fakegl::FindCall("glShadeModel", {double(GL_SMOOTH)}),
      fakegl::FindCall("glClearColor", {0, 0, 0, 0.5}),
      fakegl::FindCall("glClearDepth", {1}),
      fakegl::FindCall("glEnable", {double(GL_DEPTH_TEST)}),
      fakegl::FindCall("glDepthFunc", {double(GL_LEQUAL)}),
      fakegl::FindCall("glHint", {double(GL_PERSPECTIVE_CORRECTION_HINT), double(GL_NICEST)}),
      fakegl::FindCall("glLightfv", {double(GL_LIGHT0), double(GL_POSITION), 1, 140, 1, 1}),
      fakegl::FindCall("glEnable", {double(GL_LIGHT0)}),
      fakegl::Find("gluNewQuadric"),
      fakegl::FindCall("gluQuadricNormals", {double(GLU_SMOOTH)}),
      fakegl::FindCall("gluQuadricTexture", {double(GL_TRUE)}),
  };
  for (size_t k = 0; k < order.size(); ++k) {
    ASSERT_NE(order[k], -1) << "step " << k << " missing\n" << fakegl::Trace();
    if (k > 0) {
      EXPECT_LT(order[k - 1], order[k]) << "step " << k;
    }
  }

  // The light is placed under the identity model-view matrix.
  const int light = order[7];
  const int identity = fakegl::Find("glLoadIdentity", order[6]);
  ASSERT_NE(identity, -1);
  EXPECT_LT(identity, light);
  const GlCall& mode = fakegl::Calls()[identity - 1];
  EXPECT_EQ(mode.name, "glMatrixMode");
  EXPECT_EQ(mode.args[0], double(GL_MODELVIEW));

  EXPECT_TRUE(fakegl::IsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(fakegl::IsEnabled(GL_LIGHT0));
  EXPECT_FALSE(fakegl::IsEnabled(GL_LIGHTING)) << "lighting is only for the aircraft";
  EXPECT_FALSE(fakegl::IsEnabled(GL_TEXTURE_2D));
}

TEST_F(InitSceneTest, OneMissingPictureLeavesItsTextureZeroAndStillSucceeds) {
  const std::string sky = host_.sky;
  host_.sky.clear();
  ASSERT_EQ(InitScene(*scene_, host_), 1);
  EXPECT_EQ(scene_->sky_texture, 0u);
  EXPECT_NE(scene_->ground_texture, 0u);
  EXPECT_EQ(fakegl::Count("glTexImage2D"), 3);  // one picture in two levels, the model's in one

  fakegl::Reset();
  host_.sky = sky;
  host_.ground.clear();
  FlightScene other;
  ASSERT_EQ(InitScene(other, host_), 1);
  EXPECT_NE(other.sky_texture, 0u);
  EXPECT_EQ(other.ground_texture, 0u);
  EXPECT_EQ(other.model, nullptr);
  EXPECT_NE(other.quadric, nullptr) << "a scene without a model still sets up";
}

TEST_F(InitSceneTest, NeitherPictureFailsBeforeAnythingElse) {
  host_.sky.clear();
  host_.ground.clear();
  EXPECT_EQ(InitScene(*scene_, host_), 0);
  EXPECT_EQ(scene_->sky_texture, 0u);
  EXPECT_EQ(scene_->ground_texture, 0u);
  EXPECT_EQ(scene_->quadric, nullptr);
  EXPECT_EQ(scene_->plane_x, 0.0f) << "the flight was not started";
  EXPECT_EQ(Rand(), 41) << "the generator was not touched";
  EXPECT_EQ(model_.materials[0].texture, 0u);
  EXPECT_EQ(fakegl::Count("glShadeModel"), 0);
  EXPECT_EQ(fakegl::Count("glLightfv"), 0);
  EXPECT_EQ(fakegl::Count("gluNewQuadric"), 0);
  EXPECT_FALSE(fakegl::IsEnabled(GL_DEPTH_TEST));
}

TEST(ResizeViewport, SetsViewportAndProjectionThenIdentityModelView) {
  fakegl::Reset();
  ResizeViewport(1024, 768);
  const auto& calls = fakegl::Calls();
  ASSERT_EQ(calls.size(), 6u) << fakegl::Trace();
  EXPECT_EQ(calls[0].name, "glViewport");
  EXPECT_EQ(calls[0].args, (std::vector<double>{0, 0, 1024, 768}));
  EXPECT_EQ(calls[1].name, "glMatrixMode");
  EXPECT_EQ(calls[1].args[0], double(GL_PROJECTION));
  EXPECT_EQ(calls[2].name, "glLoadIdentity");
  EXPECT_EQ(calls[3].name, "gluPerspective");
  EXPECT_EQ(calls[3].args, (std::vector<double>{45.0, 1024.0 / 768.0, 0.10000000149011612, 2000.0}));
  EXPECT_EQ(calls[4].name, "glMatrixMode");
  EXPECT_EQ(calls[4].args[0], double(GL_MODELVIEW));
  EXPECT_EQ(calls[5].name, "glLoadIdentity");
}

TEST(ResizeViewport, ZeroHeightCountsAsOne) {
  fakegl::Reset();
  ResizeViewport(640, 0);
  const GlCall viewport = fakegl::CallsNamed("glViewport").at(0);
  EXPECT_EQ(viewport.args, (std::vector<double>{0, 0, 640, 1}));
  const GlCall projection = fakegl::CallsNamed("gluPerspective").at(0);
  EXPECT_EQ(projection.args[1], 640.0);
  EXPECT_EQ(fakegl::Count("gluPerspective"), 1);
}

// A view off the window's centre keeps the vertical field and square pixels:
// centred, it is the plain projection; moved, the frustum shifts with it.
TEST(ResizeViewport, OffCentreViewShiftsTheFrustum) {
  const double top = 0.10000000149011612 * std::tan(22.5 * 3.14159265358979323846 / 180);
  const struct {
    int width, height;
    FlightProjection view;
    std::vector<double> frustum;  // left, right, bottom, top in units of the near plane's half height
  } cases[] = {
      {1024, 768, {512, 384, 384}, {-4.0 / 3, 4.0 / 3, -1, 1}},
      {2304, 1024, {640, 512, 512}, {-1.25, 3.25, -1, 1}},  // over a 1280 x 1024 primary and a second monitor
      {1024, 768, {512, 384, 768}, {-2.0 / 3, 2.0 / 3, -0.5, 0.5}},
  };
  for (const auto& c : cases) {
    fakegl::Reset();
    ResizeViewport(c.width, c.height, c.view);
    const GlCall frustum = fakegl::CallsNamed("glFrustum").at(0);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(frustum.args[i], c.frustum[i] * top, 1e-12) << i;
    EXPECT_EQ(frustum.args[4], 0.10000000149011612);
    EXPECT_EQ(frustum.args[5], 2000.0);
  }
}
