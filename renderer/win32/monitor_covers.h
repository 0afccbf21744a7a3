// The black windows over the monitors the flight leaves out, and the list of
// monitors they are planned from.
#pragma once

#include <vector>

#include "display_plan.h"

// The monitors as the system lists them now, primary flagged.
std::vector<MonitorArea> ListMonitors();

// One black, borderless, topmost window per rectangle, shown without taking
// the focus and kept in the renderer's state. A cover that cannot be made is
// left out: the flight does not depend on it.
void CreateCoverWindows(const std::vector<ScreenRect>& rects);

// Destroys the covers and unregisters their class; safe to call again.
void DestroyCoverWindows();
