// The flight on screen, for the viewer and the screensaver hack alike: the
// renderer's start-up into an X11 window and its paced frame loop. The two
// programs differ only in the window they name and in the ground picture.
#pragma once

#include <memory>

#include "flight_scene.h"
#include "flight_start.h"
#include "frame_schedule.h"
#include "scene_files.h"
#include "x11_window.h"

class RateReport;

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
};

// The host of a flight on screen: the scene files, the window the options
// name, and the rate report shown before each swap. A program with a ground
// picture of its own for the window (the hack) overrides ReadScenePicture,
// which is asked once the window is open.
class WindowFlightHost : public SceneFilesHost {
 public:
  WindowFlightHost(const char* program, const SceneFiles& files, const WindowFlightOptions& options);
  ~WindowFlightHost() override;

  bool OpenView(OpenedView* view) override;
  void PresentFrame() override;
  // Called as the frame loop starts: the rate report measures from here.
  void StartFrames();

  const char* program() const { return program_; }
  const WindowFlightOptions& options() const { return options_; }
  X11GlWindow& window() { return window_; }

 private:
  const char* program_;
  const WindowFlightOptions options_;
  X11GlWindow window_;
  std::unique_ptr<RateReport> report_;  // only when options.report_rate
};

// True once SIGTERM or SIGINT has asked the flight to end.
bool StopRequested();

// Flies until done; returns the exit code: 0, also for the renderer's silent
// ends (model or pictures refused), 1 when no window or context can be had
// (reported on stderr after the host's program).
int FlyInWindow(WindowFlightHost& host);
