// One flight rendered off screen, started and stepped the way the renderer
// starts and runs (StartFlight, RunFramePass), with an off-screen frame for a
// window.
#pragma once

#include <memory>
#include <string>

#include "flight_scene.h"
#include "flight_start.h"
#include "frame_pixels.h"
#include "frame_schedule.h"
#include "offscreen_gl.h"
#include "scene_files.h"

class HeadlessFlight {
 public:
  HeadlessFlight();
  HeadlessFlight(const HeadlessFlight&) = delete;
  HeadlessFlight& operator=(const HeadlessFlight&) = delete;
  // Releases the flight while its context is still current.
  ~HeadlessFlight();

  // Loads the files' model, makes a width x height context and initialises
  // the scene with the generator in its unseeded state, as in a freshly
  // started renderer; then seeds it as asked. Once only. kNoContext is a
  // fault of this machine: see error().
  FlightStart Start(const SceneFiles& files, int width, int height, DrawPath path,
                    FlightSeed seed = {FlightSeed::kUnseeded, 0});

  // One pass of the renderer's loop, with glFinish as the swap.
  void Step();
  void Steps(int count);

  FramePixels ReadFrame() const { return gl_.ReadFrame(); }
  std::string Describe() const { return gl_.Describe(); }
  const std::string& error() const { return gl_.error(); }
  FlightScene& scene() { return flight_.scene; }

 private:
  // The scene files, the off-screen frame for a window, glFinish for a swap.
  class FrameHost : public SceneFilesHost {
   public:
    FrameHost(const SceneFiles& files, OffscreenGl& gl, int width, int height)
        : SceneFilesHost(files), gl_(gl), width_(width), height_(height) {}
    bool OpenView(OpenedView* view) override;
    void PresentFrame() override;

   private:
    OffscreenGl& gl_;
    int width_;
    int height_;
  };

  OffscreenGl gl_;
  std::unique_ptr<FrameHost> host_;
  Flight flight_;
  FrameSchedule schedule_;  // unpaced: kept only because the pass advances it
};
