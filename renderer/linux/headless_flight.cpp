#include "headless_flight.h"

#include "frame_pass.h"

namespace {

// Off screen no frame waits for a clock.
long long StillClock() { return 0; }

void FinishFrame(void*) { glFinish(); }

}  // namespace

HeadlessFlight::HeadlessFlight() : schedule_(StillClock, 1, kFramesPerSecond) {}

HeadlessFlight::~HeadlessFlight() {
  if (scene_.quadric) gluDeleteQuadric(scene_.quadric);
}

FlightStart HeadlessFlight::Start(const SceneFiles& files, int width, int height, DrawPath path, FlightSeed seed) {
  UseSceneFiles(files);
  width_ = width;
  height_ = height;
  scene_.path = path;
  return StartFlight(scene_, model_, files.model.c_str(), {OpenFrame, this}, seed);
}

FlightStart HeadlessFlight::OpenFrame(void* flight, FlightScene& scene) {
  HeadlessFlight& self = *static_cast<HeadlessFlight*>(flight);
  if (!self.gl_.Create(self.width_, self.height_)) return FlightStart::kNoContext;
  return OpenSceneView(scene, self.width_, self.height_);
}

void HeadlessFlight::Step() { RunFramePass(scene_, true, false, schedule_, {FinishFrame, nullptr}); }

void HeadlessFlight::Steps(int count) {
  for (int i = 0; i < count; ++i) Step();
}
