// The on-screen viewer on a private Xvfb server: its window, what it shows,
// and the three ways a flight ends (frame count, Esc, the close request).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
// Xlib after gtest: its macros (None, Bool) would break gtest's templates.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "contract/working_files.h"
#include "viewer_process.h"

namespace {

const std::string kAssets = SKYLINER_SOURCE_ASSETS;
const char kXvfb[] = "/usr/bin/Xvfb";
constexpr const char* kTitle = kRendererCaption;

// Finds a top-level window by its name; 0 if there is none.
Window FindWindowNamed(Display* display, const char* name) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* window_name = nullptr;
    if (XFetchName(display, children[i], &window_name) && window_name) {
      if (std::strcmp(window_name, name) == 0) found = children[i];
      XFree(window_name);
    }
  }
  if (children) XFree(children);
  return found;
}

// The process named by the display number's lock file; 0 without one, -1 when it names none.
long LockHolder(int number) {
  std::ifstream lock("/tmp/.X" + std::to_string(number) + "-lock");
  if (!lock) return 0;
  long pid = 0;
  lock >> pid;
  return lock ? pid : -1;
}

// True if a live X server holds this display number. A lock file left by a
// server that was killed names a process that is gone; Xvfb replaces such locks.
bool DisplayInUse(int number) {
  const long pid = LockHolder(number);
  return pid != 0 && (pid < 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

class ViewerWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (access(kXvfb, X_OK) != 0) return;
    for (int number = 91; number < 130; ++number) {
      if (DisplayInUse(number)) continue;
      display_name_ = ":" + std::to_string(number);
      server_ = new ChildProcess;
      server_->Start(kXvfb, {display_name_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, "");
      for (int tries = 0; tries < 100 && !display_; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        display_ = XOpenDisplay(display_name_.c_str());
      }
      if (display_ && LockHolder(number) == server_->pid()) return;  // not another program's server
      if (display_) XCloseDisplay(display_);
      display_ = nullptr;
      delete server_;  // this number was taken after all: try the next
      server_ = nullptr;
    }
  }

  static void TearDownTestSuite() {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
    delete server_;  // ends our Xvfb by its pid
    server_ = nullptr;
  }

  void SetUp() override {
    if (!display_) GTEST_SKIP() << "no Xvfb server could be started";
  }

  // Starts an endless flight on the bundled assets with extra options.
  void StartViewer(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--model", kAssets + "/Skyliner.data", "--sky", kAssets + "/sky.bmp",
                                     "--ground", kAssets + "/sample-desktop.bmp"};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(viewer_.Start(SKYLINER_VIEWER, args, display_name_));
  }

  // Waits up to 30 s for the viewer's window.
  Window WaitForWindow() {
    for (int tries = 0; tries < 300; ++tries) {
      if (const Window window = FindWindowNamed(display_, kTitle)) return window;
      if (viewer_.Wait(0)) break;  // the viewer ended instead
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
  }

  // Checks the window's size as the X server sees it.
  void ExpectWindowSize(Window window, int width, int height) {
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display_, window, &attributes));
    EXPECT_EQ(attributes.width, width);
    EXPECT_EQ(attributes.height, height);
  }

  // Presses and releases Esc in the window, as a keyboard would.
  void SendEscape(Window window) {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xkey.type = KeyPress;
    event.xkey.display = display_;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display_);
    event.xkey.keycode = XKeysymToKeycode(display_, XK_Escape);
    event.xkey.same_screen = True;
    XSendEvent(display_, window, True, KeyPressMask, &event);
    event.xkey.type = KeyRelease;
    XSendEvent(display_, window, True, KeyReleaseMask, &event);
    XFlush(display_);
  }

  // The window manager's close request (what a title-bar close button sends).
  void SendCloseRequest(Window window) {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
  }

  // Distinct colours in the window's current picture.
  size_t DistinctColoursShown(Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) return 0;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return 0;
    std::set<unsigned long> colours;
    for (int y = 0; y < attributes.height; y += 2)
      for (int x = 0; x < attributes.width; x += 2) colours.insert(XGetPixel(image, x, y));
    XDestroyImage(image);
    return colours.size();
  }

  // The viewer ends within 20 s with code 0 and its window is gone.
  void ExpectCleanEnd() {
    ASSERT_TRUE(viewer_.Wait(20)) << "the viewer did not end";
    EXPECT_TRUE(viewer_.exited());
    EXPECT_EQ(viewer_.exit_code(), 0) << viewer_.Stderr();
    EXPECT_EQ(FindWindowNamed(display_, kTitle), 0u);
  }

  static std::string display_name_;
  static ChildProcess* server_;
  static Display* display_;
  ChildProcess viewer_;
};

std::string ViewerWindow::display_name_;
ChildProcess* ViewerWindow::server_ = nullptr;
Display* ViewerWindow::display_ = nullptr;

