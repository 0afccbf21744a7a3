#include "renderer_run.h"

#include <new>

#include "file_bytes.h"
#include "flight_start.h"
#include "frame_pacer.h"
#include "gdi_bitmap_reader.h"
#include "renderer_state.h"
#include "renderer_window.h"
#include "system_libraries.h"
#include "textures.h"
#include "thread_tasks.h"
#include "trusted_file.h"

namespace {

struct RunOptions {
  FrameLoopOptions loop;
  DisplayWay way;
};

// The full-screen window, its context, the viewport and the scene.
FlightStart OpenRendererWindow(void* run_options, FlightScene&) {
  const RunOptions& run = *static_cast<RunOptions*>(run_options);
  if (!CreateRendererWindow(kRendererCaption, kScreenWidth, kScreenHeight, kScreenBits, /*prefetch_pictures=*/true,
                            run.way))
    return FlightStart::kNoContext;
  if (run.loop.paced) RequestVsync();
  return FlightStart::kReady;
}

}  // namespace

int RunRenderer(const FrameLoopOptions& options, DisplayWay way) {
  if (!LoadGraphicsLibraries()) return 0;
  SetFileOpener(OpenTrustedStream);
  SetBitmapFileReader(ReadBitmapImage);
  SetBitmapReporter(ShowBitmapMessage);
  UseSpareProcessors();

  renderer.model = new (std::nothrow) Ms3dModel;
  if (!renderer.model) return 0;
  RunOptions run = {options, way};
  const FlightView view = {OpenRendererWindow, &run};
  if (StartFlight(renderer.scene, *renderer.model, kRendererModelPath, view, {FlightSeed::kClock, 0}) !=
      FlightStart::kReady)
    return 0;

  const int exit_code = RunFrameLoop(run.loop);
  DestroyRendererWindow();
  return exit_code;
}
