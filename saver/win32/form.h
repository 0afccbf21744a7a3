// The shell's small form runtime: a window built from a design, its elements
// (picture boxes, images, labels and shapes drawn without windows of their
// own, visible picture boxes as panels with windows, combo boxes, timers), and
// the load, resize, query-unload and unload events. All on the one UI thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "button_state.h"
#include "form_designs.h"
#include "form_timer.h"
#include "picture_surface.h"
#include "shell_ui.h"

struct FormElement {
  const ElementDesign* design;
  RECT rect;  // pixels, in its container's client area
  bool visible;
  std::unique_ptr<PictureSurface> picture;  // picture boxes and images; null for the rest
  HWND window = nullptr;   // a panel's or a combo box's own window
  HFONT font = nullptr;    // labels, panels and combo boxes; owned by the form
  std::wstring text;       // a label's caption
  std::function<void(MouseButton)> on_mouse_down;  // windowless elements, any button
  std::function<void()> on_click;                  // windowless elements: left press and release on it
  std::function<void(int step)> on_arrow;          // an option group: -1 for Up or Left, +1 for Down or Right
  std::function<void(bool focused)> on_focus;      // an option group gained or lost the keyboard focus
  bool focus_frame = false;                        // a label: the dotted focus frame around its text
};

class Form {
 public:
  explicit Form(const FormDesign& design);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden, with its elements and timers (design-enabled
  // timers start now), then raises on_load. False when the window cannot be made.
  bool Load();
  void Show();
  // Shows the form and runs messages until it is unloaded.
  void ShowModal();
  // Raises on_query_unload, then on_unload, then destroys the window.
  void Unload();

  bool loaded() const { return loaded_; }
  HWND window() const { return window_; }
  const FormDesign& design() const { return design_; }

  FormElement* Element(const char* name, int index = kNoIndex);
  PictureSurface* Picture(const char* name, int index = kNoIndex);
  FormTimer* Timer(const char* name);

  // The window an element lies in: its panel's, or the form's.
  HWND ContainerWindow(const FormElement& element) const;
  // A label's caption; a label sized to its text takes the new text's size.
  void SetText(FormElement& element, const std::wstring& text);
  // An image takes a copy of another element's picture, at that picture's size.
  void SetPicture(FormElement& element, const PictureSurface& source);
  // Shows or hides the dotted focus frame around a label's text.
  void ShowFocusFrame(FormElement& element, bool shown);
  // Shows what was drawn into the element's picture (a panel's kept image).
  void RefreshElement(const FormElement& element);
  // The form's kept image, the size of its client area: what is drawn into it stays.
  PictureSurface& Canvas();

  void SetClientSize(int width, int height);                // pixels
  void Move(int left, int top, int width, int height);      // outer rectangle, in the parent's coordinates
  void MoveElement(FormElement& element, int left, int top, int width, int height);  // pixels
  void Refresh();

  std::function<void()> on_create;  // the elements exist; hosted controls are made here
  std::function<void()> on_load;
  std::function<void()> on_resize;  // first when shown, then whenever the size changes
  std::function<void()> on_query_unload;  // never cancels the unload
  std::function<void()> on_unload;
  // The dialog keyboard's commands: IDCANCEL for Esc, or the button whose key was pressed.
  std::function<void(int id, HWND control)> on_command;

  // Called by the window procedure.
  void EraseBackground(HDC dc);
  void Paint(HDC dc);
  void PaintPanel(HWND panel, HDC dc);
  void MouseDown(HWND window, POINT point, MouseButton button);
  void MouseUp(HWND window, POINT point, MouseButton button);
  bool SetCursorAt(HWND window, POINT point);
  void OptionKey(HWND window, UINT key);
  void OptionFocus(HWND window, bool focused);
  void Resized();
  void FireTimer(UINT_PTR id);
  void WindowDestroyed();

 private:
  void BuildElements(int dpi);
  void BuildWindows(int dpi);
  HFONT MakeFont(const DesignFont& font, int dpi);
  // The element named as the design's container; nullptr for none (the form itself).
  const FormElement* ContainerElement(const ElementDesign& design) const;
  HFONT ContainerFont(const ElementDesign& design) const;
  void FitToText(FormElement& element);
  void PaintWindowless(HDC dc, const char* container) const;
  const char* ContainerOf(HWND window) const;  // nullptr for the form itself
  FormElement* ElementAt(const char* container, POINT point);
  FormElement* ElementOf(HWND window);

  const FormDesign& design_;
  HWND window_ = nullptr;
  HBRUSH background_ = nullptr;
  bool own_background_ = false;
  bool loaded_ = false;
  bool unloading_ = false;
  bool shown_ = false;
  PictureSurface picture_;  // the form's own picture, then its kept image, drawn at the top-left
  std::vector<HFONT> fonts_;
  FormElement* pressed_ = nullptr;  // the windowless element a mouse button went down on
  std::vector<FormElement> elements_;
  std::vector<std::unique_ptr<FormTimer>> timers_;
};

// Runs the UI thread's messages; returns once no form is loaded, or on a WM_QUIT.
void RunFormsMessageLoop();
