#include "display_plan.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include "contract/renderer_arguments.h"

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180;
constexpr double kHalfFieldDegrees = 22.5;  // half the 45-degree vertical field

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Empty(const ScreenRect& r) { return r.width() <= 0 || r.height() <= 0; }

// The primary monitor, else the first listed; with no list at all, the size asked for.
ScreenRect CurrentPrimary(const std::vector<MonitorArea>& monitors, int width, int height) {
  for (const MonitorArea& monitor : monitors)
    if (monitor.primary && !Empty(monitor.rect)) return monitor.rect;
  for (const MonitorArea& monitor : monitors)
    if (!Empty(monitor.rect)) return monitor.rect;
  return {0, 0, width, height};
}

// The smallest rectangle holding every monitor; the primary's with none.
ScreenRect BoundingRect(const std::vector<MonitorArea>& monitors, const ScreenRect& primary) {
  ScreenRect all = primary;
  for (const MonitorArea& monitor : monitors) {
    if (Empty(monitor.rect)) continue;
    all.left = std::min(all.left, monitor.rect.left);
    all.top = std::min(all.top, monitor.rect.top);
    all.right = std::max(all.right, monitor.rect.right);
    all.bottom = std::max(all.bottom, monitor.rect.bottom);
  }
  return all;
}

FlightProjection CentredProjection(const ScreenRect& window) {
  return {window.width() / 2.0, window.height() / 2.0, window.height() / 2.0};
}

// Axis through the primary's centre; the farthest window edge no more than
// kWidestHalfAngle away.
FlightProjection SpanProjection(const ScreenRect& window, const ScreenRect& primary) {
  FlightProjection view;
  view.center_x = (primary.left + primary.right) / 2.0 - window.left;
  view.center_y = (primary.top + primary.bottom) / 2.0 - window.top;
  const double farthest = std::max({view.center_x, window.width() - view.center_x, view.center_y,
                                    window.height() - view.center_y});
  const double narrowest = farthest * std::tan(kHalfFieldDegrees * kDegrees) / std::tan(kWidestHalfAngle * kDegrees);
  view.half_field = std::max(primary.height() / 2.0, narrowest);
  return view;
}

}  // namespace

DisplayWay DisplayWayFromArguments(const char* command_line) {
  std::string text = command_line ? command_line : "";
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  text.erase(0, std::find_if_not(text.begin(), text.end(), blank) - text.begin());
  if (text.size() != std::strlen(kEveryMonitorArgument)) return DisplayWay::kClassic;
  for (size_t i = 0; i < text.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != kEveryMonitorArgument[i]) return DisplayWay::kClassic;
  return DisplayWay::kEveryMonitor;
}

bool SwitchesDisplayMode(DisplayWay way) { return way == DisplayWay::kClassic; }

DisplayPlan PlanDisplays(DisplayWay way, const std::vector<MonitorArea>& monitors, int width, int height,
                         bool mode_switched) {
  DisplayPlan plan;
  if (way == DisplayWay::kEveryMonitor) {
    const ScreenRect primary = CurrentPrimary(monitors, width, height);
    plan.flight = BoundingRect(monitors, primary);
    plan.view = SpanProjection(plan.flight, primary);
    return plan;
  }
  plan.flight = mode_switched ? ScreenRect{0, 0, width, height} : CurrentPrimary(monitors, width, height);
  plan.view = CentredProjection(plan.flight);
  for (const MonitorArea& monitor : monitors) {
    const ScreenRect& rect = monitor.rect;
    if (monitor.primary || Empty(rect) || Overlap(plan.flight, rect)) continue;
    if (std::find(plan.covers.begin(), plan.covers.end(), rect) != plan.covers.end()) continue;
    plan.covers.push_back(rect);
  }
  return plan;
}
