// Aircraft motion: start values, the ground grid, movement, wrap-around,
// turns and banking.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "fake_gl.h"
#include "flight_scene.h"
#include "rand.h"

namespace {

// The first seed whose next three draws satisfy `want`; the generator is left
// seeded with it. Fails the test if no seed below ten million does.
unsigned SeedWhere(const std::function<bool(int, int, int)>& want) {
  for (unsigned seed = 0; seed < 10000000; ++seed) {
    Srand(seed);
    const int a = Rand(), b = Rand(), c = Rand();
    if (want(a, b, c)) {
      Srand(seed);
      return seed;
    }
  }
  ADD_FAILURE() << "no seed found";
  return 0;
}

// The n-th draw (0-based) after seeding with `seed`.
int DrawAfter(unsigned seed, int n) {
  Srand(seed);
  for (int i = 0; i < n; ++i) Rand();
  return Rand();
}

// A scene flying straight at the given place, heading and speed.
std::unique_ptr<FlightScene> Flying(float x, float z, float heading, float speed) {
  auto s = std::make_unique<FlightScene>();
  s->plane_x = x;
  s->plane_y = 10;
  s->plane_z = z;
  s->heading = heading;
  s->speed = speed;
  return s;
}

// Keeps the scene in a turn that adds nothing to the heading and never ends,
// so UpdateFlight only moves the aircraft and draws no random numbers.
void HoldInEndlessTurn(FlightScene& s) {
  s.turning = 1;
  s.turn_step = 0;
  s.target_heading = s.heading + 100;
}

// The roll angles DrawAircraft gave, one per glRotatef about the z axis.
std::vector<double> RollsDrawn() {
  std::vector<double> rolls;
  for (const GlCall& c : fakegl::CallsNamed("glRotatef"))
    if (c.args[1] == 0 && c.args[2] == 0 && c.args[3] == 1) rolls.push_back(c.args[0]);
  return rolls;
}

class FlightMotion : public ::testing::Test {
 protected:
  void SetUp() override { fakegl::Reset(); }
};

}  // namespace

TEST_F(FlightMotion, UnseededStartIsAlwaysTheSame) {
  Srand(1);
  for (int i = 0; i < 4; ++i) Rand();
  const int fifth = Rand();

  Srand(1);
  FlightScene s;
  s.InitFlight();
  EXPECT_EQ(s.plane_x, 154.1f);
  EXPECT_EQ(s.plane_y, 10.0f);
  EXPECT_EQ(s.plane_z, 443.35f);
  EXPECT_EQ(s.heading, 124.0f);
  EXPECT_EQ(s.speed, 4.0f);
  EXPECT_EQ(s.target_heading, 0.0f);
  EXPECT_EQ(s.turn_step, 0.0f);
  EXPECT_EQ(s.turning, 0);
  EXPECT_EQ(s.bank, 0.0f);
  EXPECT_EQ(s.bank_frames, 0);
  EXPECT_EQ(s.eye_x, static_cast<double>(154.1f));
  EXPECT_EQ(s.eye_y, 14.0);
  EXPECT_EQ(s.eye_z, static_cast<double>(443.35f));
  EXPECT_EQ(s.orbit_angle, 20.0f);
  EXPECT_EQ(s.camera_mode, 1);
  EXPECT_EQ(Rand(), fifth) << "InitFlight must draw exactly four numbers";
}

TEST_F(FlightMotion, StartValuesCoverTheirWholeRangesWithRealDivisions) {
  float min_x = 1e9f, max_x = -1e9f, max_z = -1e9f, max_speed = 0;
  for (unsigned seed = 0; seed < 20000; ++seed) {
    Srand(seed);
    FlightScene s;
    s.InitFlight();
    ASSERT_GE(s.plane_x, 150.0f);
    ASSERT_LE(s.plane_x, 249.9f);
    ASSERT_GE(s.plane_z, 20.0f);
    ASSERT_LE(s.plane_z, 519.95f);
    ASSERT_GE(s.heading, 90.0f);
    ASSERT_LE(s.heading, 134.0f);
    ASSERT_EQ(s.heading, std::floor(s.heading));
    ASSERT_GE(s.speed, 4.0f);
    ASSERT_LE(s.speed, 8.95f);
    min_x = std::min(min_x, s.plane_x);
    max_x = std::max(max_x, s.plane_x);
    max_z = std::max(max_z, s.plane_z);
    max_speed = std::max(max_speed, s.speed);
  }
  EXPECT_EQ(min_x, 150.0f);
  EXPECT_EQ(max_x, 249.9f);
  EXPECT_EQ(max_z, 519.95f);
  EXPECT_EQ(max_speed, 8.95f);
}

