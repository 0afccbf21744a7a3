// The camera: the chase/fixed schedule, the chase orbit and the fixed
// viewpoint that jumps when the aircraft gets too far away.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "fake_gl.h"
#include "flight_scene.h"
#include "rand.h"

namespace {

// A scene with the aircraft at (x, 10, z) on `heading` and the camera in `mode`.
std::unique_ptr<FlightScene> CameraScene(int mode, float x, float z, float heading) {
  auto s = std::make_unique<FlightScene>();
  s->camera_mode = mode;
  s->plane_x = x;
  s->plane_y = 10;
  s->plane_z = z;
  s->heading = heading;
  s->speed = 6;
  return s;
}

// The arguments of the one gluLookAt logged so far.
std::vector<double> LookAt() {
  const std::vector<GlCall> calls = fakegl::CallsNamed("gluLookAt");
  EXPECT_EQ(calls.size(), 1u);
  return calls.empty() ? std::vector<double>{} : calls.front().args;
}

class Camera : public ::testing::Test {
 protected:
  void SetUp() override {
    fakegl::Reset();
    Srand(777);
    next_draw_ = Rand();
    Srand(777);
  }
  // Whether the camera left the generator untouched.
  bool DrewNothing() { return Rand() == next_draw_; }

  int next_draw_ = 0;
};

}  // namespace

TEST_F(Camera, ScheduleSwitchesToFixedAt1000AndBackToChaseAt1100) {
  FlightScene s;
  s.orbit_angle = 20;
  for (int cycle = 0; cycle < 2; ++cycle) {
    for (int swap = 1; swap <= 1100; ++swap) {
      s.AdvanceCameraSchedule();
      if (swap < 1000) {
        ASSERT_EQ(s.camera_mode, 1) << "cycle " << cycle << " swap " << swap;
      } else if (swap < 1100) {
        ASSERT_EQ(s.camera_mode, 0) << "cycle " << cycle << " swap " << swap;
      }
    }
    EXPECT_EQ(s.camera_mode, 1);
    EXPECT_EQ(s.schedule_counter, 0.0f);
  }
}

TEST_F(Camera, OrbitAdvancesAFifthOfADegreePerSwapInSinglePrecision) {
  FlightScene s;
  s.orbit_angle = 20;
  float want = 20;
  for (int i = 0; i < 5000; ++i) {
    s.AdvanceCameraSchedule();
    want += 0.2f;
  }
  EXPECT_EQ(s.orbit_angle, want);
  EXPECT_NEAR(s.orbit_angle, 1020.0f, 1.0f);
}

TEST_F(Camera, ChaseCircles30UnitsOutAnd6UnitsAbove) {
  // Heading 90 with no orbit puts the camera at +x of the aircraft.
  auto s = CameraScene(1, 100, 200, 90);
  s->orbit_angle = 0;
  s->UpdateCamera();
  EXPECT_EQ(s->eye_x, 130.0);
  EXPECT_EQ(s->eye_y, 16.0);
  EXPECT_EQ(s->eye_z, 200.0);
  EXPECT_EQ(LookAt(), (std::vector<double>{130, 16, 200, 100, 10, 200, 0, 1, 0}));
  EXPECT_TRUE(DrewNothing());

  // A quarter turn of orbit (with 3.141 for pi) brings it round to +z.
  fakegl::Reset();
  s->orbit_angle = 90;
  s->UpdateCamera();
  EXPECT_NEAR(s->eye_x, 100 + 30 * std::cos(90 * 3.141 / 180), 1e-4);
  EXPECT_GT(s->eye_x, 100.008);
  EXPECT_NEAR(s->eye_z, 230.0, 1e-4);
}

