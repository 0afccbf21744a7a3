#include "headless_flight.h"

#include "frame_pass.h"

namespace {

// Off screen no frame waits for a clock.
long long StillClock() { return 0; }

}  // namespace

HeadlessFlight::HeadlessFlight() : schedule_(StillClock, 1, kFramesPerSecond) {}

HeadlessFlight::~HeadlessFlight() { flight_.Release(); }

FlightStart HeadlessFlight::Start(const SceneFiles& files, int width, int height, DrawPath path, FlightSeed seed) {
  host_ = std::make_unique<FrameHost>(files, gl_, width, height);
  flight_.scene.path = path;
  return StartFlight(*host_, flight_, seed);
}

bool HeadlessFlight::FrameHost::OpenView(OpenedView* view) {
  if (!gl_.Create(width_, height_)) return false;
  view->width = width_;
  view->height = height_;
  return true;
}

void HeadlessFlight::FrameHost::PresentFrame() { glFinish(); }

void HeadlessFlight::Step() { RunFramePass(*host_, flight_.scene, true, false, schedule_); }

void HeadlessFlight::Steps(int count) {
  for (int i = 0; i < count; ++i) Step();
}
