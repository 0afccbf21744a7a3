#include "display_plan.h"

#include <algorithm>

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The flight's rectangle when the mode stays as it is: the primary monitor,
// else the first listed; with no list at all, the size asked for.
ScreenRect CurrentPrimary(const std::vector<MonitorArea>& monitors, int width, int height) {
  for (const MonitorArea& monitor : monitors)
    if (monitor.primary && monitor.rect.width() > 0 && monitor.rect.height() > 0) return monitor.rect;
  for (const MonitorArea& monitor : monitors)
    if (monitor.rect.width() > 0 && monitor.rect.height() > 0) return monitor.rect;
  return {0, 0, width, height};
}

}  // namespace

DisplayPlan PlanDisplays(const std::vector<MonitorArea>& monitors, int width, int height, bool mode_switched) {
  DisplayPlan plan;
  plan.flight = mode_switched ? ScreenRect{0, 0, width, height} : CurrentPrimary(monitors, width, height);
  for (const MonitorArea& monitor : monitors) {
    const ScreenRect& rect = monitor.rect;
    if (monitor.primary || rect.width() <= 0 || rect.height() <= 0 || Overlap(plan.flight, rect)) continue;
    if (std::find(plan.covers.begin(), plan.covers.end(), rect) != plan.covers.end()) continue;
    plan.covers.push_back(rect);
  }
  return plan;
}
