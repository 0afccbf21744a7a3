// The plan of the renderer's windows over tables of monitor layouts, as the
// system lists them after the mode switch or after a refused one.
#include <gtest/gtest.h>

#include <vector>

#include "display_plan.h"

namespace {

using Rects = std::vector<ScreenRect>;

constexpr ScreenRect kSwitched = {0, 0, 1024, 768};

struct LayoutCase {
  const char* name;
  std::vector<MonitorArea> monitors;
  Rects covers;
  bool switched = true;
  ScreenRect flight = kSwitched;
};

TEST(DisplayPlan, CoversEveryMonitorButThePrimary) {
  const LayoutCase cases[] = {
      {"one monitor", {{{0, 0, 1024, 768}, true}}, {}},
      {"second moved left by the switch", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}},
       {{1024, 0, 2048, 768}}},
      {"second kept where it was", {{{0, 0, 1024, 768}, true}, {{1280, 0, 2304, 768}, false}}, {{1280, 0, 2304, 768}}},
      {"primary listed last, others left and above",
       {{{-1920, 0, 0, 1080}, false}, {{0, -900, 1600, 0}, false}, {{0, 0, 1024, 768}, true}},
       {{-1920, 0, 0, 1080}, {0, -900, 1600, 0}}},
      {"mirror of the primary", {{{0, 0, 1024, 768}, true}, {{0, 0, 1024, 768}, false}}, {}},
      {"larger mirror reaching over the flight", {{{0, 0, 1024, 768}, true}, {{0, 0, 1280, 1024}, false}}, {}},
      {"touching the flight's edge", {{{0, 0, 1024, 768}, true}, {{0, 768, 1024, 1536}, false}},
       {{0, 768, 1024, 1536}}},
      {"mirror listed twice", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}, {{1024, 0, 2048, 768}, false}},
       {{1024, 0, 2048, 768}}},
      {"empty monitor", {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 768}, false}}, {}},
      {"no list", {}, {}},
      {"refused: flight on the primary as it is", {{{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}},
       {{1280, 0, 2304, 768}}, false, {0, 0, 1280, 1024}},
      {"refused: no primary flagged", {{{0, 0, 1280, 1024}, false}, {{1280, 0, 2304, 768}, false}},
       {{1280, 0, 2304, 768}}, false, {0, 0, 1280, 1024}},
      {"refused: no list", {}, {}, false},
  };
  for (const LayoutCase& c : cases) {
    const DisplayPlan plan = PlanDisplays(c.monitors, 1024, 768, c.switched);
    EXPECT_EQ(plan.flight, c.flight) << c.name;
    EXPECT_EQ(plan.covers, c.covers) << c.name;
  }
}

}  // namespace
