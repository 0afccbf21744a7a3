// The pacing rule and the loop's frame pass the Windows renderer and the
// Linux viewer share, on a hand-driven clock and the recording GL.
#include <gtest/gtest.h>

#include <memory>

#include "fake_gl.h"
#include "fake_host.h"
#include "flight_scene.h"
#include "frame_pass.h"
#include "frame_schedule.h"
#include "rand.h"

namespace {

constexpr long long kTicksPerSecond = 600;  // 10 ticks a frame at 60 frames a second
long long now = 0;
long long Now() { return now; }

TEST(FrameSchedule, FramesFollowOnePeriodApartFromTheirDueTimes) {
  now = 1000;
  FrameSchedule schedule(Now, kTicksPerSecond, kFramesPerSecond);
  EXPECT_EQ(schedule.TicksUntilDue(), 0);  // the first frame at once
  struct Step {
    long long shown_at;
    long long due_in_after;  // ticks until the next frame, seen at shown_at
  };
  const Step steps[] = {
      {1000, 10},  // on time
      {1013, 7},   // 3 ticks late: the next keeps its place on the grid
      {1020, 10},
      {1095, 0},   // six periods late: the next is due at once...
      {1095, 10},  // ...and the one after a whole period later, with no burst
  };
  for (const Step& step : steps) {
    now = step.shown_at;
    schedule.FrameShown();
    EXPECT_EQ(schedule.TicksUntilDue(), step.due_in_after) << "shown at " << step.shown_at;
  }
}

TEST(FrameSchedule, ThePeriodComesFromTheRateAndTheClock) {
  now = 0;
  FrameSchedule schedule(Now, 1000000000, 60.0);
  schedule.FrameShown();
  EXPECT_EQ(schedule.TicksUntilDue(), 16666666);
  EXPECT_EQ(schedule.ticks_per_second(), 1000000000);
}

// A scene as InitScene leaves it, without textures or a model.
struct PassFixture {
  std::unique_ptr<FlightScene> scene = std::make_unique<FlightScene>();
  FrameSchedule schedule{Now, kTicksPerSecond, kFramesPerSecond};
  FakeHost host;

  PassFixture() {
    Srand(1);
    scene->InitGroundGrid();
    scene->InitFlight();
    scene->quadric = gluNewQuadric();
    fakegl::Reset();
    now = 0;
  }
};

struct PassCase {
  const char* name;
  bool active;
  bool escape;
  bool goes_on;
  bool drawn;
  int swaps;
};

TEST(FramePass, DrawsUnlessMinimisedAndShowsUnlessEsc) {
  const PassCase cases[] = {
      {"active", true, false, true, true, 1},
      {"minimised", false, false, true, false, 1},
      {"Esc", true, true, false, true, 0},
      {"Esc while minimised", false, true, false, false, 0},
  };
  for (const PassCase& c : cases) {
    PassFixture f;
    const float x = f.scene->plane_x, counter = f.scene->schedule_counter;
    EXPECT_EQ(RunFramePass(f.host, *f.scene, c.active, c.escape, f.schedule), c.goes_on) << c.name;
    EXPECT_EQ(fakegl::Count("glClear") == 1, c.drawn) << c.name;
    EXPECT_EQ(f.scene->plane_x != x, c.drawn) << c.name << ": the flight moves only when a frame is drawn";
    EXPECT_EQ(f.host.presented, c.swaps) << c.name;
    // A shown frame advances the camera schedule and the pacer.
    EXPECT_EQ(f.scene->schedule_counter, counter + (c.goes_on ? 1 : 0)) << c.name;
    EXPECT_EQ(f.schedule.TicksUntilDue(), c.goes_on ? 10 : 0) << c.name;
  }
}

}  // namespace
