#include "button_state.h"

#include <cmath>
#include <cstdlib>

#include "half_even.h"

namespace {

// DrawSkin: the gradient's direction follows the state; states 0 and 4 keep it.
void DrawSkin(ButtonSkin skin, ButtonResult* result) {
  switch (result->model.state) {
    case ButtonState::kNormal: result->model.reverse_gradient = false; break;
    case ButtonState::kHighLight: result->model.reverse_gradient = true; break;
    case ButtonState::kSelected: result->model.reverse_gradient = false; break;
    default: break;
  }
  result->skin = skin;
}

void ShowEnabledLook(ButtonResult* result) {
  if (result->model.enabled) {
    DrawSkin(ButtonSkin::kNormal, result);
    result->label = LabelEnable::kEnable;
  } else {
    DrawSkin(ButtonSkin::kDisable, result);
    result->label = LabelEnable::kDisable;
  }
}

void RefreshLook(ButtonResult* result) {
  if (!result->model.enabled) return;
  result->label = LabelEnable::kEnable;
  if (result->model.first_run == 0) result->label_colour_black = true;
  DrawSkin(ButtonSkin::kNormal, result);
}

void MouseLeft(ButtonResult* result) {
  ButtonModel& model = result->model;
  if (!model.enabled) return;
  if (model.state == ButtonState::kHighLight) {
    model.state = ButtonState::kNormal;
    DrawSkin(ButtonSkin::kNormal, result);
  } else if (model.state == ButtonState::kHighLightSelect) {
    model.state = ButtonState::kSelected;
    DrawSkin(ButtonSkin::kSelected, result);
  }
}

void OnMouseDown(const ButtonEvent& event, ButtonResult* result) {
  if (event.button != MouseButton::kLeft) return;
  result->model.mouse_is_down = true;
  DrawSkin(ButtonSkin::kPressed, result);
}

void OnMouseMove(ButtonResult* result) {
  ButtonModel& model = result->model;
  if (model.state == ButtonState::kNormal) {
    model.state = ButtonState::kHighLight;
    DrawSkin(ButtonSkin::kHighLight, result);
  }
  if (model.state == ButtonState::kSelected && !model.mouse_is_down) {
    model.state = ButtonState::kHighLightSelect;
    DrawSkin(ButtonSkin::kHighLightSelect, result);
  }
}

void OnMouseUp(const ButtonEvent& event, ButtonResult* result) {
  ButtonModel& model = result->model;
  if (event.button == MouseButton::kLeft) {
    model.mouse_is_down = false;
    if (model.state == ButtonState::kHighLight) DrawSkin(ButtonSkin::kNormal, result);
    if (model.state == ButtonState::kHighLightSelect) DrawSkin(ButtonSkin::kHighLightSelect, result);
  }
  result->click = model.state != ButtonState::kSelected && model.enabled;
}

void OnFocusGained(ButtonResult* result) {
  ButtonModel& model = result->model;
  if (model.state != ButtonState::kHighLight) {
    model.state = ButtonState::kSelected;
    DrawSkin(ButtonSkin::kSelected, result);
  } else {
    // The focus came with a click while the pointer was over the control.
    model.state = ButtonState::kHighLightSelect;
    DrawSkin(ButtonSkin::kPressed, result);
  }
}

void OnFocusLost(ButtonResult* result) {
  if (result->model.state == ButtonState::kNormal) return;
  result->model.state = ButtonState::kNormal;
  DrawSkin(ButtonSkin::kNormal, result);
}

void OnEnabledRead(ButtonResult* result) {
  ButtonModel& model = result->model;
  if (model.first_run == 0) {
    RefreshLook(result);
    model.first_run = 1;
    model.enabled = true;
  }
  ShowEnabledLook(result);
}

// The events that answer the user; they do nothing while disabled.
bool IsUserEvent(ButtonEventKind kind) {
  switch (kind) {
    case ButtonEventKind::kMouseDown:
    case ButtonEventKind::kMouseMove:
    case ButtonEventKind::kMouseUp:
    case ButtonEventKind::kFocusGained:
    case ButtonEventKind::kFocusLost:
      return true;
    default:
      return false;
  }
}

}  // namespace

