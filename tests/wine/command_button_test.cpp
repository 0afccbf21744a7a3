// The settings dialog's push button, run under Wine: a real window fed real
// messages, its Click, its looks in the kept image, its caption and its
// persisted properties. Saves one picture per look (command-<look>.bmp) in
// the current folder to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "command_button.h"
#include "resource_ids.h"

namespace {

constexpr int kHostLeft = 120, kHostTop = 100;
constexpr RECT kButtonRect = {30, 40, 111, 65};  // 81 x 25, the size of the dialog's Set button
constexpr int kWidth = 81, kHeight = 25;
const COLORREF kBorder = RGB(0, 60, 116);

// Runs the thread's messages for about ms milliseconds.
void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

HWND CreateHost() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW host_class = {};
    host_class.lpfnWndProc = DefWindowProcW;
    host_class.hInstance = GetModuleHandleW(nullptr);
    host_class.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    host_class.lpszClassName = L"CommandButtonTestHost";
    registered = RegisterClassW(&host_class) != 0;
  }
  HWND host = CreateWindowExW(0, L"CommandButtonTestHost", L"command button test", WS_POPUP | WS_VISIBLE, kHostLeft,
                              kHostTop, 160, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(host);
  SetFocus(host);
  return host;
}

FontDescription Gothic() {
  FontDescription font;
  font.face = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";  // ＭＳ Ｐゴシック
  font.size_centipoints = 975;
  font.weight = 400;
  font.charset = 128;
  return font;
}

// The pointer over the button (screen coordinates) or well away from it.
void PointerInside() { SetCursorPos(kHostLeft + kButtonRect.left + 20, kHostTop + kButtonRect.top + 10); }
void PointerOutside() { SetCursorPos(5, 5); }

class CommandButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PointerOutside();
    Pump(100);  // pointer moves still queued from the last test go to the old windows
    host_ = CreateHost();
    ASSERT_NE(host_, nullptr);
    ASSERT_TRUE(button_.Create(host_, kButtonRect, "", Gothic()));
    button_.SetCaption("\xE8\xA8\xAD\xE5\xAE\x9A");  // 設定
    button_.on_click = [this] { ++clicks_; };
    ASSERT_TRUE(button_.Enabled());
    button_.Initialize();
    Pump(150);
    ASSERT_EQ(button_.state(), ButtonState::kNormal);
  }
  void TearDown() override {
    PointerOutside();
    DestroyWindow(host_);
  }

  void Send(UINT message, WPARAM keys = 0) { SendMessageW(button_.window(), message, keys, MAKELPARAM(20, 10)); }
  void Hover() {
    PointerInside();
    Send(WM_MOUSEMOVE);
  }
  // The pointer leaves, and the hover timer notices.
  void Leave() {
    PointerOutside();
    Pump(350);
  }
  COLORREF Kept(int x, int y) const { return GetPixel(button_.surface().dc(), x, y); }

  HWND host_ = nullptr;
  CommandButton button_;
  int clicks_ = 0;
};

TEST(CommandButtonCreate, FreshControlIsDisabledUntilEnabledIsFirstRead) {
  HWND host = CreateHost();
  CommandButton button;
  ASSERT_TRUE(button.Create(host, kButtonRect, "", Gothic()));
  EXPECT_EQ(button.skin(), ButtonSkin::kDisable);
  EXPECT_EQ(button.state(), ButtonState::kUninitialized);
  EXPECT_EQ(button.Caption(), "Command");
  EXPECT_EQ(button.StoredProperties(), "Enabled=False\nFirstRun=0\n");
  EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(button.skin(), ButtonSkin::kNormal);
  EXPECT_EQ(button.StoredProperties(), "");  // everything at its default now
  DestroyWindow(host);
}

TEST(CommandButtonCreate, RestoresStoredPropertiesWritesThemInOrderAndRefusesMalformedOnes) {
  HWND host = CreateHost();
  CommandButton button;
  const std::string stored = "Visible=0\nFontColour=255\nCaption=Go\nEnabled=False\n";
  ASSERT_TRUE(button.Create(host, kButtonRect, stored, Gothic()));
  EXPECT_EQ(button.Caption(), "Go");
  EXPECT_EQ(button.FontColour(), RGB(255, 0, 0));
  EXPECT_FALSE(button.Visible());
  EXPECT_EQ(button.skin(), ButtonSkin::kDisable);
  EXPECT_EQ(button.StoredProperties(), "Enabled=False\nCaption=Go\nFontColour=255\nVisible=0\n");
  CommandButton malformed;
  EXPECT_FALSE(malformed.Create(host, kButtonRect, "no separator here", Gothic()));
  EXPECT_EQ(malformed.window(), nullptr);
  DestroyWindow(host);
}

