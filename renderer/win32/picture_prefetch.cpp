#include "picture_prefetch.h"

void PicturePrefetch::Start() {
  if (!thread_) thread_ = CreateThread(nullptr, 0, Prepare, &pictures_, 0, nullptr);
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

DWORD WINAPI PicturePrefetch::Prepare(void* pictures) {
  PrepareScenePictures(*static_cast<ScenePictures*>(pictures));
  return 0;
}