TEST_F(FlightMotion, GroundGridRunsFromMinus8192In256Steps) {
  auto s = std::make_unique<FlightScene>();
  s->InitGroundGrid();
  for (int j = 0; j < kGridPoints; ++j) {
    for (int i = 0; i < kGridPoints; ++i) {
      ASSERT_EQ(s->point[j][i][0], -8192.0 + 256.0 * j) << j << "," << i;
      ASSERT_EQ(s->point[j][i][1], 0.0);
      ASSERT_EQ(s->point[j][i][2], -8192.0 + 256.0 * i) << j << "," << i;
    }
  }
  EXPECT_EQ(s->point[63][63][0], 7936.0);
}

TEST_F(FlightMotion, FliesAlongHeadingPlusNinetyWithPiTakenAs3141) {
  // Heading 0 flies along +z; with 3.141 for pi the cosine is not quite 0,
  // so the aircraft drifts a little along +x too.
  auto s = Flying(0, 0, 0, 100);
  HoldInEndlessTurn(*s);
  s->UpdateFlight();
  EXPECT_NEAR(s->plane_z, 100.0, 1e-4);
  EXPECT_NEAR(s->plane_x, 100 * std::cos(90 * 3.141 / 180), 1e-6);
  EXPECT_GT(s->plane_x, 0.029f);

  // Heading 90 flies along -x.
  auto w = Flying(0, 0, 90, 100);
  HoldInEndlessTurn(*w);
  w->UpdateFlight();
  EXPECT_NEAR(w->plane_x, -100.0, 1e-4);
  EXPECT_EQ(w->plane_y, 10.0f) << "the altitude never changes";
}

TEST_F(FlightMotion, EveryStepIsRoundedBackToFloat) {
  auto s = Flying(123.4f, -56.7f, 124, 4);
  HoldInEndlessTurn(*s);
  float x = s->plane_x, z = s->plane_z;
  const double a = (90.0 + 124.0) * 3.141 / 180;
  for (int frame = 0; frame < 1000; ++frame) {
    x = static_cast<float>(x + 4.0 * std::cos(a));
    z = static_cast<float>(z + 4.0 * std::sin(a));
    s->UpdateFlight();
    ASSERT_EQ(s->plane_x, x) << "frame " << frame;
    ASSERT_EQ(s->plane_z, z) << "frame " << frame;
  }
}

TEST_F(FlightMotion, WrapsToTheOppositeEdgeDroppingTheOvershoot) {
  struct Case {
    float x, z, heading, speed, want_x, want_z;
  };
  const Case cases[] = {
      {-3999.5f, 0, 90, 1, 4000, 0},    // reaches -4000.5 by moving
      {-4000.5f, 0, 90, 0, 4000, 0},    // is at -4000.5 after a move of 0
      {-4100, 0, 90, 0, 4000, 0},       // the overshoot is not carried over
      {4000, 0, 90, 0, 4000, 0},        // exactly on the edge: no wrap
      {-4000, 0, 90, 0, -4000, 0},
      {4000.5f, 0, 90, 0, -4000, 0},
      {0, 3999.5f, 0, 1, 0, -4000},     // heading 0 reaches 4000.5 along z
      {0, -4000.5f, 0, 0, 0, 4000},
      {0, 4000, 0, 0, 0, 4000},
      {0, -4000, 0, 0, 0, -4000},
      {-4000.5f, 4000.5f, 0, 0, 4000, -4000},
  };
  for (const Case& c : cases) {
    auto s = Flying(c.x, c.z, c.heading, c.speed);
    HoldInEndlessTurn(*s);
    s->UpdateFlight();
    if (c.speed == 0) {
      EXPECT_EQ(s->plane_x, c.want_x) << c.x << "," << c.z;
      EXPECT_EQ(s->plane_z, c.want_z) << c.x << "," << c.z;
    } else {
      // Only the wrapped coordinate is exact; the other moved a hair.
      if (c.heading == 90) {
        EXPECT_EQ(s->plane_x, c.want_x);
      } else {
        EXPECT_EQ(s->plane_z, c.want_z);
      }
    }
  }
}