TEST_F(ViewerWindow, ShowsTheFlightAndEndsOnEsc) {
  StartViewer();
  const Window window = WaitForWindow();
  ASSERT_NE(window, 0u) << viewer_.Stderr();
  ExpectWindowSize(window, 1024, 768);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_GT(DistinctColoursShown(window), 64u) << "the window shows no scene";
  EXPECT_TRUE(viewer_.running()) << "the flight must go on until told to stop";
  SendEscape(window);
  ExpectCleanEnd();
}

TEST_F(ViewerWindow, EndsOnTheWindowManagersCloseRequest) {
  StartViewer();
  const Window window = WaitForWindow();
  ASSERT_NE(window, 0u) << viewer_.Stderr();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  SendCloseRequest(window);
  ExpectCleanEnd();
}

TEST_F(ViewerWindow, FullscreenCoversTheScreen) {
  StartViewer({"--fullscreen"});
  const Window window = WaitForWindow();
  ASSERT_NE(window, 0u) << viewer_.Stderr();
  ExpectWindowSize(window, 1280, 1024);
  SendEscape(window);
  ExpectCleanEnd();
}

TEST_F(ViewerWindow, EndsByItselfAfterTheGivenFramesPacedOrNot) {
  StartViewer({"--frames", "30", "--size", "320x240"});
  ExpectCleanEnd();
  StartViewer({"--frames", "30", "--size", "320x240", "--unpaced"});
  ExpectCleanEnd();
}

TEST_F(ViewerWindow, WithoutEitherPictureClosesItsWindowAndEndsWithCodeZero) {
  StartViewer({"--sky", "/nonexistent/sky.bmp", "--ground", "/nonexistent/ground.bmp"});
  ExpectCleanEnd();
  EXPECT_EQ(viewer_.Stderr(), "");
}

// The id, as -window-id takes it, of a new mapped 320 x 240 window of the given class.
std::string MakeWindow(Display* display, unsigned window_class) {
  XSetWindowAttributes attributes = {};
  const Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, CopyFromParent,
                                      window_class, CopyFromParent, 0, &attributes);
  XMapWindow(display, window);
  XSync(display, False);
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

// Neither gone nor a zombie, within two seconds.
bool StillRunning(pid_t pid) {
  for (int tries = 0; tries < 100; ++tries, std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
    std::string text;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), text);
    if (text.rfind(')') == std::string::npos || text.compare(text.rfind(')'), 3, ") Z") == 0) return false;
  }
  return true;
}

TEST_F(ViewerWindow, HackRefusesAnInputOnlyWindowInOneLine) {
  const std::string window = MakeWindow(display_, InputOnly);
  ASSERT_TRUE(viewer_.Start(SKYLINER_HACK, {"-window-id", window}, display_name_));
  ASSERT_TRUE(viewer_.Wait(30)) << "the hack goes on in a window it cannot draw in: " << viewer_.Stderr();
  EXPECT_TRUE(viewer_.exited() && viewer_.exit_code() == 1) << viewer_.exit_code();
  EXPECT_EQ(viewer_.Stderr(), "skyliner: window " + window + " is input-only: nothing can be drawn in it\n");
}

TEST_F(ViewerWindow, HackLeavesNothingOfADesktopHelperWhoseChildHangs) {
  ScratchFolder folder;
  // First on the hack's PATH: it and its child hang, holding the hack's pipe, and note their ids.
  const std::string helper = folder / "xscreensaver-getimage";
  ASSERT_TRUE(WriteFile(helper, "#!/bin/sh\nsleep 600 &\necho $$ $! > \"$(dirname \"$0\")/pids\"\nwait\n"));
  ASSERT_EQ(chmod(helper.c_str(), 0755), 0);
  const std::string path = folder.path() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
  const std::string window = MakeWindow(display_, InputOutput);
  ASSERT_TRUE(viewer_.Start("/usr/bin/env", {"PATH=" + path, SKYLINER_HACK, "-window-id", window}, display_name_));
  const auto gave_up = [&] { return viewer_.Stderr().find("no desktop picture (the desktop helper took too long)"); };
  for (int tries = 0; tries < 300 && gave_up() == std::string::npos; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_NE(gave_up(), std::string::npos) << viewer_.Stderr();
  pid_t helper_pid = 0, child_pid = 0;
  std::ifstream(folder / "pids") >> helper_pid >> child_pid;
  ASSERT_GT(child_pid, 0) << "the helper did not run";
  EXPECT_FALSE(StillRunning(helper_pid)) << "the helper outlived its time";
  EXPECT_FALSE(StillRunning(child_pid)) << "the helper's child outlived the helper";
  viewer_.Kill();
  if (StillRunning(child_pid)) kill(child_pid, SIGKILL);  // tidy up after a failure
}

}  // namespace