TEST_F(CommandButtonTest, ClicksOnTheReleaseOfTheLeftButton) {
  Hover();
  EXPECT_EQ(button_.skin(), ButtonSkin::kHighLight);
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(GetFocus(), button_.window());
  EXPECT_EQ(button_.state(), ButtonState::kHighLightSelect);
  EXPECT_EQ(button_.skin(), ButtonSkin::kPressed);
  EXPECT_EQ(GetCapture(), button_.window());
  EXPECT_EQ(clicks_, 0);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(button_.skin(), ButtonSkin::kHighLightSelect);
}

// What the user and the program do to the button, one step at a time.
enum class Step { kHover, kLeave, kStay, kLeftDown, kLeftUp, kRightDown, kRightUp, kMiddleUp, kKeys, kFocus,
                  kUnfocus, kDisable, kEnable, kReadEnabled };

struct StepsCase {
  const char* name;
  std::vector<Step> steps;
  int clicks;
  ButtonState state;
  ButtonSkin look;
};

class CommandButtonDriven : public CommandButtonTest {
 protected:
  void Do(Step step) {
    switch (step) {
      case Step::kHover: Hover(); break;
      case Step::kLeave: Leave(); break;
      case Step::kStay: Pump(250); break;  // the pointer stays over it
      case Step::kLeftDown: Send(WM_LBUTTONDOWN, MK_LBUTTON); break;
      case Step::kLeftUp: Send(WM_LBUTTONUP); break;
      case Step::kRightDown: Send(WM_RBUTTONDOWN, MK_RBUTTON); break;
      case Step::kRightUp: Send(WM_RBUTTONUP); break;
      case Step::kMiddleUp: Send(WM_MBUTTONUP); break;
      case Step::kKeys:
        for (WPARAM key : {VK_SPACE, VK_RETURN})
          for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_KEYUP}) SendMessageW(button_.window(), message, key, 0);
        break;
      case Step::kFocus: SetFocus(button_.window()); break;
      case Step::kUnfocus: SetFocus(host_); break;
      case Step::kDisable: button_.SetEnabled(false); break;
      case Step::kEnable: button_.SetEnabled(true); break;
      case Step::kReadEnabled: EXPECT_TRUE(button_.Enabled()); break;
    }
  }
};

class CommandButtonSteps : public CommandButtonDriven, public ::testing::WithParamInterface<StepsCase> {};

TEST_P(CommandButtonSteps, EndsInItsStateAndLookWithItsClicks) {
  for (Step step : GetParam().steps) Do(step);
  EXPECT_EQ(clicks_, GetParam().clicks);
  EXPECT_EQ(button_.state(), GetParam().state);
  EXPECT_EQ(button_.skin(), GetParam().look);
}

using S = Step;
using BS = ButtonState;
using K = ButtonSkin;
INSTANTIATE_TEST_SUITE_P(
    Each, CommandButtonSteps,
    ::testing::Values(
        StepsCase{"hover", {S::kHover, S::kStay}, 0, BS::kHighLight, K::kHighLight},
        StepsCase{"hover_ends_on_leaving", {S::kHover, S::kLeave}, 0, BS::kNormal, K::kNormal},
        StepsCase{"press_drag_out", {S::kHover, S::kLeftDown, S::kLeave}, 0, BS::kSelected, K::kSelected},
        StepsCase{"press_drag_out_back_in", {S::kHover, S::kLeftDown, S::kLeave, S::kHover}, 0, BS::kSelected,
                  K::kSelected},
        StepsCase{"press_drag_out_back_in_release", {S::kHover, S::kLeftDown, S::kLeave, S::kHover, S::kLeftUp}, 0,
                  BS::kSelected, K::kSelected},
        StepsCase{"right_press_draws_nothing", {S::kHover, S::kRightDown}, 0, BS::kHighLight, K::kHighLight},
        StepsCase{"right_release_clicks", {S::kHover, S::kRightDown, S::kRightUp}, 1, BS::kHighLight,
                  K::kHighLight},
        StepsCase{"middle_release_clicks", {S::kHover, S::kMiddleUp}, 1, BS::kHighLight, K::kHighLight},
        StepsCase{"right_release_while_selected", {S::kFocus, S::kLeave, S::kRightUp}, 0, BS::kSelected,
                  K::kSelected},
        StepsCase{"keys_never_click", {S::kFocus, S::kKeys}, 0, BS::kSelected, K::kSelected},
        StepsCase{"focus_then_hover", {S::kFocus, S::kHover}, 0, BS::kHighLightSelect, K::kHighLightSelect},
        StepsCase{"focus_lost", {S::kFocus, S::kHover, S::kUnfocus}, 0, BS::kNormal, K::kNormal},
        StepsCase{"disabled_answers_nothing",
                  {S::kDisable, S::kHover, S::kLeftDown, S::kLeftUp, S::kRightUp, S::kLeave}, 0, BS::kNormal,
                  K::kDisable},
        StepsCase{"enabled_again", {S::kDisable, S::kEnable}, 0, BS::kNormal, K::kNormal},
        StepsCase{"enabled_read_while_hovering", {S::kHover, S::kReadEnabled}, 0, BS::kHighLight, K::kNormal}),
    [](const ::testing::TestParamInfo<StepsCase>& info) { return std::string(info.param.name); });

