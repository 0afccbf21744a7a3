#include "viewer_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

// The whole content of a file, empty when it cannot be read.
static std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A unique file name for captured output, in the program's scratch folder.
static std::string CaptureFileName(const char* stream) {
  static int counter = 0;
  return ProgramScratchFolder() / ("child-" + std::to_string(++counter) + "." + stream);
}

ChildProcess::~ChildProcess() {
  Kill();
  if (!out_path_.empty()) std::remove(out_path_.c_str());
  if (!err_path_.empty()) std::remove(err_path_.c_str());
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const std::string& display) {
  out_path_ = CaptureFileName("out");
  err_path_ = CaptureFileName("err");
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int out = open(out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int none = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || none < 0) _exit(127);
    dup2(none, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (display.empty()) {
      unsetenv("DISPLAY");
    } else {
      setenv("DISPLAY", display.c_str(), 1);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  pid_ = pid;
  exited_ = false;
  exit_code_ = -1;
  return true;
}

bool ChildProcess::Wait(double timeout_seconds) {
  if (pid_ <= 0) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_seconds);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      exited_ = WIFEXITED(status);
      exit_code_ = exited_ ? WEXITSTATUS(status) : -1;
      pid_ = 0;
      return true;
    }
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ChildProcess::Kill() {
  if (pid_ <= 0) return;
  // A polite end first, so that an X server removes its lock file.
  kill(pid_, SIGTERM);
  if (Wait(2)) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = 0;
}

std::string ChildProcess::Stdout() const { return ReadWholeFile(out_path_); }
std::string ChildProcess::Stderr() const { return ReadWholeFile(err_path_); }

ViewerRun RunViewer(const std::vector<std::string>& args, const std::string& display, double timeout_seconds) {
  ViewerRun run;
  ChildProcess viewer;
  if (!viewer.Start(SKYLINER_VIEWER, args, display)) return run;
  if (viewer.Wait(timeout_seconds)) {
    run.finished = viewer.exited();
    run.exit_code = viewer.exit_code();
  }
  run.out = viewer.Stdout();
  run.err = viewer.Stderr();
  return run;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}
