#include "picture_prefetch.h"

void PicturePrefetch::Start(FlightHost& host) {
  if (thread_) return;
  host_ = &host;
  thread_ = CreateThread(nullptr, 0, Prepare, this, 0, nullptr);
}

PicturePrefetch::~PicturePrefetch() { Wait(); }

ScenePictures* PicturePrefetch::Take() {
  if (!thread_) return nullptr;
  Wait();
  return &pictures_;
}

void PicturePrefetch::Wait() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI PicturePrefetch::Prepare(void* prefetch) {
  PicturePrefetch& self = *static_cast<PicturePrefetch*>(prefetch);
  PrepareScenePictures(*self.host_, self.pictures_);
  return 0;
}
