// The flight on screen, for the viewer and the screensaver hack alike: the
// renderer's start-up into an X11 window and its paced frame loop. The two
// programs differ only in the window they name and in the ground picture.
#pragma once

#include "flight_scene.h"
#include "flight_start.h"
#include "frame_schedule.h"
#include "rgb_image.h"
#include "scene_files.h"

class X11GlWindow;

struct WindowFlightOptions {
  // The window: an existing one (by id, 0 naming the root window) or one of
  // our own, width x height or covering the screen.
  bool adopt = false;
  unsigned long window_id = 0;
  int width = 1024;
  int height = 768;
  bool fullscreen = false;

  DrawPath path = DrawPath::kFast;
  FlightSeed seed = {FlightSeed::kClock, 0};
  bool paced = true;  // false draws as fast as the driver allows
  double frames_per_second = kFramesPerSecond;
  int frames = 0;      // 0 flies until Esc, a close request or SIGTERM/SIGINT
  bool report_rate = false;  // frame rate and processor time a frame: a line a second on stderr, and on screen

  // The ground picture for this window, mirrored as the saver's capture is;
  // null (or a null result) takes the scene files' ground picture.
  RgbImage* (*ground)(X11GlWindow& window, void* context) = nullptr;
  void* ground_context = nullptr;
};

// True once SIGTERM or SIGINT has asked the flight to end.
bool StopRequested();

// Flies until done; returns the exit code: 0, also for the renderer's silent
// ends (model or pictures refused), 1 when no window or context can be had
// (reported on stderr after `program`).
int FlyInWindow(const char* program, const SceneFiles& files, const WindowFlightOptions& options);
