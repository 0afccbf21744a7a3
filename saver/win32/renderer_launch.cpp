#include "renderer_launch.h"

void RendererLaunch::JoinMaker() {
  if (!maker_) return;
  WaitForSingleObject(maker_, INFINITE);
  CloseHandle(maker_);
  maker_ = nullptr;
}

void RendererLaunch::Abandon() {
  JoinMaker();
  if (!made_) return;
  made_ = false;
  TerminateProcess(process_.hProcess, 0);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

// The path is quoted so a folder with blanks works.
void RendererLaunch::Prepare(const std::string& path, const std::string& argument) {
  path_ = path;
  command_line_ = "\"" + path + "\"";
  if (!argument.empty()) command_line_ += " " + argument;
  maker_ = CreateThread(nullptr, 0, MakeProcess, this, 0, nullptr);
}

DWORD WINAPI RendererLaunch::MakeProcess(void* launch) {
  return static_cast<RendererLaunch*>(launch)->MakeSuspended() ? 0 : 1;
}

bool RendererLaunch::MakeSuspended() {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  made_ = CreateProcessA(path_.c_str(), &command_line_[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                         nullptr, &startup, &process_) != FALSE;
  return made_;
}

HANDLE RendererLaunch::Start() {
  if (maker_) {
    JoinMaker();
  } else if (!made_) {
    MakeSuspended();
  }
  if (!made_) return nullptr;
  made_ = false;
  ResumeThread(process_.hThread);
  CloseHandle(process_.hThread);
  return process_.hProcess;
}
