#include "form.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "resource_ids.h"
#include "shell_font.h"
#include "text_encoding.h"

namespace {

constexpr wchar_t kFormClassName[] = L"SkylinerForm";
constexpr wchar_t kPanelClassName[] = L"SkylinerPanel";
constexpr wchar_t kOptionGroupClassName[] = L"SkylinerOptionGroup";
constexpr int kComboListHeight = 200;  // the dropped list's room below the text field, pixels
int loaded_forms = 0;

COLORREF ColourOf(const DesignColour& colour) {
  return colour.window_colour ? GetSysColor(COLOR_WINDOW) : RGB(colour.red, colour.green, colour.blue);
}

DWORD StyleOf(FormBorder border) {
  // Fixed single: a title bar and a close box, no maximise, no minimise, no sizing frame.
  return WS_CLIPCHILDREN | (border == FormBorder::kNone ? WS_POPUP : WS_CAPTION | WS_SYSMENU);
}

POINT PointOf(LPARAM lparam) {
  POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  return point;
}

// The form a window of the form or of one of its panels belongs to.
Form* FormOf(HWND hwnd) { return static_cast<Form*>(WindowOwner(hwnd)); }

// WM_SIZE: the form's resize event.
void OnSize(HWND hwnd, UINT, int, int) { FormOf(hwnd)->Resized(); }

// WM_ERASEBKGND: the form's background colour.
BOOL OnEraseBackground(HWND hwnd, HDC dc) {
  FormOf(hwnd)->EraseBackground(dc);
  return TRUE;
}

// WM_PAINT: the form's picture, then the visible windowless elements.
void OnPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) FormOf(hwnd)->Paint(dc);
  EndPaint(hwnd, &paint);
}

// WM_TIMER: the form's timer of that id.
void OnTimer(HWND hwnd, UINT id) { FormOf(hwnd)->FireTimer(id); }

// WM_CLOSE: a close request unloads the form, events and all.
void OnClose(HWND hwnd) { FormOf(hwnd)->Unload(); }

// WM_QUERYENDSESSION: the system is shutting down; the form unloads as for any other reason.
BOOL OnQueryEndSession(HWND hwnd) {
  FormOf(hwnd)->Unload();
  return TRUE;
}

// WM_ENDSESSION: a form still loaded when the session really ends unloads now.
void OnEndSession(HWND hwnd, BOOL ending) {
  if (ending) FormOf(hwnd)->Unload();
}

// WM_COMMAND: a dialog key's command: IDCANCEL for Esc, BN_CLICKED from a focused button's key.
void OnCommand(HWND hwnd, int id, HWND control, UINT) {
  Form* form = FormOf(hwnd);
  if (form->on_command) form->on_command(id, control);
}

// WM_DESTROY: the window is gone, whoever destroyed it (a preview's parent takes its children along).
void OnDestroy(HWND hwnd) { FormOf(hwnd)->WindowDestroyed(); }

// WM_xBUTTONDOWN / WM_xBUTTONUP on the form or a panel: the windowless element under the pointer.
LRESULT OnMouseDown(HWND hwnd, UINT message, LPARAM lparam) {
  FormOf(hwnd)->MouseDown(hwnd, PointOf(lparam), PressOf(message));
  return 0;
}
LRESULT OnMouseUp(HWND hwnd, UINT message, LPARAM lparam) {
  FormOf(hwnd)->MouseUp(hwnd, PointOf(lparam), PressOf(message));
  return 0;
}

// WM_SETCURSOR over the client area: the pointer of the element under it.
BOOL OnSetCursor(HWND hwnd, HWND cursor_window, UINT hit_test, UINT message) {
  POINT point;
  if (hit_test == HTCLIENT && GetCursorPos(&point) && ScreenToClient(hwnd, &point) &&
      FormOf(hwnd)->SetCursorAt(hwnd, point))
    return TRUE;
  return FORWARD_WM_SETCURSOR(hwnd, cursor_window, hit_test, message, DefWindowProcW);
}

// WM_ERASEBKGND of a panel: the kept image covers it all.
BOOL OnPanelEraseBackground(HWND, HDC) { return TRUE; }

// WM_PAINT of a panel: its kept image, then its windowless elements.
void OnPanelPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) FormOf(hwnd)->PaintPanel(hwnd, dc);
  EndPaint(hwnd, &paint);
}

