#include "window_flight.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

#include "frame_pass.h"
#include "contract/working_files.h"

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

}  // namespace

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

namespace {

// The frame loop: events first, then, once the frame is due, one pass.
void RunLoop(WindowFlightHost& host, FlightScene& scene) {
  const WindowFlightOptions& options = host.options();
  X11GlWindow& window = host.window();
  FrameSchedule schedule(SteadyNanoseconds, 1000000000, options.frames_per_second);
  host.StartFrames();
  for (int frames = 0; options.frames == 0 || frames < options.frames;) {
    window.ProcessEvents();
    if (window.close_requested() || stop_requested) break;
    const long long until_due = options.paced ? schedule.TicksUntilDue() : 0;
    if (until_due > 0) {
      window.WaitForEvents(std::chrono::nanoseconds(until_due));  // events are handled while waiting
      continue;
    }
    if (!RunFramePass(host, scene, window.active(), window.escape_pressed(), schedule)) break;
    ++frames;
  }
}

}  // namespace

bool StopRequested() { return stop_requested != 0; }

WindowFlightHost::WindowFlightHost(const char* program, const SceneFiles& files, const WindowFlightOptions& options)
    : SceneFilesHost(files), program_(program), options_(options) {}

WindowFlightHost::~WindowFlightHost() = default;

bool WindowFlightHost::OpenView(OpenedView* view) {
  const bool opened = options_.adopt ? window_.Adopt(options_.window_id)
                                     : window_.Create(kRendererCaption, options_.width, options_.height,
                                                      options_.fullscreen);
  if (!opened) return false;
  view->width = window_.width();
  view->height = window_.height();
  return true;
}

void WindowFlightHost::PresentFrame() {
  if (report_) report_->FrameDrawn();
  window_.SwapBuffers();
}

void WindowFlightHost::StartFrames() {
  if (options_.report_rate) report_ = std::make_unique<RateReport>(program_, window_);
}

int FlyInWindow(WindowFlightHost& host) {
  CatchStopSignals();
  Flight flight;
  flight.scene.path = host.options().path;
  switch (StartFlight(host, flight, host.options().seed)) {
    case FlightStart::kReady:
      break;
    case FlightStart::kNoContext:
      std::fprintf(stderr, "%s: %s\n", host.program(), host.window().error().c_str());
      return 1;
    case FlightStart::kModelRefused:
    case FlightStart::kNoPictures:
      flight.Release();
      return 0;  // the renderer's silent end
  }
  if (host.options().paced) host.window().RequestVsync();
  RunLoop(host, flight.scene);
  flight.Release();
  return 0;
}
