#include "renderer_host.h"

#include <windows.h>

#include <algorithm>

#include "contract/working_files.h"
#include "frame_pacer.h"
#include "gdi_bitmap_reader.h"
#include "renderer_state.h"
#include "renderer_window.h"
#include "system_libraries.h"
#include "thread_tasks.h"
#include "trusted_file.h"

const char* RendererHost::ModelPath() { return kRendererModelPath; }

RgbImage* RendererHost::ReadScenePicture(ScenePicture which, bool report) {
  return ReadPicture(which == ScenePicture::kSky ? kRendererSkyPicturePath : kRendererGroundPicturePath, report);
}

std::FILE* RendererHost::OpenForReading(const char* path) { return OpenTrustedStream(path); }

RgbImage* RendererHost::ReadPictureFile(const char* path, bool report) {
  return ReadBitmapImage(path, report ? ShowBitmapMessage : nullptr, *this);
}

bool RendererHost::OpenView(OpenedView* view) {
  // First: a desktop-sized ground picture takes longer to read and reduce to
  // its levels than the display, the window and the driver take to set up.
  prefetch_.Start(*this);
  ScreenRect flight;
  if (!CreateRendererWindow(kRendererCaption, kScreenWidth, kScreenHeight, kScreenBits, way_, &flight)) return false;
  MarkPhase("window and context");
  if (options_.paced) RequestVsync();
  view->width = flight.width();
  view->height = flight.height();
  view->off_axis = way_ == DisplayWay::kEveryMonitor ? &renderer.win32.view : nullptr;
  view->prepared = prefetch_.Take();
  return true;
}

void RendererHost::PresentFrame() { SwapBuffers(renderer.win32.device_context); }

void RendererHost::MarkPhase(const char* phase) {
  if (options_.on_phase) options_.on_phase(phase);
}

int RendererHost::TaskThreads() const { return std::max(1, ProcessorCount() - 1); }

void RendererHost::RunTasks(int count, const std::function<void(int)>& task) const {
  RunTasksOnWin32Threads(count, task);
}