// WM_KEYDOWN on a panel, which holds the focus after a click on it: Tab walks
// into its controls, as from a picture box's own stop to the next; Shift+Tab,
// or a panel with no stop, goes on past it as the dialog keyboard would.
void OnPanelKey(HWND hwnd, UINT key, BOOL, int, UINT) {
  if (key != VK_TAB) return;
  const bool back = GetKeyState(VK_SHIFT) < 0;
  HWND next = back ? nullptr : GetNextDlgTabItem(hwnd, nullptr, FALSE);
  if (!next || !IsChild(hwnd, next)) next = GetNextDlgTabItem(GetAncestor(hwnd, GA_ROOT), hwnd, back);
  if (next) SetFocus(next);
}

// HANDLE_MSG expects the parameters to be named wParam and lParam.
// The messages the form and its panels share: the mouse and the pointer.
LRESULT OnContainerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: return OnMouseDown(hwnd, message, lParam);
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: return OnMouseUp(hwnd, message, lParam);
    HANDLE_MSG(hwnd, WM_SETCURSOR, OnSetCursor);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!KeepWindowOwner(hwnd, message, lParam)) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    HANDLE_MSG(hwnd, WM_SIZE, OnSize);
    HANDLE_MSG(hwnd, WM_ERASEBKGND, OnEraseBackground);
    HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
    HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
    HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
    HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
    HANDLE_MSG(hwnd, WM_QUERYENDSESSION, OnQueryEndSession);
    HANDLE_MSG(hwnd, WM_ENDSESSION, OnEndSession);
    HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
  }
  return OnContainerMessage(hwnd, message, wParam, lParam);
}

// A visible picture box that holds elements: a child window of the form.
LRESULT CALLBACK PanelWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!KeepWindowOwner(hwnd, message, lParam)) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    HANDLE_MSG(hwnd, WM_ERASEBKGND, OnPanelEraseBackground);
    HANDLE_MSG(hwnd, WM_PAINT, OnPanelPaint);
    case WM_GETDLGCODE: return DLGC_WANTTAB;
    HANDLE_MSG(hwnd, WM_KEYDOWN, OnPanelKey);
  }
  return OnContainerMessage(hwnd, message, wParam, lParam);
}

// WM_KEYDOWN on an option group's stop: the arrows are the group's.
void OnOptionKey(HWND hwnd, UINT key, BOOL, int, UINT) { FormOf(hwnd)->OptionKey(hwnd, key); }

// WM_SETFOCUS and WM_KILLFOCUS of an option group's stop.
void OnOptionSetFocus(HWND hwnd, HWND) { FormOf(hwnd)->OptionFocus(hwnd, true); }
void OnOptionKillFocus(HWND hwnd, HWND) { FormOf(hwnd)->OptionFocus(hwnd, false); }

// An option group's keyboard stop: a window of no size, so the group's rows
// stay windowless; the dialog keyboard leaves it the arrow keys.
LRESULT CALLBACK OptionGroupWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!KeepWindowOwner(hwnd, message, lParam)) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    HANDLE_MSG(hwnd, WM_KEYDOWN, OnOptionKey);
    HANDLE_MSG(hwnd, WM_SETFOCUS, OnOptionSetFocus);
    HANDLE_MSG(hwnd, WM_KILLFOCUS, OnOptionKillFocus);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterFormClass() {
  static const bool registered = RegisterShellWindowClass(kFormClassName, FormWindowProc) &&
                                 RegisterShellWindowClass(kPanelClassName, PanelWindowProc) &&
                                 RegisterShellWindowClass(kOptionGroupClassName, OptionGroupWindowProc);
  return registered;
}

HCURSOR CursorOf(DesignCursor cursor) {
  if (cursor == DesignCursor::kHand) {
    HCURSOR hand = static_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER), IMAGE_CURSOR, 0, 0, LR_SHARED));
    if (hand) return hand;
  }
  return LoadCursor(nullptr, IDC_ARROW);
}

