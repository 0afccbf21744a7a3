// The plan of the renderer's windows over tables of monitor layouts, as the
// system lists them after the mode switch or after a refused one.
#include <gtest/gtest.h>

#include <vector>

#include "display_plan.h"

namespace {

using Rects = std::vector<ScreenRect>;

struct LayoutCase {
  const char* name;
  std::vector<MonitorArea> monitors;
  bool switched;
  ScreenRect flight;
  Rects covers;
};

constexpr ScreenRect kSwitched = {0, 0, 1024, 768};

TEST(DisplayPlan, CoversEveryMonitorButThePrimary) {
  const LayoutCase cases[] = {
      {"one monitor", {{{0, 0, 1024, 768}, true}}, true, kSwitched, {}},
      {"second moved left by the switch", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}}, true,
       kSwitched, {{1024, 0, 2048, 768}}},
      {"second kept where it was", {{{0, 0, 1024, 768}, true}, {{1280, 0, 2304, 768}, false}}, true, kSwitched,
       {{1280, 0, 2304, 768}}},
      {"primary listed last, others left and above",
       {{{-1920, 0, 0, 1080}, false}, {{0, -900, 1600, 0}, false}, {{0, 0, 1024, 768}, true}}, true, kSwitched,
       {{-1920, 0, 0, 1080}, {0, -900, 1600, 0}}},
      {"mirror of the primary", {{{0, 0, 1024, 768}, true}, {{0, 0, 1024, 768}, false}}, true, kSwitched, {}},
      {"larger mirror reaching over the flight", {{{0, 0, 1024, 768}, true}, {{0, 0, 1280, 1024}, false}}, true,
       kSwitched, {}},
      {"touching the flight's edge", {{{0, 0, 1024, 768}, true}, {{0, 768, 1024, 1536}, false}}, true, kSwitched,
       {{0, 768, 1024, 1536}}},
      {"mirror listed twice", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}, {{1024, 0, 2048, 768}, false}},
       true, kSwitched, {{1024, 0, 2048, 768}}},
      {"empty monitor", {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 768}, false}}, true, kSwitched, {}},
      {"no list", {}, true, kSwitched, {}},
      {"refused: flight on the primary as it is",
       {{{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}}, false, {0, 0, 1280, 1024},
       {{1280, 0, 2304, 768}}},
      {"refused: no primary flagged", {{{0, 0, 1280, 1024}, false}, {{1280, 0, 2304, 768}, false}}, false,
       {0, 0, 1280, 1024}, {{1280, 0, 2304, 768}}},
      {"refused: no list", {}, false, kSwitched, {}},
  };
  for (const LayoutCase& c : cases) {
    const DisplayPlan plan = PlanDisplays(c.monitors, 1024, 768, c.switched);
    EXPECT_EQ(plan.flight, c.flight) << c.name;
    EXPECT_EQ(plan.covers, c.covers) << c.name;
  }
}

}  // namespace
