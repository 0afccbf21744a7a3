#include "desktop_grab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "ground_picture.h"

namespace {

constexpr char kHelper[] = "xscreensaver-getimage";
// Where Debian installs it when it is not on the PATH the daemon gives its hacks.
constexpr char kInstalledHelper[] = "/usr/libexec/xscreensaver/xscreensaver-getimage";
// What the helper says (with --verbose) when it paints test bars instead of
// the desktop: grabbing is off in the user's settings, or it failed.
constexpr char kNoDesktopMark[] = "drawing colorbars";
constexpr std::chrono::seconds kHelperTimeout(4);

// Everything one grab holds, released on one path.
struct Grab {
  Display* display = nullptr;
  Pixmap pixmap = 0;
  pid_t helper = -1;  // also its process group's id, until it is reaped
  int output = -1;    // the read end of the helper's stdout and stderr
  XImage* picture = nullptr;

  ~Grab() {
    if (helper > 0) {
      // The whole group: what the helper started would outlive it otherwise.
      // Its id is still ours, as the helper is not yet reaped.
      kill(-helper, SIGKILL);
      waitpid(helper, nullptr, 0);
    }
    if (output >= 0) close(output);
    if (picture) XDestroyImage(picture);
    if (pixmap) XFreePixmap(display, pixmap);
  }
};

// Starts the helper on the window and pixmap, its output into a pipe; false if
// it cannot be started. Only the desktop is allowed: files and video are not
// the user's desktop.
bool StartHelper(Grab& grab, unsigned long window) {
  char window_id[32], pixmap_id[32];
  std::snprintf(window_id, sizeof window_id, "0x%lx", window);
  std::snprintf(pixmap_id, sizeof pixmap_id, "0x%lx", grab.pixmap);
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return false;
  grab.helper = fork();
  if (grab.helper == 0) {
    setpgid(0, 0);  // a group of its own, so that it ends with all it started
    dup2(pipe_ends[1], STDOUT_FILENO);
    dup2(pipe_ends[1], STDERR_FILENO);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    const char* const args[] = {kHelper, "--verbose", "--no-images", "--no-video", window_id, pixmap_id, nullptr};
    execvp(kHelper, const_cast<char* const*>(args));
    execv(kInstalledHelper, const_cast<char* const*>(args));
    _exit(127);
  }
  close(pipe_ends[1]);
  grab.output = pipe_ends[0];
  if (grab.helper > 0) setpgid(grab.helper, grab.helper);  // also here: either may run first
  return grab.helper > 0;
}

// Collects the helper's output until it closes it, then its exit status.
// False with a reason when it fails, is stopped or runs out of time.
bool AwaitHelper(Grab& grab, bool (*stop)(), std::string* said, std::string* reason) {
  const auto deadline = std::chrono::steady_clock::now() + kHelperTimeout;
  for (char buffer[512];;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return *reason = "the desktop helper took too long", false;
    if (stop && stop()) return *reason = "stopped", false;
    pollfd ready = {grab.output, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    if (ready.revents == 0) continue;
    const ssize_t count = read(grab.output, buffer, sizeof buffer);
    if (count > 0) said->append(buffer, static_cast<size_t>(count));
    if (count == 0 || (count < 0 && errno != EINTR)) break;
  }
  int status = 0;
  const pid_t ended = waitpid(grab.helper, &status, 0);
  grab.helper = -1;
  if (ended < 0 || !WIFEXITED(status) || WEXITSTATUS(status) == 127) return *reason = "no desktop helper", false;
  if (WEXITSTATUS(status) != 0) return *reason = "the desktop helper failed", false;
  return true;
}

// Bits of a pixel under mask, scaled to 0..255.
unsigned char Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const unsigned long largest = mask >> shift;
  return static_cast<unsigned char>(((pixel & mask) >> shift) * 255 / largest);
}

// The picture in RGB rows, bottom row first, mirrored left to right.
RgbImage* MirroredRgbOf(XImage& picture, const Visual& visual) {
  RgbImage* image = NewRgbImage(picture.width, picture.height);
  if (!image) return nullptr;
  for (int y = 0; y < picture.height; ++y) {
    unsigned char* row = image->pixels + static_cast<size_t>(picture.height - 1 - y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x) {
      const unsigned long pixel = XGetPixel(&picture, picture.width - 1 - x, y);
      row[x * 3 + 0] = Channel(pixel, visual.red_mask);
      row[x * 3 + 1] = Channel(pixel, visual.green_mask);
      row[x * 3 + 2] = Channel(pixel, visual.blue_mask);
    }
  }
  return image;
}

}  // namespace

RgbImage* GrabDesktop(void* display_pointer, unsigned long window, int width, int height, bool (*stop)(),
                      std::string* reason) {
  Grab grab;
  grab.display = static_cast<Display*>(display_pointer);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(grab.display, window, &attributes) || attributes.visual->c_class != TrueColor) {
    *reason = "the window's colours are not true colour";
    return nullptr;
  }
  grab.pixmap = XCreatePixmap(grab.display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              static_cast<unsigned>(attributes.depth));
  XSync(grab.display, False);  // the helper must find the pixmap
  std::string said;
  if (!StartHelper(grab, window)) {
    *reason = "cannot start the desktop helper";
    return nullptr;
  }
  if (!AwaitHelper(grab, stop, &said, reason)) return nullptr;
  if (said.find(kNoDesktopMark) != std::string::npos) {
    *reason = "desktop grabbing is off in the screensaver's settings, or failed";
    return nullptr;
  }
  grab.picture = XGetImage(grab.display, grab.pixmap, 0, 0, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!grab.picture) {
    *reason = "cannot read the desktop picture";
    return nullptr;
  }
  RgbImage* image = MirroredRgbOf(*grab.picture, *attributes.visual);
  if (!image) *reason = "not enough memory for the desktop picture";
  return image;
}
