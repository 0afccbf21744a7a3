// The plan of the renderer's windows over tables of monitor layouts, as the
// system lists them after the mode switch or after a refused one, and the
// same layouts flown over whole, with no switch.
#include <gtest/gtest.h>

#include <vector>

#include "display_plan.h"

namespace {

using Rects = std::vector<ScreenRect>;

constexpr ScreenRect kSwitched = {0, 0, 1024, 768};
constexpr FlightProjection kCentred = {512, 384, 384};

struct LayoutCase {
  const char* name;
  std::vector<MonitorArea> monitors;
  Rects covers;
  bool switched = true;
  ScreenRect flight = kSwitched;
  // Every monitor: the window over all of them and its camera axis.
  ScreenRect span = kSwitched;
  FlightProjection span_view = kCentred;
};

TEST(DisplayPlan, CoversEveryMonitorButThePrimary) {
  const LayoutCase cases[] = {
      {"one monitor", {{{0, 0, 1024, 768}, true}}, {}},
      {"second moved left by the switch", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}},
       {{1024, 0, 2048, 768}}, true, kSwitched, {0, 0, 2048, 768}},
      // Reaching 1792 pixels to the right of the axis: the field narrows.
      {"second kept where it was", {{{0, 0, 1024, 768}, true}, {{1280, 0, 2304, 768}, false}},
       {{1280, 0, 2304, 768}}, true, kSwitched, {0, 0, 2304, 768}, {512, 384, 428.55}},
      {"primary listed last, others left and above",
       {{{-1920, 0, 0, 1080}, false}, {{0, -900, 1600, 0}, false}, {{0, 0, 1024, 768}, true}},
       {{-1920, 0, 0, 1080}, {0, -900, 1600, 0}}, true, kSwitched, {-1920, -900, 1600, 1080}, {2432, 1284, 581.60}},
      {"mirror of the primary", {{{0, 0, 1024, 768}, true}, {{0, 0, 1024, 768}, false}}, {}},
      {"larger mirror reaching over the flight", {{{0, 0, 1024, 768}, true}, {{0, 0, 1280, 1024}, false}}, {},
       true, kSwitched, {0, 0, 1280, 1024}},
      {"touching the flight's edge", {{{0, 0, 1024, 768}, true}, {{0, 768, 1024, 1536}, false}},
       {{0, 768, 1024, 1536}}, true, kSwitched, {0, 0, 1024, 1536}},
      {"mirror listed twice", {{{0, 0, 1024, 768}, true}, {{1024, 0, 2048, 768}, false}, {{1024, 0, 2048, 768}, false}},
       {{1024, 0, 2048, 768}}, true, kSwitched, {0, 0, 2048, 768}},
      {"empty monitor", {{{0, 0, 1024, 768}, true}, {{1024, 0, 1024, 768}, false}}, {}},
      {"no list", {}, {}},
      {"one wide monitor", {{{0, 0, 2560, 1080}, true}}, {}, true, kSwitched, {0, 0, 2560, 1080}, {1280, 540, 540}},
      {"two wide monitors", {{{0, 0, 2560, 1440}, true}, {{2560, 0, 5120, 1440}, false}}, {{2560, 0, 5120, 1440}},
       true, kSwitched, {0, 0, 5120, 1440}, {1280, 720, 918.32}},
      {"refused: flight on the primary as it is", {{{0, 0, 1280, 1024}, true}, {{1280, 0, 2304, 768}, false}},
       {{1280, 0, 2304, 768}}, false, {0, 0, 1280, 1024}, {0, 0, 2304, 1024}, {640, 512, 512}},
      {"refused: no primary flagged", {{{0, 0, 1280, 1024}, false}, {{1280, 0, 2304, 768}, false}},
       {{1280, 0, 2304, 768}}, false, {0, 0, 1280, 1024}, {0, 0, 2304, 1024}, {640, 512, 512}},
      {"refused: no list", {}, {}, false},
  };
  for (const LayoutCase& c : cases) {
    const DisplayPlan plan = PlanDisplays(DisplayWay::kClassic, c.monitors, 1024, 768, c.switched);
    EXPECT_EQ(plan.flight, c.flight) << c.name;
    EXPECT_EQ(plan.covers, c.covers) << c.name;
    const FlightProjection centred = {c.flight.width() / 2.0, c.flight.height() / 2.0, c.flight.height() / 2.0};
    EXPECT_EQ(plan.view, centred) << c.name;

    const DisplayPlan span = PlanDisplays(DisplayWay::kEveryMonitor, c.monitors, 1024, 768, false);
    EXPECT_EQ(span.flight, c.span) << c.name;
    EXPECT_EQ(span.covers, Rects{}) << c.name;
    EXPECT_EQ(span.view.center_x, c.span_view.center_x) << c.name;
    EXPECT_EQ(span.view.center_y, c.span_view.center_y) << c.name;
    EXPECT_NEAR(span.view.half_field, c.span_view.half_field, 0.01) << c.name;
  }
}

TEST(DisplayPlan, TheEveryMonitorArgumentAloneSpansTheMonitorsUnswitched) {
  const struct {
    const char* command_line;
    DisplayWay way;
  } cases[] = {
      {nullptr, DisplayWay::kClassic},          {"", DisplayWay::kClassic},
      {"/everymonitor", DisplayWay::kEveryMonitor}, {"  /EveryMonitor \t", DisplayWay::kEveryMonitor},
      {"/everymonitors", DisplayWay::kClassic}, {"/every monitor", DisplayWay::kClassic},
      {"/everymonito", DisplayWay::kClassic},   {"/s", DisplayWay::kClassic},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayWayFromArguments(c.command_line), c.way) << (c.command_line ? c.command_line : "null");
    EXPECT_EQ(SwitchesDisplayMode(c.way), c.way == DisplayWay::kClassic);
  }
}

}  // namespace