ButtonResult ApplyButtonEvent(const ButtonModel& model, const ButtonEvent& event) {
  ButtonResult result;
  result.model = model;
  if (IsUserEvent(event.kind) && !model.enabled) return result;
  switch (event.kind) {
    case ButtonEventKind::kInitialize:
      result.model.state = ButtonState::kNormal;
      result.start_timer = true;
      break;
    case ButtonEventKind::kMouseDown: OnMouseDown(event, &result); break;
    case ButtonEventKind::kMouseMove: OnMouseMove(&result); break;
    case ButtonEventKind::kMouseUp: OnMouseUp(event, &result); break;
    case ButtonEventKind::kFocusGained: OnFocusGained(&result); break;
    case ButtonEventKind::kFocusLost: OnFocusLost(&result); break;
    case ButtonEventKind::kTimerTick:
      if (event.pointer_outside) MouseLeft(&result);
      break;
    case ButtonEventKind::kResize: ShowEnabledLook(&result); break;
    case ButtonEventKind::kEnabledWritten:
      result.model.enabled = event.value;
      result.changed_property = kPropEnabled;
      ShowEnabledLook(&result);
      break;
    case ButtonEventKind::kEnabledRead: OnEnabledRead(&result); break;
    case ButtonEventKind::kFontColourRead: RefreshLook(&result); break;
    case ButtonEventKind::kFontColourWritten:
      RefreshLook(&result);
      result.changed_property = kPropFontColour;
      break;
    case ButtonEventKind::kVisibleRead:
      if (event.value) RefreshLook(&result);
      break;
    case ButtonEventKind::kVisibleWritten:
      if (event.value) RefreshLook(&result);
      result.changed_property = kPropVisible;
      break;
    case ButtonEventKind::kPropertiesRead:
    case ButtonEventKind::kPropertiesWritten:
      RefreshLook(&result);
      break;
  }
  return result;
}

// --- Persisted properties ---------------------------------------------------

namespace {

constexpr char kTrue[] = "True";
constexpr char kFalse[] = "False";

// A whole decimal number with an optional sign, within [low, high].
bool ParseWhole(const std::string& text, long long low, long long high, long long* value) {
  size_t pos = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (pos == text.size() || text.size() - pos > 18) return false;  // 18 digits cannot overflow
  long long result = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    result = result * 10 + (text[pos] - '0');
  }
  if (text[0] == '-') result = -result;
  if (result < low || result > high) return false;
  *value = result;
  return true;
}

long long ReadWhole(const PropertyStore& store, const char* key, long long low, long long high,
                    long long default_value) {
  long long value = default_value;
  ParseWhole(store.Read(key, ""), low, high, &value);
  return value;
}

enum FontFlags { kItalic = 1, kUnderline = 2, kStrikethrough = 4 };

}  // namespace

std::string FormatButtonFont(const FontDescription& font) {
  const int flags = (font.italic ? kItalic : 0) | (font.underline ? kUnderline : 0) |
                    (font.strikethrough ? kStrikethrough : 0);
  return std::to_string(font.size_centipoints) + "," + std::to_string(font.weight) + "," +
         std::to_string(font.charset) + "," + std::to_string(flags) + "," + font.face;
}

bool ParseButtonFont(const std::string& text, FontDescription* font) {
  long long numbers[4] = {};
  const long long highs[4] = {1000000, 1000, 255, 7};
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = text.find(',', start);
    if (comma == std::string::npos) return false;
    if (!ParseWhole(text.substr(start, comma - start), 0, highs[i], &numbers[i])) return false;
    start = comma + 1;
  }
  font->size_centipoints = static_cast<int>(numbers[0]);
  font->weight = static_cast<int>(numbers[1]);
  font->charset = static_cast<int>(numbers[2]);
  font->italic = (numbers[3] & kItalic) != 0;
  font->underline = (numbers[3] & kUnderline) != 0;
  font->strikethrough = (numbers[3] & kStrikethrough) != 0;
  font->face = text.substr(start);
  return true;
}

