#include "renderer_run.h"

#include <ctime>
#include <new>

#include "frame_pacer.h"
#include "gdi_bitmap_reader.h"
#include "rand.h"
#include "renderer_state.h"
#include "renderer_window.h"
#include "startup_marks.h"
#include "textures.h"
#include "thread_tasks.h"

int RunRenderer(const FrameLoopOptions& options) {
  SetBitmapFileReader(ReadBitmapImage);
  SetBitmapReporter(ShowBitmapMessage);
  UseSpareProcessors();

  renderer.model = new (std::nothrow) Ms3dModel;
  if (!renderer.model || !renderer.model->Load(kRendererModelPath)) return 0;
  MarkStartupPhase("model read");
  renderer.scene.model = renderer.model;

  if (!CreateRendererWindow(kRendererCaption, kScreenWidth, kScreenHeight, kScreenBits, /*prefetch_pictures=*/true))
    return 0;
  if (options.paced) RequestVsync();
  // Seeded only now: the flight's start values come from the unseeded generator.
  Srand(static_cast<unsigned int>(clock()));

  const int exit_code = RunFrameLoop(options);
  DestroyRendererWindow();
  return exit_code;
}
