// The push-button control's rules without a window: its state machine, the
// skin each event draws, its persisted properties and its drawing geometry.
// The Windows control feeds it events and carries out the result.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "font_description.h"
#include "property_store.h"

enum class ButtonState : uint8_t {
  kUninitialized = 0,    // before Initialize
  kNormal = 1,           // idle
  kHighLight = 2,        // pointer over, not focused
  kSelected = 3,         // focused, pointer not over
  kHighLightSelect = 4,  // focused and pointer over
};

// The six looks; kNone means nothing is drawn.
enum class ButtonSkin { kNone, kNormal, kHighLight, kHighLightSelect, kSelected, kPressed, kDisable };

enum class MouseButton { kLeft, kRight, kMiddle };

struct ButtonModel {
  ButtonState state = ButtonState::kUninitialized;
  bool enabled = false;     // a fresh control is disabled until Enabled is first read
  uint8_t first_run = 0;    // 0 in a fresh control, 1 once initialised; persisted
  bool mouse_is_down = false;
  bool reverse_gradient = false;
};

enum class ButtonEventKind {
  kInitialize,
  kMouseDown,
  kMouseMove,
  kMouseUp,
  kFocusGained,
  kFocusLost,
  kTimerTick,      // pointer_outside: the window under the pointer is not the control's own
  kResize,
  kEnabledWritten,  // value: the new Enabled
  kEnabledRead,
  kFontColourRead,
  kFontColourWritten,
  kVisibleRead,     // value: the current Visible
  kVisibleWritten,  // value: the new Visible
  kPropertiesRead,
  kPropertiesWritten,
};

struct ButtonEvent {
  ButtonEventKind kind;
  MouseButton button = MouseButton::kLeft;
  bool pointer_outside = false;
  bool value = false;
};

enum class LabelEnable { kUnchanged, kEnable, kDisable };

struct ButtonResult {
  ButtonModel model;
  // The last skin drawn (each draw recomposes the whole image, so only the
  // last one shows); model.reverse_gradient is the direction to draw it with.
  ButtonSkin skin = ButtonSkin::kNone;
  bool click = false;
  bool start_timer = false;  // enable the 100 ms hover timer
  LabelEnable label = LabelEnable::kUnchanged;
  bool label_colour_black = false;  // set the caption colour to black (0)
  const char* changed_property = nullptr;  // the key to mark changed for the host, or nullptr
};

ButtonResult ApplyButtonEvent(const ButtonModel& model, const ButtonEvent& event);

constexpr unsigned kHoverIntervalMs = 100;

// --- Persisted properties ---------------------------------------------------

struct ButtonProperties {
  bool enabled = true;
  std::string caption = "Command";
  uint8_t first_run = 1;
  FontDescription font;             // the host's ambient font unless stored
  uint32_t font_colour = 0;
  int16_t visible = 1;         // the surface's background style: 1 opaque, 0 transparent
};

constexpr char kPropEnabled[] = "Enabled";
constexpr char kPropCaption[] = "Caption";
constexpr char kPropFirstRun[] = "FirstRun";
constexpr char kPropFont[] = "Font";
constexpr char kPropFontColour[] = "FontColour";
constexpr char kPropVisible[] = "Visible";

// The properties of a control created without stored ones.
ButtonProperties FreshButtonProperties(const FontDescription& ambient_font);
// Writes every property that differs from its default, in the persisted order.
void WriteButtonProperties(const ButtonProperties& properties, const FontDescription& ambient_font,
                           PropertyStore* store);
// Reads them back; a missing or unreadable value gives its default.
ButtonProperties ReadButtonProperties(const PropertyStore& store, const FontDescription& ambient_font);

// A font as stored text: "size,weight,charset,flags,face" (face last, so it may hold anything).
std::string FormatButtonFont(const FontDescription& font);
bool ParseButtonFont(const std::string& text, FontDescription* font);

// --- Drawing geometry -------------------------------------------------------

constexpr int kSkinWidth = 64;   // pixels
constexpr int kSkinHeight = 25;
constexpr int kSkinFrame = 4;    // the band of the skin that is drawn

struct PixelRect {
  int x, y, w, h;
  bool operator==(const PixelRect& other) const {
    return x == other.x && y == other.y && w == other.w && h == other.h;
  }
};

struct FramePiece {
  PixelRect source;       // in the 64 x 25 skin
  PixelRect destination;  // in the button
};

// The eight copies of the frame for a button of w x h pixels, in drawing
// order: corners unscaled, edges stretched.
std::array<FramePiece, 8> SkinFramePieces(int w, int h);

// The caption label's top in twips: (H - label height - 20) / 2, to the nearest
// twip (halves to even).
int CaptionTopTwips(int height_twips, int label_height_twips);

// The face gradient's colours with 16-bit channels (8-bit value in the high byte).
struct GradientColour {
  uint16_t red, green, blue, alpha;
};
struct ButtonGradient {
  GradientColour top, bottom;
};
ButtonGradient ButtonFaceGradient(bool reverse);
