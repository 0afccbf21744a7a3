// One flight rendered off screen, started the way the renderer starts:
// model first (no context yet), then the context, the viewport and the scene.
#pragma once

#include <string>

#include "flight_scene.h"
#include "frame_pixels.h"
#include "mesh_model.h"
#include "offscreen_gl.h"
#include "scene_files.h"

enum class FlightStart {
  kReady,
  kModelRefused,  // the renderer ends silently with exit code 0
  kNoContext,     // no off-screen OpenGL: a fault of this machine, see error()
  kNoPictures,    // neither scene picture loaded: exit code 0 as well
};

class HeadlessFlight {
 public:
  HeadlessFlight() = default;
  HeadlessFlight(const HeadlessFlight&) = delete;
  HeadlessFlight& operator=(const HeadlessFlight&) = delete;
  ~HeadlessFlight();

  // Installs the files' locator, loads the model, makes a width x height
  // context and initialises the scene with the generator in its unseeded
  // state, as in a freshly started renderer.
  FlightStart Start(const SceneFiles& files, int width, int height, DrawPath path);

  // One pass of the renderer's loop: draw, finish (the off-screen swap),
  // advance the camera schedule.
  void Step();
  void Steps(int count);

  FramePixels ReadFrame() const { return gl_.ReadFrame(); }
  std::string Describe() const { return gl_.Describe(); }
  const std::string& error() const { return gl_.error(); }
  FlightScene& scene() { return scene_; }

 private:
  Ms3dModel model_;
  OffscreenGl gl_;
  FlightScene scene_;
};
