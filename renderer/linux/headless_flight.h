// One flight rendered off screen, started and stepped the way the renderer
// starts and runs (StartFlight, RunFramePass), with an off-screen frame for a
// window.
#pragma once

#include <string>

#include "flight_scene.h"
#include "flight_start.h"
#include "frame_pixels.h"
#include "frame_schedule.h"
#include "mesh_model.h"
#include "offscreen_gl.h"
#include "scene_files.h"

class HeadlessFlight {
 public:
  HeadlessFlight();
  HeadlessFlight(const HeadlessFlight&) = delete;
  HeadlessFlight& operator=(const HeadlessFlight&) = delete;
  ~HeadlessFlight();

  // Installs the files' locator, loads the model, makes a width x height
  // context and initialises the scene with the generator in its unseeded
  // state, as in a freshly started renderer; then seeds it as asked.
  // kNoContext is a fault of this machine: see error().
  FlightStart Start(const SceneFiles& files, int width, int height, DrawPath path,
                    FlightSeed seed = {FlightSeed::kUnseeded, 0});

  // One pass of the renderer's loop, with glFinish as the swap.
  void Step();
  void Steps(int count);

  FramePixels ReadFrame() const { return gl_.ReadFrame(); }
  std::string Describe() const { return gl_.Describe(); }
  const std::string& error() const { return gl_.error(); }
  FlightScene& scene() { return scene_; }

 private:
  static FlightStart OpenFrame(void* flight, FlightScene& scene);

  Ms3dModel model_;
  OffscreenGl gl_;
  FlightScene scene_;
  int width_ = 0;
  int height_ = 0;
  FrameSchedule schedule_;  // unpaced: kept only because the pass advances it
};
