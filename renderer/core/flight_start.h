// The one order in which every renderer starts a flight: the generator in its
// unseeded state, the model (no context yet), the platform's window or frame
// with the viewport and the scene, and only then the seed.
#pragma once

#include "flight_scene.h"
#include "mesh_model.h"

struct ScenePictures;

enum class FlightStart {
  kReady,
  kModelRefused,  // the renderer ends silently with exit code 0
  kNoContext,     // no window or OpenGL context: nothing is left to release
  kNoPictures,    // neither scene picture loaded: exit code 0 as well
};

// What the platform does once the model is loaded: make its window (or
// off-screen frame) with a current context, set the viewport and call
// InitScene. Anything it made is released again when it fails.
struct FlightView {
  FlightStart (*open)(void* platform, FlightScene& scene);
  void* platform;
};

// How the generator is seeded after the scene is initialised. Left unseeded,
// the whole flight follows from the generator's first state.
struct FlightSeed {
  enum Kind { kUnseeded, kClock, kFixed } kind;
  unsigned int value;  // for kFixed
};

// Runs the start-up; on kReady the scene is ready to draw and the model is
// the scene's. Starting again in the same process gives the same start values.
FlightStart StartFlight(FlightScene& scene, MeshModel& model, const char* model_path, const FlightView& view,
                        FlightSeed seed);

// The part of the platform's open that follows its context: viewport and
// scene, kNoPictures when InitScene fails.
FlightStart OpenSceneView(FlightScene& scene, int width, int height, ScenePictures* prepared = nullptr);
