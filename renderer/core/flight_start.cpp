#include "flight_start.h"

#include <ctime>

#include "rand.h"
#include "scene_setup.h"

void Flight::Release() {
  model.DeleteGlObjects();
  for (GLuint* texture : {&scene.sky_texture, &scene.ground_texture}) {
    if (*texture != 0) glDeleteTextures(1, texture);
    *texture = 0;
  }
  if (scene.quadric) gluDeleteQuadric(scene.quadric);
  scene.quadric = nullptr;
}

FlightStart OpenSceneView(FlightHost& host, FlightScene& scene) {
  OpenedView view;
  if (!host.OpenView(&view)) return FlightStart::kNoContext;
  // Later size changes reach ResizeViewport through the host's window.
  if (view.off_axis)
    ResizeViewport(view.width, view.height, *view.off_axis);
  else
    ResizeViewport(view.width, view.height);
  return InitScene(scene, host, view.prepared) ? FlightStart::kReady : FlightStart::kNoPictures;
}

FlightStart StartFlight(FlightHost& host, Flight& flight, FlightSeed seed) {
  // The state a fresh process starts in: the flight's start values come from it.
  Srand(1);
  if (!flight.model.Load(host)) return FlightStart::kModelRefused;
  host.MarkPhase("model read");
  flight.scene.model = &flight.model;
  const FlightStart opened = OpenSceneView(host, flight.scene);
  if (opened != FlightStart::kReady) return opened;
  if (seed.kind == FlightSeed::kClock) Srand(static_cast<unsigned int>(std::clock()));
  if (seed.kind == FlightSeed::kFixed) Srand(seed.value);
  return FlightStart::kReady;
}