TEST_F(FlightMotion, TurnStartsOnlyOnADrawOfZeroModHundred) {
  // Not a turn: exactly one number is drawn and nothing else changes.
  const unsigned calm = SeedWhere([](int a, int, int) { return a % 100 != 0; });
  const int calm_second = DrawAfter(calm, 1);
  Srand(calm);
  auto s = Flying(0, 0, 124, 0);
  s->UpdateFlight();
  EXPECT_EQ(s->turning, 0);
  EXPECT_EQ(s->heading, 124.0f);
  EXPECT_EQ(Rand(), calm_second);

  // A turn: two more draws give the change of heading, p - q, in this order.
  const unsigned turn = SeedWhere([](int a, int b, int c) { return a % 100 == 0 && b % 160 - c % 160 > 100; });
  const int delta = DrawAfter(turn, 1) % 160 - DrawAfter(turn, 2) % 160;
  const int fourth = DrawAfter(turn, 3);
  Srand(turn);
  auto t = Flying(0, 0, 124, 0);
  t->bank = 7;
  t->bank_frames = 9;
  t->UpdateFlight();
  EXPECT_EQ(t->turning, 1);
  EXPECT_EQ(t->heading, 124.0f) << "the heading does not change on the first frame";
  EXPECT_EQ(t->target_heading, 124.0f + delta);
  EXPECT_EQ(t->turn_step, delta / 400.0f);
  EXPECT_GT(t->turn_step, 0.25f) << "the step is a real division";
  EXPECT_EQ(t->bank, 0.0f);
  EXPECT_EQ(t->bank_frames, 0);
  EXPECT_EQ(Rand(), fourth);
}

TEST_F(FlightMotion, TurnEndsOnTheFirstFrameWithinOneDegree) {
  struct Case {
    int delta, frames;  // frames 0: only "ends within a degree" is checked
  };
  for (const Case c : {Case{159, 398}, Case{-159, 398}, Case{1, 1}, Case{-1, 1}, Case{37, 0}, Case{-90, 0}}) {
    auto s = Flying(0, 0, 124, 0);
    s->turning = 1;
    s->target_heading = 124.0f + c.delta;
    s->turn_step = c.delta / 400.0f;
    int frames = 0;
    float before = s->heading;
    while (s->turning == 1 && frames < 1000) {
      before = s->heading;
      s->UpdateFlight();
      ++frames;
    }
    EXPECT_LT(std::fabs(s->heading - s->target_heading), 1.0f) << c.delta;
    EXPECT_GE(std::fabs(before - s->target_heading), 1.0f) << c.delta << ": the turn ran a frame too long";
    if (c.frames) {
      EXPECT_EQ(frames, c.frames) << c.delta;
    }
  }
}

TEST_F(FlightMotion, ZeroDegreeTurnEndsNextFrameWithoutHeadingChangeOrRoll) {
  SeedWhere([](int a, int b, int c) { return a % 100 == 0 && b % 160 == c % 160; });
  auto s = Flying(0, 0, 124, 0);
  s->DrawFrame();  // the turn begins
  EXPECT_EQ(s->turning, 1);
  EXPECT_EQ(s->turn_step, 0.0f);
  for (double roll : RollsDrawn()) EXPECT_EQ(roll, 0.0);

  fakegl::Reset();
  s->DrawFrame();  // and ends at once
  EXPECT_EQ(s->turning, 0);
  EXPECT_EQ(s->heading, 124.0f);
  EXPECT_TRUE(RollsDrawn().empty()) << fakegl::Trace();
}

TEST_F(FlightMotion, BankGrowsFor200FramesThenShrinks) {
  auto s = Flying(0, 0, 124, 0);
  s->turning = 1;
  s->turn_step = 159 / 400.0f;
  for (int frame = 0; frame < 400; ++frame) s->DrawAircraft();

  const std::vector<double> rolls = RollsDrawn();
  ASSERT_EQ(rolls.size(), 400u);
  for (int k = 0; k < 400; ++k) {
    const float bank = k <= 200 ? 0.5f * k : 100 - 0.5f * (k - 200);
    ASSERT_EQ(rolls[k], s->turn_step * bank) << "frame " << k;
  }
  EXPECT_FLOAT_EQ(rolls[200], 39.75f) << "peak roll";
  EXPECT_EQ(s->bank_frames, 400);
  EXPECT_EQ(s->bank, 0.0f);

  // The aircraft stands at its position, turned to its heading, every frame.
  const GlCall move = fakegl::CallsNamed("glTranslatef").front();
  EXPECT_EQ(move.args, (std::vector<double>{0, 10, 0}));
  const GlCall yaw = fakegl::CallsNamed("glRotatef").front();
  EXPECT_EQ(yaw.args, (std::vector<double>{-124, 0, 1, 0}));
}

TEST_F(FlightMotion, StraightFlightShowsNoRoll) {
  auto s = Flying(0, 0, 124, 0);
  s->bank = 50;
  s->DrawAircraft();
  EXPECT_TRUE(RollsDrawn().empty());
  EXPECT_EQ(s->bank, 50.0f);
  EXPECT_EQ(s->bank_frames, 0);
}
