#include "form.h"

#include <cstring>

#include "resource_ids.h"

namespace {

constexpr wchar_t kFormClassName[] = L"SkylinerForm";
int loaded_forms = 0;

std::wstring Widen(const char* utf8) {
  if (!utf8 || !*utf8) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

COLORREF ColourOf(const DesignColour& colour) {
  return colour.window_colour ? GetSysColor(COLOR_WINDOW) : RGB(colour.red, colour.green, colour.blue);
}

DWORD StyleOf(FormBorder border) {
  return border == FormBorder::kNone ? WS_POPUP : WS_CAPTION | WS_SYSMENU;  // fixed: no maximise, no minimise
}

Form* FormOf(HWND hwnd) { return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// WM_NCCREATE: the form rides along in the creation parameters.
void OnNcCreate(HWND hwnd, LPARAM lparam) {
  const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

// WM_ERASEBKGND: the form's background colour.
LRESULT OnEraseBackground(Form& form, HDC dc) {
  form.EraseBackground(dc);
  return 1;
}

// WM_PAINT: the form's picture, then the visible windowless elements.
void OnPaint(Form& form, HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) form.Paint(dc);
  EndPaint(hwnd, &paint);
}

// WM_TIMER: the form's timer of that id.
void OnTimer(Form& form, WPARAM id) { form.FireTimer(id); }

// WM_CLOSE: a close request unloads the form, events and all.
void OnClose(Form& form) { form.Unload(); }

// WM_QUERYENDSESSION: the system is shutting down; the form unloads as for any other reason.
LRESULT OnQueryEndSession(Form& form) {
  form.Unload();
  return TRUE;
}

// WM_ENDSESSION: a form still loaded when the session really ends unloads now.
void OnEndSession(Form& form, WPARAM ending) {
  if (ending) form.Unload();
}

// WM_DESTROY: the window is gone, whoever destroyed it (a preview's parent takes its children along).
void OnDestroy(Form& form) { form.WindowDestroyed(); }

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) OnNcCreate(hwnd, lParam);
  Form* form = FormOf(hwnd);
  if (form) {
    switch (message) {
      case WM_ERASEBKGND: return OnEraseBackground(*form, reinterpret_cast<HDC>(wParam));
      case WM_PAINT: OnPaint(*form, hwnd); return 0;
      case WM_TIMER: OnTimer(*form, wParam); return 0;
      case WM_CLOSE: OnClose(*form); return 0;
      case WM_QUERYENDSESSION: return OnQueryEndSession(*form);
      case WM_ENDSESSION: OnEndSession(*form, wParam); return 0;
      case WM_DESTROY: OnDestroy(*form); return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterFormClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = FormWindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = kFormClassName;
  registered = RegisterClassExW(&window_class) != 0;
  return registered;
}

// Loads a design picture into the surface; false when there is none or it is missing.
bool LoadDesignPicture(PictureSurface& surface, DesignPicture picture) {
  const int id = PictureResourceId(picture);
  return id != 0 && surface.LoadPictureResource(GetModuleHandleW(nullptr), id);
}

}  // namespace

int PictureResourceId(DesignPicture picture) {
  switch (picture) {
    case DesignPicture::kSky: return IDB_SKY;
    case DesignPicture::kPuff: return IDB_PUFF;
    case DesignPicture::kPreview: return IDB_PREVIEW;
    case DesignPicture::kPreviewBackground: return IDB_PREVIEW_BACKGROUND;
    case DesignPicture::kNone: break;
  }
  return 0;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

Form::Form(const FormDesign& design) : design_(design) {}

Form::~Form() {
  timers_.clear();
  if (window_) {
    unloading_ = true;  // no events from a form being discarded
    DestroyWindow(window_);
  }
  if (own_background_) DeleteObject(background_);
}

bool Form::Load() {
  if (loaded_) return true;
  if (!RegisterFormClass()) return false;
  const int dpi = ScreenDpi();
  const DWORD style = StyleOf(design_.border);
  RECT outer = {0, 0, TwipsToPixels(design_.client_width, dpi), TwipsToPixels(design_.client_height, dpi)};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  const int position = design_.start_position == FormStartPosition::kDefault ? CW_USEDEFAULT : 0;
  if (!background_) {
    own_background_ = !design_.background.window_colour;
    background_ = own_background_ ? CreateSolidBrush(ColourOf(design_.background)) : GetSysColorBrush(COLOR_WINDOW);
  }
  window_ = CreateWindowExW(0, kFormClassName, Widen(design_.caption).c_str(), style, position, position,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) return false;
  loaded_ = true;
  unloading_ = false;
  ++loaded_forms;
  LoadDesignPicture(picture_, design_.picture);
  BuildElements(dpi);
  if (on_load) on_load();
  return true;
}

void Form::BuildElements(int dpi) {
  elements_.clear();
  timers_.clear();
  for (size_t i = 0; i < design_.element_count; ++i) {
    const ElementDesign& design = design_.elements[i];
    if (design.kind == ElementKind::kTimer) {
      timers_.push_back(std::make_unique<FormTimer>(design.name, i + 1, design.timer_interval_ms));
      timers_.back()->Attach(window_);
      timers_.back()->SetEnabled(design.timer_enabled);
      continue;
    }
    FormElement element = {&design, {}, design.visible, nullptr};
    element.rect.left = TwipsToPixels(design.left, dpi);
    element.rect.top = TwipsToPixels(design.top, dpi);
    element.rect.right = element.rect.left + TwipsToPixels(design.width, dpi);
    element.rect.bottom = element.rect.top + TwipsToPixels(design.height, dpi);
    if (design.kind == ElementKind::kPictureBox || design.kind == ElementKind::kImage) {
      element.picture = std::make_unique<PictureSurface>();
      if (!LoadDesignPicture(*element.picture, design.picture) && design.kind == ElementKind::kPictureBox) {
        element.picture->Resize(element.rect.right - element.rect.left, element.rect.bottom - element.rect.top,
                                ColourOf(design.background));
      }
      if (design.sized_to_picture && element.picture->width() > 0) {
        element.rect.right = element.rect.left + element.picture->width();
        element.rect.bottom = element.rect.top + element.picture->height();
      }
    }
    elements_.push_back(std::move(element));
  }
}

void Form::Show() {
  if (!window_) return;
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Form::ShowModal() {
  Show();
  MSG message;
  while (loaded_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Form::Unload() {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  if (on_query_unload) on_query_unload();
  if (on_unload) on_unload();
  for (auto& timer : timers_) timer->SetEnabled(false);
  if (window_) DestroyWindow(window_);
  if (loaded_) WindowDestroyed();  // a window that would not go still counts as unloaded
}

void Form::WindowDestroyed() {
  for (auto& timer : timers_) timer->Attach(nullptr);
  window_ = nullptr;
  if (!loaded_) return;
  loaded_ = false;
  // The loop looks at the count after each message. A window destroyed from
  // another process (a preview's parent) is handled inside GetMessage, so a
  // harmless thread message wakes the loop to look.
  if (--loaded_forms == 0) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

FormElement* Form::Element(const char* name, int index) {
  for (FormElement& element : elements_) {
    if (element.design->index == index && std::strcmp(element.design->name, name) == 0) return &element;
  }
  return nullptr;
}

PictureSurface* Form::Picture(const char* name, int index) {
  FormElement* element = Element(name, index);
  return element ? element->picture.get() : nullptr;
}

FormTimer* Form::Timer(const char* name) {
  for (auto& timer : timers_) {
    if (timer->name() == name) return timer.get();
  }
  return nullptr;
}

FormTimer& Form::AddTimer(const char* name, unsigned interval_ms) {
  timers_.push_back(std::make_unique<FormTimer>(name, design_.element_count + timers_.size() + 1, interval_ms));
  timers_.back()->Attach(window_);
  return *timers_.back();
}

void Form::SetClientSize(int width, int height) {
  if (!window_) return;
  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)));
  SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Move(int left, int top, int width, int height) {
  if (window_) MoveWindow(window_, left, top, width, height, TRUE);
}

void Form::MoveElement(FormElement& element, int left, int top, int width, int height) {
  if (window_) InvalidateRect(window_, &element.rect, TRUE);
  element.rect = {left, top, left + width, top + height};
  // A picture box keeps its image across a resize; an image keeps its picture's own size.
  if (element.picture && element.design->kind == ElementKind::kPictureBox) {
    element.picture->Resize(width, height, ColourOf(element.design->background));
  }
  if (window_) InvalidateRect(window_, &element.rect, TRUE);
}

void Form::Refresh() {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void Form::EraseBackground(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  FillRect(dc, &client, background_);
}

void Form::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  picture_.Draw(dc, 0, 0, client);
  for (const FormElement& element : elements_) {
    if (element.visible && element.picture) element.picture->Draw(dc, element.rect.left, element.rect.top, element.rect);
  }
}

void Form::FireTimer(UINT_PTR id) {
  for (auto& timer : timers_) {
    if (timer->id() == id) {
      timer->Tick();
      return;
    }
  }
}

// A WM_QUIT ends the loop as well.
void RunFormsMessageLoop() {
  MSG message;
  while (loaded_forms > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
