// The one order in which every renderer starts a flight: the generator in its
// unseeded state, the model (no context yet), the host's window or frame with
// the viewport and the scene, and only then the seed. Every file, picture and
// message comes from the host (flight_host.h): the model from ModelPath and
// OpenForReading, the sky and the ground from ReadScenePicture, the model's
// material pictures from ReadMaterialPicture, the loader's messages from
// how the host reads them.
#pragma once

#include "flight_host.h"
#include "flight_scene.h"
#include "mesh_model.h"

enum class FlightStart {
  kReady,
  kModelRefused,  // the renderer ends silently with exit code 0
  kNoContext,     // no window or OpenGL context: nothing is left to release
  kNoPictures,    // neither scene picture loaded (or no quadric): exit code 0 as well
};

// How the generator is seeded after the scene is initialised. Left unseeded,
// the whole flight follows from the generator's first state.
struct FlightSeed {
  enum Kind { kUnseeded, kClock, kFixed } kind;
  unsigned int value;  // for kFixed
};

// What one flight owns: the scene and its model, and through the scene the
// textures and the sky's quadric.
struct Flight {
  FlightScene scene;
  Ms3dModel model;

  // The one release path: deletes the textures and the quadric. The context
  // they were made on must still be current; safe to call twice.
  void Release();
};

// The part of the start-up that follows the model: the host's view, the
// viewport on it and the scene (kNoContext, kNoPictures or kReady).
FlightStart OpenSceneView(FlightHost& host, FlightScene& scene);

// Runs the start-up; on kReady the scene is ready to draw and the model is
// the scene's. Starting again in the same process gives the same start values.
// The scene's draw path is the caller's to set beforehand.
FlightStart StartFlight(FlightHost& host, Flight& flight, FlightSeed seed);