TEST_F(Camera, ChaseOffsetsAndSumsAreFormedInSinglePrecision) {
  // 1000 + 2^-14 has its last mantissa bit set, which no float past 1024 can hold.
  auto s = CameraScene(1, 1000 + 1.0f / 16384, -1000.3f, 90);
  s->orbit_angle = 0;
  const float sum = s->plane_x + 30.0f;
  ASSERT_NE(static_cast<double>(sum), static_cast<double>(s->plane_x) + 30.0) << "case does not discriminate";
  s->UpdateCamera();
  EXPECT_EQ(s->eye_x, static_cast<double>(sum));

  // Any angle: the angle, the offset and the sum are all floats.
  s->heading = 124;
  s->orbit_angle = 20.2f;
  s->UpdateCamera();
  const float a = static_cast<float>((124.0f - 90 + 20.2f) * 3.141 / 180);
  EXPECT_EQ(s->eye_x, static_cast<double>(s->plane_x + 30.0f * std::cos(a)));
  EXPECT_EQ(s->eye_z, static_cast<double>(s->plane_z + 30.0f * std::sin(a)));
}

TEST_F(Camera, FixedCameraStaysUpToExactly400Away) {
  struct Case {
    double eye_x, eye_z;
  };
  // 400 straight, 400 diagonally, and 400.00001, which is 400 once rounded to float.
  for (const Case c : {Case{400, 0}, Case{240, 320}, Case{-400, 0}, Case{400.00001, 0}}) {
    fakegl::Reset();
    Srand(777);
    auto s = CameraScene(0, 0, 0, 124);
    s->eye_x = c.eye_x;
    s->eye_y = 5;
    s->eye_z = c.eye_z;
    s->UpdateCamera();
    EXPECT_EQ(s->eye_x, c.eye_x);
    EXPECT_EQ(s->eye_y, 5.0);
    EXPECT_EQ(s->eye_z, c.eye_z);
    EXPECT_EQ(s->speed, 6.0f);
    EXPECT_EQ(LookAt(), (std::vector<double>{c.eye_x, 5, c.eye_z, 0, 10, 0, 0, 1, 0}));
    EXPECT_TRUE(DrewNothing()) << c.eye_x;
  }
}

TEST_F(Camera, FixedCameraJumpsBeyond400WithFourDrawsInOrder) {
  int r[5];
  for (int& v : r) v = Rand();
  Srand(777);

  auto s = CameraScene(0, 50, -20, 124);
  s->eye_x = 50 + 400.01;
  s->eye_z = -20;
  s->UpdateCamera();
  EXPECT_NEAR(s->eye_x, 50 + 150 * std::cos((r[0] % 180 + 124) * 3.141 / 180), 1e-9);
  EXPECT_EQ(s->eye_y, r[1] % 35 + 1);
  EXPECT_NEAR(s->eye_z, -20 + 150 * std::sin((r[2] % 180 + 124) * 3.141 / 180), 1e-9);
  EXPECT_EQ(s->speed, (r[3] % 100) / 50.0f + 1);
  EXPECT_EQ(Rand(), r[4]) << "exactly four draws";
  EXPECT_EQ(LookAt(), (std::vector<double>{s->eye_x, s->eye_y, s->eye_z, 50, 10, -20, 0, 1, 0}));
}

TEST_F(Camera, JumpsLandNearTheAircraftAndSlowItDown) {
  float slowest = 9, fastest = 0;
  auto s = CameraScene(0, 300, 300, 0);
  for (unsigned seed = 0; seed < 3000; ++seed) {
    Srand(seed);
    s->heading = static_cast<float>(seed % 360);
    s->eye_x = -500;
    s->eye_z = 0;
    s->UpdateCamera();
    ASSERT_GE(s->speed, 1.0f);
    ASSERT_LE(s->speed, 2.98f);
    ASSERT_GE(s->eye_y, 1.0);
    ASSERT_LE(s->eye_y, 35.0);
    ASSERT_EQ(s->eye_y, std::floor(s->eye_y));
    ASSERT_LE(std::fabs(s->eye_x - 300), 150.0);
    ASSERT_LE(std::fabs(s->eye_z - 300), 150.0);
    slowest = std::min(slowest, s->speed);
    fastest = std::max(fastest, s->speed);

    // From its new place the camera stays put.
    const double x = s->eye_x;
    s->UpdateCamera();
    ASSERT_EQ(s->eye_x, x);
  }
  EXPECT_EQ(slowest, 1.0f);
  EXPECT_EQ(fastest, 2.98f);
}
