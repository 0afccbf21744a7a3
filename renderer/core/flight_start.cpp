#include "flight_start.h"

#include <ctime>

#include "rand.h"
#include "scene_setup.h"
#include "startup_marks.h"
#include "textures.h"

FlightStart StartFlight(FlightScene& scene, MeshModel& model, const char* model_path, const FlightView& view,
                        FlightSeed seed) {
  // The state a fresh process starts in: the flight's start values come from it.
  Srand(1);
  if (!model.Load(model_path)) return FlightStart::kModelRefused;
  MarkStartupPhase("model read");
  scene.model = &model;
  const FlightStart opened = view.open(view.platform, scene);
  if (opened != FlightStart::kReady) return opened;
  if (seed.kind == FlightSeed::kClock) Srand(static_cast<unsigned int>(std::clock()));
  if (seed.kind == FlightSeed::kFixed) Srand(seed.value);
  return FlightStart::kReady;
}

FlightStart OpenSceneView(FlightScene& scene, int width, int height, ScenePictures* prepared) {
  ResizeViewport(width, height);
  return InitScene(scene, prepared) ? FlightStart::kReady : FlightStart::kNoPictures;
}
