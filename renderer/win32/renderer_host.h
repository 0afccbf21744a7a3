// The flight's host on Windows: the contract's working files, opened by the
// trusted opener and read by the GDI reader, loader messages in the "Error"
// box, the full-screen window and its context, and Win32 threads.
#pragma once

#include "display_plan.h"
#include "flight_host.h"
#include "frame_loop.h"
#include "picture_prefetch.h"

class RendererHost : public FlightHost {
 public:
  RendererHost(const FrameLoopOptions& options, DisplayWay way) : options_(options), way_(way) {}

  const char* ModelPath() override;
  RgbImage* ReadScenePicture(ScenePicture which, bool report) override;
  std::FILE* OpenForReading(const char* path) override;
  RgbImage* ReadPictureFile(const char* path, bool report) override;
  // Starts preparing the scene pictures on a thread of their own, then makes
  // the window (CreateRendererWindow) and asks for vsync when paced.
  bool OpenView(OpenedView* view) override;
  void PresentFrame() override;
  void MarkPhase(const char* phase) override;
  // One task a processor, less the one the main thread keeps busy with the
  // display, the window and the driver while the pictures are prepared (one
  // task where there is one processor): on two processors a second task
  // slowed the context by more than it saved.
  int TaskThreads() const override;
  void RunTasks(int count, const std::function<void(int)>& task) const override;

 private:
  FrameLoopOptions options_;
  DisplayWay way_;
  PicturePrefetch prefetch_;
};
