// The renderer's window procedure and frame loop, run under Wine on a real
// window of class "OpenGL": the commands it swallows, the keys it records, the
// exit code it hands back, the frames it skips while minimised, and a
// teardown that may run twice without unbalancing the cursor or the mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "flight_start.h"
#include "frame_loop.h"
#include "renderer_host.h"
#include "renderer_state.h"
#include "renderer_window.h"

namespace {

// The renderer's own host but for its scene pictures: a solid 8 x 8 picture
// each, or none.
class StandInHost : public RendererHost {
 public:
  explicit StandInHost(bool pictures) : RendererHost(FrameLoopOptions(), DisplayWay::kClassic), pictures_(pictures) {}
  RgbImage* ReadScenePicture(ScenePicture, bool) override {
    if (!pictures_) return nullptr;
    auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    image->width = 8;
    image->height = 8;
    image->pixels = static_cast<unsigned char*>(std::malloc(8 * 8 * 3));
    std::memset(image->pixels, 0x80, 8 * 8 * 3);
    return image;
  }

 private:
  bool pictures_;
};

// The cursor's display count, left as it was.
int CursorCount() {
  ShowCursor(FALSE);
  return ShowCursor(TRUE);
}

std::string CurrentMode() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return "unknown";
  return std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight);
}

// Handles the messages creation and earlier tests left and drops quit
// messages. (WM_PAINT comes back until it is dispatched.)
void EmptyQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

bool QuitPosted() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class RendererWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OpenSceneView(host_, flight_->scene), FlightStart::kReady);
    EmptyQueue();
    renderer.active = true;
  }
  void TearDown() override {
    flight_->Release();
    DestroyRendererWindow();
    EmptyQueue();
  }
  int RunLoop(const FrameLoopOptions& options) { return RunFrameLoop(options, host_, flight_->scene); }
  const FlightScene& scene() const { return flight_->scene; }

  StandInHost host_{true};
  std::unique_ptr<Flight> flight_ = std::make_unique<Flight>();
};

struct SysCommandCase {
  WPARAM command;
  LPARAM argument;
  bool reaches_default_handling;  // which, for SC_CLOSE, sends WM_CLOSE and so posts the quit message
};

TEST_F(RendererWindow, SysCommandsForTheSaverAndMonitorPowerAreSwallowed) {
  const SysCommandCase cases[] = {
      {SC_SCREENSAVE, 0, false},
      {SC_MONITORPOWER, 2, false},
      {SC_MONITORPOWER, 1, false},
      {SC_CLOSE, 0, true},
  };
  for (const SysCommandCase& c : cases) {
    EXPECT_EQ(SendMessageA(renderer.win32.window, WM_SYSCOMMAND, c.command, c.argument), 0) << "command " << std::hex << c.command;
    EXPECT_EQ(QuitPosted(), c.reaches_default_handling) << "command " << std::hex << c.command;
  }
}

TEST_F(RendererWindow, KeyCodesPastTheTableAreIgnored) {
  struct KeyCase {
    WPARAM code;
    bool recorded;
  };
  const KeyCase cases[] = {{'A', true}, {255, true}, {256, false}, {0x1000, false}, {~WPARAM{0}, false}};
  for (const KeyCase& c : cases) {
    bool before[256];
    std::memcpy(before, renderer.keys, sizeof renderer.keys);
    const bool active_before = renderer.active;
    EXPECT_EQ(SendMessageA(renderer.win32.window, WM_KEYDOWN, c.code, 0), 0);
    if (c.recorded) {
      EXPECT_TRUE(renderer.keys[c.code]) << "key " << c.code;
      SendMessageA(renderer.win32.window, WM_KEYUP, c.code, 0);
      EXPECT_FALSE(renderer.keys[c.code]) << "key " << c.code;
    } else {
      SendMessageA(renderer.win32.window, WM_KEYUP, c.code, 0);
    }
    EXPECT_EQ(std::memcmp(before, renderer.keys, sizeof renderer.keys), 0) << "key " << c.code << " changed the table";
    EXPECT_EQ(renderer.active, active_before) << "key " << c.code << " changed the state beside the table";
  }
}

TEST_F(RendererWindow, TheExitCodeIsTheQuitMessagesParameter) {
  FrameLoopOptions options;
  options.paced = false;
  options.frame_limit = 50;  // only a lost quit message would reach it
  for (int code : {0, 3, 255}) {
    PostQuitMessage(code);
    EXPECT_EQ(RunLoop(options), code);
  }
}

TEST_F(RendererWindow, NoFrameIsDrawnWhileMinimisedButTheScheduleGoesOn) {
  FrameLoopOptions options;
  options.paced = false;
  options.frame_limit = 5;

  SendMessageA(renderer.win32.window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);  // minimised
  ASSERT_FALSE(renderer.active);
  const float x = scene().plane_x, z = scene().plane_z, counter = scene().schedule_counter;
  RunLoop(options);
  EXPECT_EQ(scene().plane_x, x);
  EXPECT_EQ(scene().plane_z, z);
  EXPECT_EQ(scene().schedule_counter, counter + 5);

  SendMessageA(renderer.win32.window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, FALSE), 0);
  ASSERT_TRUE(renderer.active);
  RunLoop(options);
  EXPECT_TRUE(scene().plane_x != x || scene().plane_z != z) << "the flight did not move while active";
}

// The teardown runs again after a creation that tore itself down, or by a
// second call: the mode is restored and the cursor shown once only.
struct TeardownCase {
  const char* name;
  bool pictures;
  FlightStart opened;
};

TEST(RendererTeardown, ASecondTeardownLeavesCursorAndModeAlone) {
  const TeardownCase cases[] = {{"created", true, FlightStart::kReady},
                                {"no scene picture", false, FlightStart::kNoPictures}};
  for (const TeardownCase& c : cases) {
    StandInHost host(c.pictures);
    const auto flight = std::make_unique<Flight>();
    const int cursor = CursorCount();
    const std::string mode = CurrentMode();
    EXPECT_EQ(OpenSceneView(host, flight->scene), c.opened) << c.name;
    flight->Release();
    DestroyRendererWindow();
    EXPECT_EQ(CursorCount(), cursor) << c.name << ": after the first teardown";
    DestroyRendererWindow();
    EXPECT_EQ(CursorCount(), cursor) << c.name << ": after the second teardown";
    EXPECT_EQ(CurrentMode(), mode) << c.name;
    EXPECT_EQ(FindWindowA(nullptr, kRendererCaption), nullptr) << c.name;
    EmptyQueue();
  }
}

}  // namespace