TEST_F(CommandButtonTest, ClickHandlerMayDestroyTheControl) {
  CommandButton* own = new CommandButton();
  ASSERT_TRUE(own->Create(host_, RECT{30, 70, 90, 95}, "", Gothic()));
  own->Enabled();
  own->Initialize();
  own->on_click = [&own] {
    delete own;
    own = nullptr;
  };
  HWND window = own->window();
  SendMessageW(window, WM_MOUSEMOVE, 0, 0);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(window, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(own, nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(CommandButtonTest, CaptionLabelIsCentredAcrossTheButton) {
  // (375 - 195 - 20) / 2 = 80 twips down, 195 high, the button's whole width.
  const RECT caption = button_.CaptionRect();
  EXPECT_EQ(std::vector<LONG>({caption.left, caption.top, caption.right, caption.bottom}),
            std::vector<LONG>({0, 5, kWidth, 18}));
}

// The face: GDI's vertical interpolation from the top colour at row 0 to the
// bottom colour at row height - 1.
int GradientAt(int top, int bottom, int y) { return top + (bottom - top) * y / (kHeight - 1); }

struct LookCase {
  const char* name;
  std::vector<Step> steps;
  ButtonSkin look;
  COLORREF border;        // at (40, 1) or, pressed, (40, 2)
  COLORREF inner;         // the first row inside the border, at column 40
  COLORREF outer_corner;  // (0, 0)
  bool reverse_gradient;
};

class CommandButtonLooks : public CommandButtonDriven, public ::testing::WithParamInterface<LookCase> {
 protected:
  // The control as it shows, caption included, saved as a bitmap file.
  void SaveLook(const char* name) {
    PictureSurface shot;
    ASSERT_TRUE(shot.Resize(kWidth, kHeight, RGB(255, 0, 255)));
    ASSERT_TRUE(PrintWindow(button_.window(), shot.dc(), PW_CLIENTONLY));
    EXPECT_TRUE(shot.SaveBitmap(std::string("command-") + name + ".bmp"));
    // The caption's pixels differ from the face somewhere along its middle row.
    const RECT caption = button_.CaptionRect();
    const int middle = (caption.top + caption.bottom) / 2;
    int text_pixels = 0;
    for (int x = 0; x < kWidth; ++x) text_pixels += GetPixel(shot.dc(), x, middle) != Kept(x, middle);
    EXPECT_GT(text_pixels, 3) << name;
  }
};

TEST_P(CommandButtonLooks, KeptImageShowsTheSkinOverTheGradient) {
  const LookCase& c = GetParam();
  for (Step step : c.steps) Do(step);
  Pump(30);
  ASSERT_EQ(button_.skin(), c.look);
  const bool pressed = c.look == ButtonSkin::kPressed;
  EXPECT_EQ(Kept(40, pressed ? 2 : 1), c.border) << c.name;
  EXPECT_EQ(Kept(40, pressed ? 3 : 2), c.inner) << c.name;
  EXPECT_EQ(Kept(0, 0), c.outer_corner) << c.name;
  // The edges are stretched: the border runs down the right side and along the bottom too.
  EXPECT_EQ(Kept(kWidth - (pressed ? 3 : 2), 12), c.border) << c.name;
  EXPECT_EQ(Kept(70, kHeight - (pressed ? 3 : 2)), c.border) << c.name;
  // The corners are the skin's own, unscaled.
  PictureSurface skin;
  const int ids[] = {IDB_BUTTON_NORMAL, IDB_BUTTON_HIGHLIGHT, IDB_BUTTON_HIGHLIGHT_SELECT,
                     IDB_BUTTON_SELECTED, IDB_BUTTON_PRESSED, IDB_BUTTON_DISABLE};
  ASSERT_TRUE(skin.LoadPictureResource(GetModuleHandleW(nullptr), ids[static_cast<int>(c.look) - 1]));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(Kept(x, y), GetPixel(skin.dc(), x, y)) << c.name << " " << x << "," << y;
      EXPECT_EQ(Kept(kWidth - 4 + x, kHeight - 4 + y), GetPixel(skin.dc(), 60 + x, 21 + y)) << c.name;
    }
  }
  // Inside the frame, the face: white to (198, 197, 215), reversed while hovering unfocused.
  const COLORREF top = c.reverse_gradient ? RGB(198, 197, 215) : RGB(255, 255, 255);
  const COLORREF bottom = c.reverse_gradient ? RGB(255, 255, 255) : RGB(198, 197, 215);
  for (int y : {4, 12, kHeight - 5}) {
    const COLORREF face = Kept(kWidth / 2, y);
    for (int shift : {0, 8, 16}) {
      const auto channel = [shift](COLORREF colour) { return int(colour >> shift & 0xFF); };
      EXPECT_NEAR(channel(face), GradientAt(channel(top), channel(bottom), y), 1) << c.name << " row " << y;
    }
  }
  SaveLook(c.name);
}

INSTANTIATE_TEST_SUITE_P(
    EachLook, CommandButtonLooks,
    ::testing::Values(
        LookCase{"normal", {}, K::kNormal, kBorder, RGB(255, 255, 255), RGB(224, 220, 201), false},
        LookCase{"hover", {S::kHover}, K::kHighLight, kBorder, RGB(255, 240, 207), RGB(224, 220, 201), true},
        LookCase{"pressed", {S::kHover, S::kLeftDown}, K::kPressed, kBorder, RGB(209, 204, 193), RGB(236, 233, 216),
                 true},
        LookCase{"selected", {S::kFocus}, K::kSelected, kBorder, RGB(206, 231, 255), RGB(224, 220, 201), false},
        LookCase{"hover-selected", {S::kFocus, S::kHover}, K::kHighLightSelect, kBorder, RGB(255, 240, 207),
                 RGB(224, 220, 201), false},
        LookCase{"disabled", {S::kDisable}, K::kDisable, RGB(201, 199, 186), RGB(245, 244, 234), RGB(236, 233, 216),
                 false}),
    [](const ::testing::TestParamInfo<LookCase>& info) {
      std::string name = info.param.name;
      for (char& ch : name) if (ch == '-') ch = '_';
      return name;
    });

TEST_F(CommandButtonTest, CaptionShowsInItsColourOrGreyWhenDisabled) {
  button_.SetFontColour(RGB(255, 0, 0));
  EXPECT_EQ(button_.FontColour(), RGB(255, 0, 0));
  PictureSurface shot;
  ASSERT_TRUE(shot.Resize(kWidth, kHeight, RGB(0, 0, 0)));
  auto count_colour = [&](COLORREF colour) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) count += GetPixel(shot.dc(), x, y) == colour;
    return count;
  };
  ASSERT_TRUE(PrintWindow(button_.window(), shot.dc(), PW_CLIENTONLY));
  EXPECT_GT(count_colour(RGB(255, 0, 0)), 5);
  button_.SetEnabled(false);
  ASSERT_TRUE(PrintWindow(button_.window(), shot.dc(), PW_CLIENTONLY));
  EXPECT_EQ(count_colour(RGB(255, 0, 0)), 0);
  EXPECT_GT(count_colour(GetSysColor(COLOR_GRAYTEXT)), 5);
}

TEST_F(CommandButtonTest, InvisibleShowsTheCaptionWithoutSkinOrFace) {
  button_.SetVisible(false);
  EXPECT_FALSE(button_.Visible());
  PictureSurface shot;
  ASSERT_TRUE(shot.Resize(kWidth, kHeight, RGB(255, 0, 255)));
  ASSERT_TRUE(PrintWindow(button_.window(), shot.dc(), PW_CLIENTONLY));
  EXPECT_EQ(GetPixel(shot.dc(), 0, 0), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(shot.dc(), 40, 2), RGB(255, 0, 255));
  int text_pixels = 0;
  for (int x = 0; x < kWidth; ++x) text_pixels += GetPixel(shot.dc(), x, 12) == RGB(0, 0, 0);
  EXPECT_GT(text_pixels, 3);
  button_.SetVisible(true);
  ASSERT_TRUE(PrintWindow(button_.window(), shot.dc(), PW_CLIENTONLY));
  EXPECT_EQ(GetPixel(shot.dc(), 40, 2), RGB(255, 255, 255));
  EXPECT_EQ(button_.StoredProperties(), "Caption=\xE8\xA8\xAD\xE5\xAE\x9A\n");  // Visible back at its default
}

}  // namespace
