// The shell's small form runtime: a window built from a design, its elements
// (picture boxes and images drawn without windows of their own, timers), and
// the load, query-unload and unload events. All on the one UI thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "form_designs.h"
#include "form_timer.h"
#include "picture_surface.h"

struct FormElement {
  const ElementDesign* design;
  RECT rect;  // pixels, in the form's client area
  bool visible;
  std::unique_ptr<PictureSurface> picture;  // picture boxes and images; null for timers
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
  // A timer the code adds beside those of the design.
  FormTimer& AddTimer(const char* name, unsigned interval_ms);

  void SetClientSize(int width, int height);                // pixels
  void Move(int left, int top, int width, int height);      // outer rectangle, in the parent's coordinates
  void MoveElement(FormElement& element, int left, int top, int width, int height);  // pixels
  void Refresh();

  std::function<void()> on_load;
  std::function<void()> on_query_unload;  // never cancels the unload
  std::function<void()> on_unload;

  // Called by the window procedure.
  void EraseBackground(HDC dc);
  void Paint(HDC dc);
  void FireTimer(UINT_PTR id);
  void WindowDestroyed();

 private:
  void BuildElements(int dpi);

  const FormDesign& design_;
  HWND window_ = nullptr;
  HBRUSH background_ = nullptr;
  bool own_background_ = false;
  bool loaded_ = false;
  bool unloading_ = false;
  PictureSurface picture_;  // the form's own picture, drawn at the top-left
  std::vector<FormElement> elements_;
  std::vector<std::unique_ptr<FormTimer>> timers_;
};

// Runs the UI thread's messages; returns once no form is loaded.
void RunFormsMessageLoop();

// Dots per inch of the screen, for twips conversions.
int ScreenDpi();

// The bitmap resource holding a design picture; 0 for none.
int PictureResourceId(DesignPicture picture);
