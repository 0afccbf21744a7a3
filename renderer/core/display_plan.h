// Where the renderer's windows go and how the flight is projected onto them.
// Classic: the display is switched, the flight fills the primary monitor, and
// every other monitor gets a black cover so that no screen keeps showing the
// desktop. Every monitor: no mode changes, one window spans the desktop.
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

enum class DisplayWay { kClassic, kEveryMonitor };

// The way the renderer's command line asks for: the every-monitor argument
// (blanks around it allowed, any case), else classic, as with none.
DisplayWay DisplayWayFromArguments(const char* command_line);

// Whether the way switches the display mode before the monitors are listed.
bool SwitchesDisplayMode(DisplayWay way);

// The camera's projection in the flight window's pixels: its axis meets the
// window at (center_x, center_y), and half_field pixels from there make half
// of the 45-degree vertical field. Pixels stay square, so the aircraft (always
// at the axis) keeps its shape whatever the window's width.
struct FlightProjection {
  double center_x = 0, center_y = 0;
  double half_field = 0;
  bool operator==(const FlightProjection& o) const {
    return center_x == o.center_x && center_y == o.center_y && half_field == o.half_field;
  }
};

struct DisplayPlan {
  ScreenRect flight;               // the renderer window
  std::vector<ScreenRect> covers;  // one black window each, in the order listed
  FlightProjection view;           // centred on the window in the classic way
};

// Plans the windows from the monitors as the system lists them (classic:
// after the mode switch, which moves the other monitors). Classic, with the
// switch made, the flight takes the width x height it asked for at the
// origin; refused, it takes the primary monitor as it is. A monitor that
// overlaps the flight (a mirror of the primary) gets no cover, since a topmost
// cover would hide the flight; nor does an empty one or a second listing of
// the same rectangle.
// Every monitor: the flight spans the bounding rectangle of all monitors, with
// no covers; the camera's axis goes through the primary monitor's centre
// (two equal monitors would otherwise split the aircraft at their bezels),
// with the primary's height taking the 45 degrees, as a lone monitor does.
// Where the span reaches farther than kWidestHalfAngle from the axis, the
// field narrows until it does not, since a flat projection stretches the
// scene ever more towards wide edges.
DisplayPlan PlanDisplays(DisplayWay way, const std::vector<MonitorArea>& monitors, int width, int height,
                         bool mode_switched);

constexpr double kWidestHalfAngle = 60;  // degrees from the axis to the farthest edge
