// The scene pictures read and their mipmap levels computed on a thread of
// their own, while the main thread makes the window and the OpenGL context.
#pragma once

#include <windows.h>

#include "textures.h"

class PicturePrefetch {
 public:
  // Starts the thread; the bitmap reader and file locator must be set first.
  PicturePrefetch();
  // Waits for the thread, so the pictures never outlive their reader.
  ~PicturePrefetch();
  PicturePrefetch(const PicturePrefetch&) = delete;
  PicturePrefetch& operator=(const PicturePrefetch&) = delete;

  // Waits until the pictures are ready and hands them over; null if no thread
  // could be started (the caller then reads them itself).
  ScenePictures* Take();

 private:
  void Wait();
  static DWORD WINAPI Prepare(void* pictures);

  ScenePictures pictures_;
  HANDLE thread_ = nullptr;
  bool started_ = false;
};
