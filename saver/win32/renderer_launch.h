// The renderer's start, split in two: its process is made, suspended, on a
// thread of its own while the saver form loads and writes the working files,
// and is let run once they are complete. Making a process is the longest
// single step of the shell's start (under Wine about as long as the capture
// and the files together); a suspended process runs none of the renderer's
// code, so it reads no working file before the last one is written.
#pragma once

#include <windows.h>

#include <string>

class RendererLaunch {
 public:
  RendererLaunch() = default;
  ~RendererLaunch() { Abandon(); }
  RendererLaunch(const RendererLaunch&) = delete;
  RendererLaunch& operator=(const RendererLaunch&) = delete;

  // Begins making the process of the program at path, with the argument if
  // one is given, shown normally; returns at once. Without a thread it is
  // made in Start.
  void Prepare(const std::string& path, const std::string& argument = "");
  // Waits until the process is made and lets it run; its process handle,
  // which the caller owns, or null when it could not be made.
  HANDLE Start();
  // Ends a process made and never let run, as when the form could not be loaded.
  void Abandon();

 private:
  static DWORD WINAPI MakeProcess(void* launch);
  bool MakeSuspended();
  void JoinMaker();

  std::string path_;
  std::string command_line_;
  HANDLE maker_ = nullptr;  // the thread making the process
  PROCESS_INFORMATION process_ = {};
  bool made_ = false;
};
