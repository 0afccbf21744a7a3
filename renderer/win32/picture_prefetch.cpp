#include "picture_prefetch.h"

void PicturePrefetch::Start() {
  if (started_) return;
  thread_ = CreateThread(nullptr, 0, Prepare, &pictures_, 0, nullptr);
  started_ = thread_ != nullptr;
}

PicturePrefetch::~PicturePrefetch() { Wait(); }

ScenePictures* PicturePrefetch::Take() {
  Wait();
  return started_ ? &pictures_ : nullptr;
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