ButtonProperties FreshButtonProperties(const FontDescription& ambient_font) {
  ButtonProperties properties;
  properties.enabled = false;
  properties.first_run = 0;
  properties.font = ambient_font;
  return properties;
}

void WriteButtonProperties(const ButtonProperties& properties, const FontDescription& ambient_font,
                           PropertyStore* store) {
  const ButtonProperties defaults;
  if (properties.enabled != defaults.enabled) store->Write(kPropEnabled, properties.enabled ? kTrue : kFalse);
  if (properties.caption != defaults.caption) store->Write(kPropCaption, properties.caption);
  if (properties.first_run != defaults.first_run) store->Write(kPropFirstRun, std::to_string(properties.first_run));
  if (properties.font != ambient_font) store->Write(kPropFont, FormatButtonFont(properties.font));
  if (properties.font_colour != defaults.font_colour) {
    store->Write(kPropFontColour, std::to_string(properties.font_colour));
  }
  if (properties.visible != defaults.visible) store->Write(kPropVisible, std::to_string(properties.visible));
}

ButtonProperties ReadButtonProperties(const PropertyStore& store, const FontDescription& ambient_font) {
  ButtonProperties properties;
  const std::string enabled = store.Read(kPropEnabled, kTrue);
  properties.enabled = enabled != kFalse;
  properties.caption = store.Read(kPropCaption, properties.caption);
  properties.font = ambient_font;
  if (store.Has(kPropFont)) ParseButtonFont(store.Read(kPropFont, ""), &properties.font);
  properties.first_run = static_cast<uint8_t>(ReadWhole(store, kPropFirstRun, 0, 255, 1));
  properties.font_colour = static_cast<uint32_t>(ReadWhole(store, kPropFontColour, 0, 0xFFFFFFFFLL, 0));
  properties.visible = static_cast<int16_t>(ReadWhole(store, kPropVisible, -32768, 32767, 1));
  return properties;
}

// --- Drawing geometry -------------------------------------------------------

std::array<FramePiece, 8> SkinFramePieces(int w, int h) {
  const int f = kSkinFrame;
  const int right = kSkinWidth - f;    // 60
  const int bottom = kSkinHeight - f;  // 21
  const int edge_w = kSkinWidth - 2 * f;   // 56
  const int edge_h = kSkinHeight - 2 * f;  // 17
  return {{
      {{0, 0, f, f}, {0, 0, f, f}},
      {{f, 0, edge_w, f}, {f, 0, w - 2 * f, f}},
      {{right, 0, f, f}, {w - f, 0, f, f}},
      {{right, f, f, edge_h}, {w - f, f, f, h - 2 * f}},
      {{right, bottom, f, f}, {w - f, h - f, f, f}},
      {{f, bottom, edge_w, f}, {f, h - f, w - 2 * f, f}},
      {{0, bottom, f, f}, {0, h - f, f, f}},
      {{0, f, f, edge_h}, {0, f, f, h - 2 * f}},
  }};
}

int CaptionTopTwips(int height_twips, int label_height_twips) {
  return static_cast<int>(RoundHalfEven((static_cast<double>(height_twips) - label_height_twips - 20) / 2));
}

ButtonGradient ButtonFaceGradient(bool reverse) {
  // "&HFFFFFF" and "&HC6C5D7", read as RRGGBB.
  const GradientColour white = {0xFF00, 0xFF00, 0xFF00, 0};
  const GradientColour lavender = {0xC600, 0xC500, 0xD700, 0};
  return reverse ? ButtonGradient{lavender, white} : ButtonGradient{white, lavender};
}
