#include "headless_flight.h"

#include "rand.h"
#include "scene_setup.h"

HeadlessFlight::~HeadlessFlight() {
  if (scene_.quadric) gluDeleteQuadric(scene_.quadric);
}

FlightStart HeadlessFlight::Start(const SceneFiles& files, int width, int height, DrawPath path) {
  UseSceneFiles(files);
  // State 1 is the generator's unseeded state; earlier flights in this
  // process must not shift the start values.
  Srand(1);
  if (!model_.Load(files.model.c_str())) return FlightStart::kModelRefused;
  if (!gl_.Create(width, height)) return FlightStart::kNoContext;
  ResizeViewport(width, height);
  scene_.model = &model_;
  scene_.path = path;
  if (!InitScene(scene_)) return FlightStart::kNoPictures;
  return FlightStart::kReady;
}

void HeadlessFlight::Step() {
  scene_.DrawFrame();
  glFinish();
  scene_.AdvanceCameraSchedule();
}

void HeadlessFlight::Steps(int count) {
  for (int i = 0; i < count; ++i) Step();
}