// The design's icon, large and small, for the title bar and the task switcher.
void SetFormIcon(HWND window) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  const struct {
    WPARAM kind;
    int size;
  } icons[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON)}, {ICON_SMALL, GetSystemMetrics(SM_CXSMICON)}};
  for (const auto& icon : icons) {
    HANDLE handle = LoadImageW(module, MAKEINTRESOURCEW(IDI_DIALOG), IMAGE_ICON, icon.size, icon.size, LR_SHARED);
    if (handle) SendMessageW(window, WM_SETICON, icon.kind, reinterpret_cast<LPARAM>(handle));
  }
}

bool SameContainer(const char* a, const char* b) {
  return a == b || (a && b && std::strcmp(a, b) == 0);
}

bool IsWindowless(const FormElement& element) {
  const ElementKind kind = element.design->kind;
  return !element.window && (kind == ElementKind::kImage || kind == ElementKind::kLabel ||
                             kind == ElementKind::kShape || kind == ElementKind::kPictureBox);
}

// The dotted frame around a label's text, one pixel clear of it.
RECT FocusFrameOf(const FormElement& element) {
  RECT frame = element.rect;
  InflateRect(&frame, 1, 1);
  return frame;
}

void DrawLabel(HDC dc, const FormElement& element) {
  const ElementDesign& design = *element.design;
  RECT text = element.rect;
  if (!design.transparent) {
    FillSolid(dc, text, ColourOf(design.background));
  }
  if (design.border) {
    HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
    FrameRect(dc, &text, frame);
    DeleteObject(frame);
    InflateRect(&text, -1, -1);
  }
  HGDIOBJ old_font = element.font ? SelectObject(dc, element.font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourOf(design.foreground));
  const UINT format = (design.centred ? DT_CENTER : DT_LEFT) | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
  DrawTextW(dc, element.text.c_str(), static_cast<int>(element.text.size()), &text, format);
  if (old_font) SelectObject(dc, old_font);
  if (element.focus_frame) {
    const RECT frame = FocusFrameOf(element);
    SetTextColor(dc, RGB(0, 0, 0));  // the dotted pattern's gaps leave the metal, its dots invert it
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &frame);
  }
}

void DrawShape(HDC dc, const FormElement& element) {
  HBRUSH frame = CreateSolidBrush(ColourOf(element.design->foreground));
  FrameRect(dc, &element.rect, frame);
  DeleteObject(frame);
}

// Loads a design picture into the surface; false when there is none or it is missing.
bool LoadDesignPicture(PictureSurface& surface, DesignPicture picture) {
  const int id = PictureResourceId(picture);
  return id != 0 && surface.LoadPictureResource(GetModuleHandleW(nullptr), id);
}

}  // namespace

Form::Form(const FormDesign& design) : design_(design) {}

Form::~Form() {
  timers_.clear();
  if (window_) {
    unloading_ = true;  // no events from a form being discarded
    DestroyWindow(window_);
  }
  if (own_background_) DeleteObject(background_);
  for (HFONT font : fonts_) DeleteObject(font);
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
  window_ = CreateWindowExW(0, kFormClassName, WidenUtf8(design_.caption).c_str(), style, position, position,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) return false;
  loaded_ = true;
  unloading_ = false;
  ++loaded_forms;
  if (design_.icon) SetFormIcon(window_);
  LoadDesignPicture(picture_, design_.picture);
  BuildElements(dpi);
  BuildWindows(dpi);
  if (on_create) on_create();
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
    FormElement element;
    element.design = &design;
    element.rect = RECT();
    element.visible = design.visible;
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
    if (design.kind == ElementKind::kLabel) {
      element.text = WidenUtf8(design.caption);
      element.font = MakeFont(design.font, dpi);
      if (design.auto_size) FitToText(element);
    }
    elements_.push_back(std::move(element));
  }
}

