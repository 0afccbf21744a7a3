// Where the renderer's windows go once the display mode is set: the flight
// fills the primary monitor, and every other monitor gets a black cover so
// that no screen keeps showing the desktop.
#pragma once

#include <vector>

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const ScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct MonitorArea {
  ScreenRect rect;
  bool primary = false;
};

struct DisplayPlan {
  ScreenRect flight;               // the renderer window
  std::vector<ScreenRect> covers;  // one black window each, in the order listed
};

// Plans the windows from the monitors as the system lists them after the mode
// switch (the switch moves the other monitors). With the switch made, the
// flight takes the width x height it asked for at the origin; refused, it
// takes the primary monitor as it is. A monitor that overlaps the flight (a
// mirror of the primary) gets no cover, since a topmost cover would hide the
// flight; nor does an empty one or a second listing of the same rectangle.
DisplayPlan PlanDisplays(const std::vector<MonitorArea>& monitors, int width, int height, bool mode_switched);
