// The scene pictures read and their mipmap levels computed on a thread of
// their own (split over the spare processors), while the main thread
// switches the display, makes the window, loads the OpenGL driver and makes
// the context.
#pragma once

#include <windows.h>

#include "textures.h"

class PicturePrefetch {
 public:
  PicturePrefetch() = default;
  // Waits for the thread, so the pictures never outlive their reader.
  ~PicturePrefetch();
  PicturePrefetch(const PicturePrefetch&) = delete;
  PicturePrefetch& operator=(const PicturePrefetch&) = delete;

  // Starts the thread, which reads the pictures from host; the host must
  // outlive the thread (Take, or this object's end, waits for it).
  void Start(FlightHost& host);
  // Waits until the pictures are ready and hands them over; null if no thread
  // is running (the caller then reads them itself).
  ScenePictures* Take();

 private:
  void Wait();
  static DWORD WINAPI Prepare(void* prefetch);

  FlightHost* host_ = nullptr;
  ScenePictures pictures_;
  HANDLE thread_ = nullptr;
};