// Panels first, so the controls inside them have their parent.
void Form::BuildWindows(int dpi) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (FormElement& element : elements_) {
    const ElementDesign& design = *element.design;
    if (design.kind != ElementKind::kPictureBox || !design.visible) continue;
    element.font = MakeFont(design.font, dpi);
    // A control parent: the dialog keyboard walks into the panel's controls.
    element.window = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClassName, L"",
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, element.rect.left,
                                     element.rect.top, element.rect.right - element.rect.left,
                                     element.rect.bottom - element.rect.top, window_, nullptr, module, this);
  }
  for (FormElement& element : elements_) {
    const ElementDesign& design = *element.design;
    if (design.kind != ElementKind::kComboBox) continue;
    const int height = element.rect.bottom - element.rect.top;
    // ANSI: the entries are plain digits in the system's code page.
    element.window = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                                     CBS_AUTOHSCROLL, element.rect.left, element.rect.top,
                                     element.rect.right - element.rect.left, height + kComboListHeight,
                                     ContainerWindow(element), nullptr, module, nullptr);
    if (!element.window) continue;
    element.font = design.font.face ? MakeFont(design.font, dpi) : ContainerFont(design);
    if (element.font) SendMessageW(element.window, WM_SETFONT, reinterpret_cast<WPARAM>(element.font), FALSE);
    // The closed box keeps the design's height: the text field takes what the frame leaves.
    RECT closed;
    GetWindowRect(element.window, &closed);
    const LRESULT field = SendMessageW(element.window, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (field > 0 && closed.bottom - closed.top != height) {
      SendMessageW(element.window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                   field + height - (closed.bottom - closed.top));
    }
  }
  for (FormElement& element : elements_) {
    if (element.design->kind != ElementKind::kOptionGroup) continue;
    element.window = CreateWindowExW(0, kOptionGroupClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                     element.rect.left, element.rect.top, 0, 0, ContainerWindow(element), nullptr,
                                     module, this);
  }
}

HFONT Form::MakeFont(const DesignFont& font, int dpi) {
  if (!font.face) return nullptr;
  HFONT made = CreateShellFont(FontDescriptionOf(font), dpi);
  if (made) fonts_.push_back(made);
  return made;
}

const FormElement* Form::ContainerElement(const ElementDesign& design) const {
  if (!design.container) return nullptr;
  for (const FormElement& element : elements_) {
    if (std::strcmp(element.design->name, design.container) == 0) return &element;
  }
  return nullptr;
}

