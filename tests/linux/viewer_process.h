// Child processes for the viewer's tests: the viewer itself and Xvfb, with
// their output captured in files (never pipes, which a stuck child can hold).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "test_temp.h"  // ScratchFolder

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // kills the child if it still runs

  // Starts program with args. DISPLAY is set to display, or removed when it
  // is empty. False if the child cannot be started.
  bool Start(const std::string& program, const std::vector<std::string>& args, const std::string& display);
  // Waits up to timeout_seconds; false if the child is still running.
  bool Wait(double timeout_seconds);
  // Ends the child by its pid and reaps it.
  void Kill();

  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool exited() const { return exited_; }   // by exit(), not by a signal
  int exit_code() const { return exit_code_; }
  std::string Stdout() const;
  std::string Stderr() const;

 private:
  pid_t pid_ = 0;
  bool exited_ = false;
  int exit_code_ = -1;
  std::string out_path_;
  std::string err_path_;
};

// The result of a viewer run that must end by itself within timeout_seconds.
struct ViewerRun {
  bool finished = false;  // ended by exit() in time
  int exit_code = -1;
  std::string out;
  std::string err;
};
ViewerRun RunViewer(const std::vector<std::string>& args, const std::string& display = "",
                    double timeout_seconds = 120);

// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
