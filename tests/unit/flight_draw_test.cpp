// One frame as GL sees it, for both draw paths: order of the steps, the sky
// sphere, the 3969 ground quads, lighting, matrices and textures.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_gl.h"
#include "flight_scene.h"
#include "mesh_model.h"
#include "rand.h"

namespace {

constexpr GLuint kSky = 7;
constexpr GLuint kGround = 9;

// A one-triangle model without material, so its draw is visible in the log.
class OneTriangleModel : public MeshModel {
 public:
  OneTriangleModel() {
    vertices.resize(3);
    triangles.resize(1);
    triangles[0].vertex_indices[1] = 1;
    triangles[0].vertex_indices[2] = 2;
    groups.resize(1);
    groups[0].triangle_indices = {0};
  }
  bool Load(FlightHost&) override { return false; }
};

// A scene as InitScene leaves it, without the texture files.
struct Fixture {
  OneTriangleModel model;
  std::unique_ptr<FlightScene> scene = std::make_unique<FlightScene>();

  explicit Fixture(DrawPath path) {
    Srand(1);
    scene->InitGroundGrid();
    scene->InitFlight();
    scene->sky_texture = kSky;
    scene->ground_texture = kGround;
    scene->quadric = gluNewQuadric();
    scene->model = &model;
    scene->path = path;
    fakegl::Reset();
  }
};

// (s, t, x, y, z) of every ground corner, in drawing order, from the grid's rule.
std::vector<double> ExpectedGround() {
  std::vector<double> out;
  const int corner[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {1, 1, 1, 1}, {1, 0, 1, 0}};  // s, t, dj, di
  for (int i = 0; i < 63; ++i)
    for (int j = 0; j < 63; ++j)
      for (const auto& c : corner)
        out.insert(out.end(), {double(c[0]), double(c[1]), (j + c[2] - 32) * 256.0, 0.0, (i + c[3] - 32) * 256.0});
  return out;
}

// The texture coordinates and vertices logged in [from, to), interleaved.
std::vector<double> ImmediateData(int from, int to) {
  std::vector<double> out;
  const auto& calls = fakegl::Calls();
  for (int k = from; k < to; ++k)
    if (calls[k].name == "glTexCoord2f" || calls[k].name == "glVertex3f")
      out.insert(out.end(), calls[k].args.begin(), calls[k].args.end());
  return out;
}

// The deepest the model-view stack went, counting pushes and pops.
int DeepestPush() {
  int depth = 0, deepest = 0;
  for (const GlCall& c : fakegl::Calls()) {
    depth += c.name == "glPushMatrix" ? 1 : c.name == "glPopMatrix" ? -1 : 0;
    deepest = std::max(deepest, depth);
  }
  return deepest;
}

// The flight and camera state, for comparing two scenes.
std::vector<double> StateOf(const FlightScene& s) {
  return {s.plane_x, s.plane_y,  s.plane_z, s.heading, s.target_heading,    s.turn_step,   s.speed,
          double(s.turning), s.bank, double(s.bank_frames), s.eye_x, s.eye_y, s.eye_z, double(s.camera_mode),
          s.orbit_angle, s.schedule_counter};
}

const double kTexture2d = GL_TEXTURE_2D;
const double kLighting = GL_LIGHTING;

class DrawFrameBothPaths : public ::testing::TestWithParam<DrawPath> {};

}  // namespace