HFONT Form::ContainerFont(const ElementDesign& design) const {
  const FormElement* container = ContainerElement(design);
  return container ? container->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// A label sized to its text: one line, as wide and high as the text in its font.
void Form::FitToText(FormElement& element) {
  HDC dc = GetDC(nullptr);
  if (!dc) return;
  HGDIOBJ old_font = element.font ? SelectObject(dc, element.font) : nullptr;
  RECT size = {0, 0, 0, 0};
  const wchar_t* text = element.text.empty() ? L" " : element.text.c_str();  // an empty label keeps a line's height
  DrawTextW(dc, text, -1, &size, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  if (element.text.empty()) size.right = 0;
  if (old_font) SelectObject(dc, old_font);
  ReleaseDC(nullptr, dc);
  element.rect.right = element.rect.left + size.right;
  element.rect.bottom = element.rect.top + size.bottom;
}

HWND Form::ContainerWindow(const FormElement& element) const {
  const FormElement* panel = ContainerElement(*element.design);
  return panel && panel->window ? panel->window : window_;
}

const char* Form::ContainerOf(HWND window) const {
  for (const FormElement& element : elements_) {
    if (element.window == window && element.design->kind == ElementKind::kPictureBox) return element.design->name;
  }
  return nullptr;
}

void Form::SetText(FormElement& element, const std::wstring& text) {
  HWND container = ContainerWindow(element);
  InvalidateRect(container, &element.rect, TRUE);
  element.text = text;
  if (element.design->auto_size) FitToText(element);
  InvalidateRect(container, &element.rect, TRUE);
}

void Form::SetPicture(FormElement& element, const PictureSurface& source) {
  if (!element.picture) return;
  if (element.picture->Resize(source.width(), source.height(), RGB(0, 0, 0)) && source.dc()) {
    BitBlt(element.picture->dc(), 0, 0, source.width(), source.height(), source.dc(), 0, 0, SRCCOPY);
  }
  RefreshElement(element);
}

void Form::ShowFocusFrame(FormElement& element, bool shown) {
  if (element.focus_frame == shown) return;
  element.focus_frame = shown;
  const RECT frame = FocusFrameOf(element);
  InvalidateRect(ContainerWindow(element), &frame, TRUE);
}

void Form::RefreshElement(const FormElement& element) {
  if (element.window) {
    InvalidateRect(element.window, nullptr, FALSE);
  } else {
    InvalidateRect(ContainerWindow(element), &element.rect, TRUE);
  }
}

PictureSurface& Form::Canvas() {
  RECT client = {0, 0, 0, 0};
  if (window_) GetClientRect(window_, &client);
  if (picture_.width() < client.right || picture_.height() < client.bottom) {
    picture_.Resize(std::max(picture_.width(), static_cast<int>(client.right)),
                    std::max(picture_.height(), static_cast<int>(client.bottom)), ColourOf(design_.background));
  }
  return picture_;
}

void Form::Show() {
  if (!window_) return;
  if (!shown_) {
    shown_ = true;
    if (on_resize) on_resize();  // the form gets its size for the first time
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Form::ShowModal() {
  Show();
  RunMessagesWhile([this] { return loaded_; });
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
  pressed_ = nullptr;
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
  PaintWindowless(dc, nullptr);
}

void Form::PaintPanel(HWND panel, HDC dc) {
  for (const FormElement& element : elements_) {
    if (element.window != panel || !element.picture) continue;
    RECT client;
    GetClientRect(panel, &client);
    element.picture->Draw(dc, 0, 0, client);
    PaintWindowless(dc, element.design->name);
    return;
  }
}

// In design order, so later elements lie on top.
void Form::PaintWindowless(HDC dc, const char* container) const {
  for (const FormElement& element : elements_) {
    if (!element.visible || !IsWindowless(element) || !SameContainer(element.design->container, container)) continue;
    switch (element.design->kind) {
      case ElementKind::kLabel: DrawLabel(dc, element); break;
      case ElementKind::kShape: DrawShape(dc, element); break;
      default:
        if (element.picture) element.picture->Draw(dc, element.rect.left, element.rect.top, element.rect);
        break;
    }
  }
}

// The topmost visible windowless element under the point; shapes take no mouse.
FormElement* Form::ElementAt(const char* container, POINT point) {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
    FormElement& element = *it;
    if (!element.visible || !IsWindowless(element) || element.design->kind == ElementKind::kShape) continue;
    if (SameContainer(element.design->container, container) && PtInRect(&element.rect, point)) return &element;
  }
  return nullptr;
}

void Form::MouseDown(HWND window, POINT point, MouseButton button) {
  if (ContainerOf(window)) SetFocus(window);  // a panel takes the focus, as a picture box does
  FormElement* element = ElementAt(ContainerOf(window), point);
  if (!element) return;
  pressed_ = element;
  SetCapture(window);
  if (element->on_mouse_down) element->on_mouse_down(button);
}

// A click is a left press and release on the same element.
void Form::MouseUp(HWND window, POINT point, MouseButton button) {
  FormElement* pressed = pressed_;
  pressed_ = nullptr;
  if (GetCapture() == window) ReleaseCapture();
  if (button == MouseButton::kLeft && pressed && pressed == ElementAt(ContainerOf(window), point) &&
      pressed->on_click) {
    pressed->on_click();
  }
}

FormElement* Form::ElementOf(HWND window) {
  for (FormElement& element : elements_) {
    if (window && element.window == window) return &element;
  }
  return nullptr;
}

void Form::OptionKey(HWND window, UINT key) {
  const int step = key == VK_UP || key == VK_LEFT ? -1 : key == VK_DOWN || key == VK_RIGHT ? 1 : 0;
  FormElement* group = ElementOf(window);
  if (step && group && group->on_arrow) group->on_arrow(step);
}

void Form::OptionFocus(HWND window, bool focused) {
  FormElement* group = ElementOf(window);
  if (group && group->on_focus) group->on_focus(focused);
}

bool Form::SetCursorAt(HWND window, POINT point) {
  if (CurrentScreenPointer() == ScreenPointer::kHourglass) {
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return true;
  }
  FormElement* element = ElementAt(ContainerOf(window), point);
  SetCursor(CursorOf(element ? element->design->cursor : DesignCursor::kDefault));
  return true;
}

void Form::Resized() {
  if (loaded_ && shown_ && on_resize) on_resize();
}

void Form::FireTimer(UINT_PTR id) {
  for (auto& timer : timers_) {
    if (timer->id() == id) {
      timer->Tick();
      return;
    }
  }
}

void RunFormsMessageLoop() {
  RunMessagesWhile([] { return loaded_forms > 0; });
}
