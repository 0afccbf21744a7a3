#include "window_flight.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

#include "frame_pass.h"
#include "contract/working_files.h"
#include "textures.h"
#include "x11_window.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void RequestStop(int) { stop_requested = 1; }

// SIGTERM (how a screensaver daemon ends its hack) and SIGINT end the loop at
// its next pass; the waits in between are cut short, as neither restarts.
void CatchStopSignals() {
  struct sigaction action = {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// Nanoseconds on the steady clock, the loop's pacing clock.
long long SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double ProcessCpuSeconds() {
  timespec now = {};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Flight {
  const WindowFlightOptions& options;
  X11GlWindow window;
};

// The platform's part of the start-up: the window, its context and the ground.
FlightStart OpenFlightWindow(void* flight_pointer, FlightScene& scene) {
  Flight& flight = *static_cast<Flight*>(flight_pointer);
  const WindowFlightOptions& options = flight.options;
  X11GlWindow& window = flight.window;
  const bool opened = options.adopt ? window.Adopt(options.window_id)
                                    : window.Create(kRendererCaption, options.width, options.height,
                                                    options.fullscreen);
  if (!opened) return FlightStart::kNoContext;
  scene.path = options.path;
  ScenePictures pictures;
  if (options.ground) pictures.ground.image.reset(options.ground(window, options.ground_context));
  // Later size changes reach ResizeViewport through the window's events.
  return OpenSceneView(scene, window.width(), window.height(), &pictures);
}

// Frames a second and processor time a frame, measured over about a second:
// a line on stderr and, until the next one, in the window's corner.
class RateReport {
 public:
  RateReport(const char* program, X11GlWindow& window) : program_(program), window_(window) { Restart(); }

  // Called as each frame is finished, before its swap.
  void FrameDrawn() {
    ++frames_;
    const double seconds = (SteadyNanoseconds() - wall_start_) / 1e9;
    if (seconds >= 1.0) {
      const double cpu = ProcessCpuSeconds() - cpu_start_;
      char line[96];
      std::snprintf(line, sizeof line, "%.1f frames a second, %.2f ms processor time a frame", frames_ / seconds,
                    1000.0 * cpu / frames_);
      std::fprintf(stderr, "%s: %s\n", program_, line);
      text_ = line;
      Restart();
    }
    window_.DrawCornerText(text_);
  }

 private:
  void Restart() {
    frames_ = 0;
    wall_start_ = SteadyNanoseconds();
    cpu_start_ = ProcessCpuSeconds();
  }

  const char* program_;
  X11GlWindow& window_;
  std::string text_;
  int frames_ = 0;
  long long wall_start_ = 0;
  double cpu_start_ = 0;
};

// What the pass's swap reaches: the window, and the report when one is shown.
struct SwapTarget {
  X11GlWindow& window;
  RateReport* report;
};

void ReportAndSwap(void* target_pointer) {
  SwapTarget& target = *static_cast<SwapTarget*>(target_pointer);
  if (target.report) target.report->FrameDrawn();
  target.window.SwapBuffers();
}

// The frame loop: events first, then, once the frame is due, one pass.
void RunLoop(const char* program, X11GlWindow& window, FlightScene& scene, const WindowFlightOptions& options) {
  FrameSchedule schedule(SteadyNanoseconds, 1000000000, options.frames_per_second);
  RateReport report(program, window);
  SwapTarget swap = {window, options.report_rate ? &report : nullptr};
  const FramePassTarget target = {ReportAndSwap, &swap};
  for (int frames = 0; options.frames == 0 || frames < options.frames;) {
    window.ProcessEvents();
    if (window.close_requested() || stop_requested) break;
    const long long until_due = options.paced ? schedule.TicksUntilDue() : 0;
    if (until_due > 0) {
      window.WaitForEvents(std::chrono::nanoseconds(until_due));  // events are handled while waiting
      continue;
    }
    if (!RunFramePass(scene, window.active(), window.escape_pressed(), schedule, target)) break;
    ++frames;
  }
}

}  // namespace

bool StopRequested() { return stop_requested != 0; }

int FlyInWindow(const char* program, const SceneFiles& files, const WindowFlightOptions& options) {
  CatchStopSignals();
  UseSceneFiles(files);
  Flight flight = {options, {}};
  Ms3dModel model;
  FlightScene scene;
  switch (StartFlight(scene, model, files.model.c_str(), {OpenFlightWindow, &flight}, options.seed)) {
    case FlightStart::kReady:
      break;
    case FlightStart::kNoContext:
      std::fprintf(stderr, "%s: %s\n", program, flight.window.error().c_str());
      return 1;
    case FlightStart::kModelRefused:
    case FlightStart::kNoPictures:
      return 0;  // the renderer's silent end
  }
  if (options.paced) flight.window.RequestVsync();
  RunLoop(program, flight.window, scene, options);
  if (scene.quadric) gluDeleteQuadric(scene.quadric);
  return 0;
}