TEST(DrawFrameLiteral, ClearsPlacesCameraThenSkyGroundAircraftInOrder) {
  Fixture f(DrawPath::kLiteral);
  FlightScene& s = *f.scene;
  const float old_x = s.plane_x, old_z = s.plane_z;
  EXPECT_TRUE(s.DrawFrame());

  const auto& calls = fakegl::Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].name, "glClear");
  EXPECT_EQ(calls[0].args[0], double(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
  EXPECT_EQ(calls[1].name, "glLoadIdentity");
  EXPECT_EQ(calls[2].name, "gluLookAt");
  // The camera looked at where the aircraft was before this frame's move.
  EXPECT_EQ(calls[2].args[3], old_x);
  EXPECT_EQ(calls[2].args[5], old_z);

  // The sky's picture and sphere come before the ground's picture.
  const int sky = fakegl::FindCall("glBindTexture", {kTexture2d, double(kSky)});
  const int ground = fakegl::FindCall("glBindTexture", {kTexture2d, double(kGround)}) - 1;
  EXPECT_LT(3, sky);
  EXPECT_LT(sky, fakegl::Find("gluSphere"));
  EXPECT_LT(fakegl::Find("gluSphere"), ground);
  EXPECT_EQ(calls[ground].name, "glEnable");
  EXPECT_EQ(calls[ground].args[0], kTexture2d);
  EXPECT_EQ(calls[ground + 1].name, "glBindTexture");
  EXPECT_EQ(calls[ground + 1].args[1], kGround);
  EXPECT_EQ(fakegl::Count("glDepthFunc"), 0);
  const int ground_end = fakegl::FindCall("glDisable", {kTexture2d}, ground);
  const int aircraft = fakegl::Find("glPushMatrix", ground);
  ASSERT_LT(ground_end, aircraft);

  // The aircraft is drawn where it is after this frame's move.
  EXPECT_NE(s.plane_x, old_x);
  const GlCall place = calls[fakegl::Find("glTranslatef", aircraft)];
  EXPECT_EQ(place.args, (std::vector<double>{s.plane_x, s.plane_y, s.plane_z}));
}

TEST(DrawFrameLiteral, GroundIs3969QuadsEachItsOwnPrimitive) {
  Fixture f(DrawPath::kLiteral);
  f.scene->DrawFrame();
  const int first = fakegl::Find("glBegin");
  const int after = fakegl::FindCall("glDisable", {kTexture2d}, first);
  int quads = 0, ends = 0;
  for (int k = first; k < after; ++k) {
    const GlCall& c = fakegl::Calls()[k];
    if (c.name == "glBegin") {
      ASSERT_EQ(c.args[0], double(GL_QUADS));
      ++quads;
      // Four corners, each texture coordinate before its vertex, then the end.
      for (int corner = 0; corner < 4; ++corner) {
        ASSERT_EQ(fakegl::Calls()[k + 1 + 2 * corner].name, "glTexCoord2f");
        ASSERT_EQ(fakegl::Calls()[k + 2 + 2 * corner].name, "glVertex3f");
      }
      ASSERT_EQ(fakegl::Calls()[k + 9].name, "glEnd");
    }
    ends += c.name == "glEnd";
  }
  EXPECT_EQ(quads, 3969);
  EXPECT_EQ(ends, 3969);
  EXPECT_EQ(ImmediateData(first, after), ExpectedGround());
}

TEST(DrawFrameFast, GroundFromOneArrayBeforeTheSky) {
  Fixture f(DrawPath::kFast);
  f.scene->DrawFrame();
  EXPECT_EQ(fakegl::FindCall("glBegin", {double(GL_QUADS)}), -1);
  EXPECT_EQ(fakegl::Count("gluSphere"), 0);

  const int bind_ground = fakegl::FindCall("glBindTexture", {kTexture2d, double(kGround)});
  const int white = fakegl::FindCall("glColor4f", {1, 1, 1, 1}, bind_ground);
  const int vertex_on = fakegl::FindCall("glEnableClientState", {double(GL_VERTEX_ARRAY)});
  const int texcoord_on = fakegl::FindCall("glEnableClientState", {double(GL_TEXTURE_COORD_ARRAY)});
  const int draw = fakegl::Find("glDrawArrays");
  const int vertex_off = fakegl::FindCall("glDisableClientState", {double(GL_VERTEX_ARRAY)});
  const int texcoord_off = fakegl::FindCall("glDisableClientState", {double(GL_TEXTURE_COORD_ARRAY)});
  const int sphere = fakegl::FindCall("glBindTexture", {kTexture2d, double(kSky)});
  EXPECT_GT(bind_ground, fakegl::Find("gluLookAt"));
  EXPECT_LT(white, draw) << "the ground must not take the colour the model left";
  EXPECT_LT(vertex_on, draw);
  EXPECT_LT(texcoord_on, draw);
  EXPECT_GT(vertex_off, draw);
  EXPECT_GT(texcoord_off, draw);
  EXPECT_LT(std::max(vertex_off, texcoord_off), sphere);
  EXPECT_LT(sphere, fakegl::FindCall("glEnable", {kLighting}));
  // A strict depth test for the sky keeps the ground at equal depth, as the
  // literal order does; the scene's test is back before the aircraft.
  const int strict = fakegl::FindCall("glDepthFunc", {double(GL_LESS)});
  const int back = fakegl::FindCall("glDepthFunc", {double(GL_LEQUAL)});
  EXPECT_LT(draw, strict);
  EXPECT_LT(strict, sphere);
  EXPECT_LT(sphere, back);
  EXPECT_LT(back, fakegl::FindCall("glEnable", {kLighting}));
  EXPECT_EQ(fakegl::Count("glDepthFunc"), 2);

  const GlCall vp = fakegl::CallsNamed("glVertexPointer").at(0);
  const GlCall tp = fakegl::CallsNamed("glTexCoordPointer").at(0);
  EXPECT_EQ(vp.args[0], 3);
  EXPECT_EQ(vp.args[1], double(GL_FLOAT));
  EXPECT_EQ(tp.args[0], 2);
  EXPECT_EQ(tp.args[1], double(GL_FLOAT));
}

TEST(DrawFrameFast, SendsTheSameGroundDataAsTheLiteralPath) {
  Fixture literal(DrawPath::kLiteral);
  literal.scene->DrawGround();
  const std::vector<double> immediate = ImmediateData(0, static_cast<int>(fakegl::Calls().size()));

  Fixture fast(DrawPath::kFast);
  fast.scene->DrawGround();
  const GlCall draw = fakegl::CallsNamed("glDrawArrays").at(0);
  ASSERT_EQ(draw.args[0], double(GL_QUADS));
  ASSERT_EQ(draw.args[1], 0);
  ASSERT_EQ(draw.args[2], 3969 * 4);
  const std::vector<double> arrays(draw.args.begin() + 3, draw.args.end());
  EXPECT_EQ(arrays.size(), immediate.size());
  EXPECT_TRUE(arrays == immediate) << "vertex array differs from the immediate-mode quads";
  EXPECT_TRUE(arrays == ExpectedGround());
}

TEST(DrawFrameFast, ArrayFollowsANewGrid) {
  Fixture f(DrawPath::kFast);
  f.scene->DrawGround();  // builds the array
  f.scene->point[0][0][1] = 5;
  f.scene->InitGroundGrid();
  fakegl::Reset();
  f.scene->DrawGround();
  const GlCall draw = fakegl::CallsNamed("glDrawArrays").at(0);
  EXPECT_TRUE(std::vector<double>(draw.args.begin() + 3, draw.args.end()) == ExpectedGround());
}

TEST_P(DrawFrameBothPaths, LightingOnlyAroundTheModel) {
  Fixture f(GetParam());
  f.scene->DrawFrame();
  const int on = fakegl::FindCall("glEnable", {kLighting});
  const int off = fakegl::FindCall("glDisable", {kLighting});
  const int model = fakegl::FindCall("glBegin", {double(GL_TRIANGLES)});
  ASSERT_NE(on, -1);
  EXPECT_LT(on, model);
  EXPECT_LT(model, off);
  EXPECT_EQ(fakegl::FindCall("glEnable", {kLighting}, on + 1), -1);
  EXPECT_LT(fakegl::FindCall("glBindTexture", {kTexture2d, double(kSky)}), on);
  EXPECT_LT(std::max(fakegl::Find("glDrawArrays"), fakegl::FindCall("glBegin", {double(GL_QUADS)})), on);
  EXPECT_FALSE(fakegl::IsEnabled(GL_LIGHTING));
}

TEST_P(DrawFrameBothPaths, MatricesBalancedAndStateLeftTheSame) {
  Fixture f(GetParam());
  for (int frame = 0; frame < 3; ++frame) {
    fakegl::Reset();
    EXPECT_TRUE(f.scene->DrawFrame());
    EXPECT_EQ(fakegl::MatrixDepth(), 0);
    EXPECT_EQ(DeepestPush(), 1);
    EXPECT_EQ(fakegl::Count("glPushMatrix"), 2);
    EXPECT_FALSE(fakegl::IsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(fakegl::IsEnabled(GL_LIGHTING));
    EXPECT_EQ(fakegl::Count("glEnableClientState"), fakegl::Count("glDisableClientState"));
    // The sky and the ground each bind their own picture once.
    EXPECT_EQ(fakegl::Count("glBindTexture"), 2);
    EXPECT_NE(fakegl::FindCall("glBindTexture", {kTexture2d, double(kSky)}), -1);
    EXPECT_NE(fakegl::FindCall("glBindTexture", {kTexture2d, double(kGround)}), -1);
    const std::vector<GlCall> depth_tests = fakegl::CallsNamed("glDepthFunc");
    if (!depth_tests.empty()) {
      EXPECT_EQ(depth_tests.back().args[0], double(GL_LEQUAL));
    }
    const std::vector<GlCall> colours = fakegl::CallsNamed("glColor4f");
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours.back().args, (std::vector<double>{1, 1, 1, 1}));
  }
}

TEST_P(DrawFrameBothPaths, MissingPicturesDrawUntexturedWithoutSkyOrModelWhenAbsent) {
  Fixture f(GetParam());
  f.scene->sky_texture = 0;
  f.scene->ground_texture = 0;
  f.scene->quadric = nullptr;
  f.scene->model = nullptr;
  EXPECT_TRUE(f.scene->DrawFrame());
  const std::vector<GlCall> binds = fakegl::CallsNamed("glBindTexture");
  ASSERT_EQ(binds.size(), 2u);
  for (const GlCall& b : binds) EXPECT_EQ(b.args, (std::vector<double>{kTexture2d, 0}));
  EXPECT_EQ(fakegl::Count("gluSphere"), 0);
  EXPECT_EQ(fakegl::MatrixDepth(), 0);
}

// The sky's foot is left out only where the ground surely hides it: the
// sphere's footprint on the ground, an eye neither below 1 nor above the
// foot's depth (98).
TEST(DrawFrameFast, SkyFootLeftOutOnlyOverGround) {
  struct Eye {
    double x, y, z;
    int first_strip;
  } const kEyes[] = {{0, 16, 0, 15},      {4550, 35, -4550, 15}, {-7192, 1, 6936, 15}, {-7193, 16, 0, 0},
                     {0, 16, 6937, 0},    {0, 0.99, 0, 0},       {0, 98, 0, 15},       {0, 98.5, 0, 0},
                     {0, -16, 0, 0}};
  Fixture f(DrawPath::kFast);
  for (const Eye& eye : kEyes) {
    f.scene->eye_x = eye.x, f.scene->eye_y = eye.y, f.scene->eye_z = eye.z;
    EXPECT_EQ(f.scene->FirstShownSkyStrip(), eye.first_strip) << eye.x << " " << eye.y << " " << eye.z;
    fakegl::Reset();
    f.scene->DrawSky();
    const std::vector<GlCall> draws = fakegl::CallsNamed("glDrawArrays");
    ASSERT_EQ(draws.size(), 32u - eye.first_strip);
    EXPECT_EQ(draws[0].args[1], eye.first_strip * 66);
    EXPECT_EQ(draws.back().args[1], 31 * 66);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, DrawFrameBothPaths, ::testing::Values(DrawPath::kLiteral, DrawPath::kFast),
                         [](const auto& info) { return info.param == DrawPath::kLiteral ? "Literal" : "Fast"; });

TEST(DrawFramePaths, SameFlightFrameAfterFrame) {
  Fixture literal(DrawPath::kLiteral);
  Fixture fast(DrawPath::kFast);
  // Run both from the same generator state through turns and a fixed camera
  // that has to jump: fast flight, one frame before the fixed view. The
  // calls are compared on every 20th frame, the state on every frame.
  for (FlightScene* s : {literal.scene.get(), fast.scene.get()}) {
    s->speed = 8;
    s->schedule_counter = 998;
  }
  int turning_frames = 0, jumps = 0;
  for (int frame = 0; frame < 80; ++frame) {
    const bool logged = frame % 20 == 0;
    const float speed = literal.scene->speed;
    Srand(1000 + frame);
    fakegl::Reset();
    fakegl::SetContextCurrent(logged);
    literal.scene->DrawFrame();
    const std::vector<GlCall> literal_calls = fakegl::Calls();

    Srand(1000 + frame);
    fakegl::Reset();
    fakegl::SetContextCurrent(logged);
    fast.scene->DrawFrame();
    ASSERT_EQ(StateOf(*fast.scene), StateOf(*literal.scene)) << "frame " << frame;
    if (logged) {
      // Camera and aircraft transforms match call for call.
      for (const char* name : {"gluLookAt", "glTranslatef", "glRotatef"}) {
        std::vector<std::vector<double>> want, got;
        for (const GlCall& c : literal_calls)
          if (c.name == name) want.push_back(c.args);
        for (const GlCall& c : fakegl::CallsNamed(name)) got.push_back(c.args);
        ASSERT_EQ(got, want) << name << " frame " << frame;
      }
    }

    turning_frames += literal.scene->turning;
    jumps += literal.scene->speed != speed;
    literal.scene->AdvanceCameraSchedule();
    fast.scene->AdvanceCameraSchedule();
  }
  fakegl::SetContextCurrent(true);
  EXPECT_GT(turning_frames, 0);
  EXPECT_GT(jumps, 0);
}
