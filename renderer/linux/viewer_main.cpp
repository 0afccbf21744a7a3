// skyliner-viewer: the flight renderer on Linux, in a window or off screen.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "contract/working_files.h"
#include "flight_scene.h"
#include "frame_pass.h"
#include "headless_flight.h"
#include "mesh_model.h"
#include "png_io.h"
#include "rand.h"
#include "scene_setup.h"
#include "viewer_options.h"
#include "x11_window.h"

// Nanoseconds on the steady clock, the viewer's pacing clock.
static long long SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

static void SwapWindowBuffers(void* window) { static_cast<X11GlWindow*>(window)->SwapBuffers(); }

// Renders the frames off screen and writes the last one.
static int RunOffscreen(const ViewerOptions& options) {
  HeadlessFlight flight;
  switch (flight.Start(options.files, options.width, options.height, options.path)) {
    case FlightStart::kReady:
      break;
    case FlightStart::kNoContext:
      std::fprintf(stderr, "skyliner-viewer: %s\n", flight.error().c_str());
      return 1;
    case FlightStart::kModelRefused:
    case FlightStart::kNoPictures:
      return 0;  // the renderer's silent end
  }
  if (options.seed_given) Srand(options.seed);
  flight.Steps(options.frames);
  std::string error;
  if (!WritePng(options.snapshot, flight.ReadFrame(), &error)) {
    std::fprintf(stderr, "skyliner-viewer: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

// The renderer's start-up and frame loop in an X11 window.
static int RunOnScreen(const ViewerOptions& options) {
  UseSceneFiles(options.files);
  Ms3dModel model;
  if (!model.Load(options.files.model.c_str())) return 0;  // no window, silently

  X11GlWindow window;
  if (!window.Create(kRendererCaption, options.width, options.height, options.fullscreen)) {
    std::fprintf(stderr, "skyliner-viewer: %s\n", window.error().c_str());
    return 1;
  }
  // Later size changes reach ResizeViewport through the window's events.
  ResizeViewport(window.width(), window.height());
  FlightScene scene;
  scene.model = &model;
  scene.path = options.path;
  if (!InitScene(scene)) return 0;
  if (options.paced) window.RequestVsync();
  Srand(options.seed_given ? options.seed : static_cast<unsigned int>(std::clock()));

  FrameSchedule schedule(SteadyNanoseconds, 1000000000, kFramesPerSecond);
  const FramePassTarget target = {SwapWindowBuffers, &window};
  for (int frames = 0; options.frames == 0 || frames < options.frames;) {
    window.ProcessEvents();
    if (window.close_requested()) break;
    const long long until_due = options.paced ? schedule.TicksUntilDue() : 0;
    if (until_due > 0) {
      window.WaitForEvents(std::chrono::nanoseconds(until_due));  // events are handled while waiting
      continue;
    }
    if (!RunFramePass(scene, window.active(), window.escape_pressed(), schedule, target)) break;
    ++frames;
  }
  if (scene.quadric) gluDeleteQuadric(scene.quadric);
  return 0;
}

int main(int argc, char** argv) {
  ViewerOptions options;
  options.files = DefaultSceneFiles();
  std::string error;
  if (!ParseViewerOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "skyliner-viewer: %s\n%s", error.c_str(), kViewerUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kViewerUsage, stdout);
    return 0;
  }
  if (options.files.model.empty()) {
    std::fprintf(stderr, "skyliner-viewer: the bundled assets were not found; name them with --model, --sky and --ground\n");
    return 2;
  }
  return options.snapshot.empty() ? RunOnScreen(options) : RunOffscreen(options);
}
