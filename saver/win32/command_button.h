// The settings dialog's push button: a child window that paints a skinned
// frame over a gradient face into a kept image, shows its caption through a
// windowless label and answers the mouse only. The rules live in
// button_state.h; this class feeds them the window's messages and carries out
// the results.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "button_state.h"
#include "form_timer.h"
#include "picture_surface.h"

class CommandButton {
 public:
  CommandButton();
  ~CommandButton();
  CommandButton(const CommandButton&) = delete;
  CommandButton& operator=(const CommandButton&) = delete;

  // Creates the control window as a child of parent at rect (pixels, in the
  // parent's client area), with a tab stop and its caption label, and reads the
  // persisted properties from stored_properties (PropertyStore text; empty
  // gives a fresh control). False when the window cannot be made or the stored
  // text is malformed.
  bool Create(HWND parent, const RECT& rect, const std::string& stored_properties, const FontDescription& ambient_font);
  // State 1 and the hover timer on; draws nothing.
  void Initialize();

  void SetCaption(const char* utf8);
  std::string Caption() const;
  void SetEnabled(bool enabled);
  bool Enabled();  // the first read initialises a fresh control
  FontDescription Font() const;
  void SetFontColour(COLORREF colour);
  COLORREF FontColour();
  void SetVisible(bool visible);
  bool Visible();
  // The persisted properties, in order (PropertyStore text); redraws like any write of them.
  std::string StoredProperties();

  std::function<void()> on_click;
  // The key of a property that changed, for a host that persists them.
  std::function<void(const char* key)> on_property_changed;

  HWND window() const { return window_; }
  // The kept image: skin and gradient, without the caption.
  const PictureSurface& surface() const { return surface_; }
  ButtonState state() const { return model_.state; }
  ButtonSkin skin() const { return skin_; }
  // The caption label's place in pixels, in the control's client area.
  RECT CaptionRect() const;

  // Called by the window procedure.
  void MouseDown(MouseButton button);
  void MouseMove();
  void MouseUp(MouseButton button);
  void FocusChanged(bool gained);
  void TimerFired(UINT_PTR id);
  void Resized(int width, int height);
  void Paint(HDC dc) const;
  void WindowDestroyed();

 private:
  void Apply(const ButtonEvent& event);
  void DrawSkin(ButtonSkin skin);
  void FillGradient();
  void PlaceCaption();
  void UseFont(const FontDescription& font);
  void MarkChanged(const char* key);
  void TickHover();

  HWND window_ = nullptr;
  ButtonModel model_;
  ButtonSkin skin_ = ButtonSkin::kNone;
  ButtonProperties properties_;  // caption, font, colour and background style live here
  FontDescription ambient_font_;
  bool label_enabled_ = true;
  int caption_top_twips_ = 0;  // the caption label's place, in twips
  int label_width_twips_ = 0;
  bool ready_ = false;  // the properties are read; size changes redraw from now on
  int dpi_ = 96;
  HFONT font_ = nullptr;
  PictureSurface surface_;
  std::array<std::unique_ptr<PictureSurface>, 6> skins_;
  FormTimer hover_timer_;
};
