#include "command_button.h"

#include <windowsx.h>

#include "shell_ui.h"
#include "form_designs.h"
#include "late_library.h"
#include "resource_ids.h"
#include "shell_font.h"
#include "text_encoding.h"

namespace {

constexpr wchar_t kButtonClassName[] = L"SkylinerCommand";
constexpr UINT_PTR kHoverTimerId = 1;
// The caption label's design: Top 90 and Width 1635 until the first drawing places it; 195 high.
constexpr int kLabelDesignTop = 90;
constexpr int kLabelDesignWidth = 1635;
constexpr int kLabelHeight = 195;
constexpr int kMaxTwips = 32767;  // geometry is held in 16-bit twips

// The skin resource of each look, in the order of skins_.
constexpr int kSkinResources[] = {IDB_BUTTON_NORMAL,   IDB_BUTTON_HIGHLIGHT, IDB_BUTTON_HIGHLIGHT_SELECT,
                                  IDB_BUTTON_SELECTED, IDB_BUTTON_PRESSED,   IDB_BUTTON_DISABLE};

int SkinIndex(ButtonSkin skin) {
  switch (skin) {
    case ButtonSkin::kNormal: return 0;
    case ButtonSkin::kHighLight: return 1;
    case ButtonSkin::kHighLightSelect: return 2;
    case ButtonSkin::kSelected: return 3;
    case ButtonSkin::kPressed: return 4;
    case ButtonSkin::kDisable: return 5;
    case ButtonSkin::kNone: break;
  }
  return -1;
}


// A colour value as the properties hold it: RGB, or a system colour with the high bit set.
COLORREF ResolveColour(uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

CommandButton* ButtonOf(HWND hwnd) { return static_cast<CommandButton*>(WindowOwner(hwnd)); }

// WM_xBUTTONDOWN: the capture keeps the release coming when it happens outside.
LRESULT OnButtonDown(HWND hwnd, UINT message) {
  SetCapture(hwnd);
  ButtonOf(hwnd)->MouseDown(PressOf(message));
  return 0;
}

// WM_xBUTTONUP: the capture ends with the last button; the Click may end the host, so nothing follows it.
LRESULT OnButtonUp(HWND hwnd, UINT message, WPARAM keys) {
  if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ReleaseCapture();
  ButtonOf(hwnd)->MouseUp(PressOf(message));
  return 0;
}

// WM_MOUSEMOVE: the hover rules.
void OnMouseMove(HWND hwnd, int, int, UINT) { ButtonOf(hwnd)->MouseMove(); }

// WM_SETFOCUS and WM_KILLFOCUS: the focus look.
void OnSetFocus(HWND hwnd, HWND) { ButtonOf(hwnd)->FocusChanged(true); }
void OnKillFocus(HWND hwnd, HWND) { ButtonOf(hwnd)->FocusChanged(false); }

// WM_TIMER: the hover timer.
void OnTimer(HWND hwnd, UINT id) { ButtonOf(hwnd)->TimerFired(id); }

// WM_SIZE: the new size redraws the enabled look.
void OnSize(HWND hwnd, UINT, int width, int height) { ButtonOf(hwnd)->Resized(width, height); }

// WM_ERASEBKGND: the kept image covers everything.
BOOL OnEraseBackground(HWND, HDC) { return TRUE; }

// WM_PAINT: the kept image and the caption; nothing is composed here.
void OnPaint(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) ButtonOf(hwnd)->Paint(dc);
  EndPaint(hwnd, &paint);
}

// WM_PRINTCLIENT: the same picture into the given context.
LRESULT OnPrintClient(HWND hwnd, HDC dc) {
  ButtonOf(hwnd)->Paint(dc);
  return 0;
}

// WM_NCDESTROY: the control lets go of its window; the system's own clean-up follows.
void OnNcDestroy(HWND hwnd) {
  ButtonOf(hwnd)->WindowDestroyed();
  FORWARD_WM_NCDESTROY(hwnd, DefWindowProcW);
}

// HANDLE_MSG expects the parameters to be named wParam and lParam.
LRESULT CALLBACK CommandButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!KeepWindowOwner(hwnd, message, lParam)) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: return OnButtonDown(hwnd, message);
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: return OnButtonUp(hwnd, message, wParam);
    case WM_PRINTCLIENT: return OnPrintClient(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_GETDLGCODE: return DLGC_BUTTON;  // the dialog presses it for Space and Return; it takes no key itself
    HANDLE_MSG(hwnd, WM_MOUSEMOVE, OnMouseMove);
    HANDLE_MSG(hwnd, WM_SETFOCUS, OnSetFocus);
    HANDLE_MSG(hwnd, WM_KILLFOCUS, OnKillFocus);
    HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
    HANDLE_MSG(hwnd, WM_SIZE, OnSize);
    HANDLE_MSG(hwnd, WM_ERASEBKGND, OnEraseBackground);
    HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
    HANDLE_MSG(hwnd, WM_NCDESTROY, OnNcDestroy);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterButtonClass() {
  static const bool registered = RegisterShellWindowClass(kButtonClassName, CommandButtonProc);
  return registered;
}

}  // namespace

CommandButton::CommandButton() : hover_timer_("TmrMouse", kHoverTimerId, kHoverIntervalMs) {
  hover_timer_.on_tick = [this] { TickHover(); };
}

CommandButton::~CommandButton() {
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

bool CommandButton::Create(HWND parent, const RECT& rect, const std::string& stored_properties,
                           const FontDescription& ambient_font) {
  if (window_) return false;
  PropertyStore store;
  if (!stored_properties.empty() && !PropertyStore::Parse(stored_properties, &store)) return false;
  ambient_font_ = ambient_font;
  properties_ = stored_properties.empty() ? FreshButtonProperties(ambient_font) : ReadButtonProperties(store, ambient_font);
  model_ = ButtonModel();
  model_.enabled = properties_.enabled;
  model_.first_run = properties_.first_run;
  caption_top_twips_ = kLabelDesignTop;
  label_width_twips_ = kLabelDesignWidth;
  dpi_ = ScreenDpi();
  for (size_t i = 0; i < skins_.size(); ++i) {
    skins_[i].reset(new PictureSurface());
    skins_[i]->LoadPictureResource(GetModuleHandleW(nullptr), kSkinResources[i]);  // a missing skin leaves the gradient
  }
  if (!RegisterButtonClass()) return false;
  const DWORD ex_style = properties_.visible ? 0 : WS_EX_TRANSPARENT;
  window_ = CreateWindowExW(ex_style, kButtonClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr),
                            this);
  if (!window_) return false;
  hover_timer_.Attach(window_);
  UseFont(properties_.font);
  RECT client = {};
  GetClientRect(window_, &client);
  surface_.Resize(client.right, client.bottom, GetSysColor(COLOR_BTNFACE));
  if (!stored_properties.empty()) Apply({ButtonEventKind::kPropertiesRead});
  ready_ = true;
  Resized(client.right, client.bottom);
  return true;
}

void CommandButton::Initialize() { Apply({ButtonEventKind::kInitialize}); }

void CommandButton::SetCaption(const char* utf8) {
  properties_.caption = utf8 ? utf8 : "";
  MarkChanged(kPropCaption);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

std::string CommandButton::Caption() const { return properties_.caption; }

void CommandButton::SetEnabled(bool enabled) {
  ButtonEvent event = {ButtonEventKind::kEnabledWritten};
  event.value = enabled;
  Apply(event);
}

bool CommandButton::Enabled() {
  Apply({ButtonEventKind::kEnabledRead});
  return model_.enabled;
}

FontDescription CommandButton::Font() const { return properties_.font; }

void CommandButton::SetFontColour(COLORREF colour) {
  properties_.font_colour = colour;
  Apply({ButtonEventKind::kFontColourWritten});
}

COLORREF CommandButton::FontColour() {
  const COLORREF colour = properties_.font_colour;  // read before the redraw, which may reset it
  Apply({ButtonEventKind::kFontColourRead});
  return colour;
}

void CommandButton::SetVisible(bool visible) {
  properties_.visible = visible ? 1 : 0;
  if (window_) {
    // A transparent control lets the parent paint under it first.
    const LONG_PTR ex_style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    SetWindowLongPtrW(window_, GWL_EXSTYLE, visible ? ex_style & ~WS_EX_TRANSPARENT : ex_style | WS_EX_TRANSPARENT);
    RECT area = {};
    GetWindowRect(window_, &area);
    HWND parent = GetParent(window_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(parent, &area, TRUE);
    InvalidateRect(window_, nullptr, FALSE);
  }
  ButtonEvent event = {ButtonEventKind::kVisibleWritten};
  event.value = visible;
  Apply(event);
}

bool CommandButton::Visible() {
  const bool visible = properties_.visible != 0;
  ButtonEvent event = {ButtonEventKind::kVisibleRead};
  event.value = visible;
  Apply(event);
  return visible;
}

std::string CommandButton::StoredProperties() {
  ButtonProperties current = properties_;
  current.enabled = model_.enabled;
  current.first_run = model_.first_run;
  PropertyStore store;
  WriteButtonProperties(current, ambient_font_, &store);
  Apply({ButtonEventKind::kPropertiesWritten});
  return store.Serialise();
}

RECT CommandButton::CaptionRect() const {
  const int top = TwipsToPixels(caption_top_twips_, dpi_);
  return RECT{0, top, TwipsToPixels(label_width_twips_, dpi_), TwipsToPixels(caption_top_twips_ + kLabelHeight, dpi_)};
}

void CommandButton::MouseDown(MouseButton button) {
  // A click on an enabled control takes the focus first, as the focus event expects.
  if (button == MouseButton::kLeft && model_.enabled && GetFocus() != window_) SetFocus(window_);
  ButtonEvent event = {ButtonEventKind::kMouseDown};
  event.button = button;
  Apply(event);
}

void CommandButton::MouseMove() { Apply({ButtonEventKind::kMouseMove}); }

void CommandButton::MouseUp(MouseButton button) {
  ButtonEvent event = {ButtonEventKind::kMouseUp};
  event.button = button;
  Apply(event);
}

void CommandButton::FocusChanged(bool gained) {
  Apply({gained ? ButtonEventKind::kFocusGained : ButtonEventKind::kFocusLost});
}

void CommandButton::TimerFired(UINT_PTR id) {
  if (id == hover_timer_.id()) hover_timer_.Tick();
}

void CommandButton::Resized(int width, int height) {
  if (!ready_) return;
  if (width != surface_.width() || height != surface_.height()) {
    surface_.Resize(width, height, GetSysColor(COLOR_BTNFACE));
  }
  Apply({ButtonEventKind::kResize});
}

void CommandButton::Paint(HDC dc) const {
  RECT client = {0, 0, surface_.width(), surface_.height()};
  if (properties_.visible != 0) surface_.Draw(dc, 0, 0, client);
  const std::wstring caption = WidenUtf8(properties_.caption);
  if (caption.empty()) return;
  HGDIOBJ original_font = font_ ? SelectObject(dc, font_) : nullptr;
  const int original_mode = SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  RECT place = CaptionRect();
  if (label_enabled_) {
    SetTextColor(dc, ResolveColour(properties_.font_colour));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place, format);
  } else {
    // The system's disabled-text style: a light emboss under grey text.
    RECT emboss = place;
    OffsetRect(&emboss, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &emboss, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place, format);
  }
  SetBkMode(dc, original_mode);
  if (original_font) SelectObject(dc, original_font);
}

void CommandButton::WindowDestroyed() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
}

// Feeds one event to the rules and carries out the result; the Click comes
// last, since its handler may close the whole dialog.
void CommandButton::Apply(const ButtonEvent& event) {
  const ButtonResult result = ApplyButtonEvent(model_, event);
  model_ = result.model;
  if (result.label != LabelEnable::kUnchanged) label_enabled_ = result.label == LabelEnable::kEnable;
  if (result.label_colour_black) properties_.font_colour = 0;
  if (result.start_timer) {
    hover_timer_.SetInterval(kHoverIntervalMs);
    hover_timer_.SetEnabled(true);
  }
  if (result.skin != ButtonSkin::kNone) {
    DrawSkin(result.skin);
  } else if (window_ && (result.label != LabelEnable::kUnchanged || result.label_colour_black)) {
    InvalidateRect(window_, nullptr, FALSE);
  }
  if (result.changed_property) MarkChanged(result.changed_property);
  if (result.click && on_click) {
    const std::function<void()> click = on_click;  // the handler may destroy this control
    click();
  }
}

// Clear, gradient, the eight frame pieces of the skin, then show it and place the caption.
void CommandButton::DrawSkin(ButtonSkin skin) {
  skin_ = skin;
  const int width = surface_.width();
  const int height = surface_.height();
  if (width > 0 && height > 0) {
    HDC dc = surface_.dc();
    FillSolid(dc, {0, 0, width, height}, GetSysColor(COLOR_BTNFACE));
    FillGradient();
    const int index = SkinIndex(skin);
    const PictureSurface* source = index >= 0 ? skins_[index].get() : nullptr;
    if (source && source->width() == kSkinWidth && source->height() == kSkinHeight) {
      SetStretchBltMode(dc, COLORONCOLOR);
      for (const FramePiece& piece : SkinFramePieces(width, height)) {
        const PixelRect& to = piece.destination;
        const PixelRect& from = piece.source;
        if (to.w <= 0 || to.h <= 0) continue;  // a button smaller than its frame; a negative size would mirror
        StretchBlt(dc, to.x, to.y, to.w, to.h, source->dc(), from.x, from.y, from.w, from.h, SRCCOPY);
      }
    }
  }
  PlaceCaption();
  if (window_) {
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
  }
}

// The face: a vertical gradient over the whole surface, in pixels.
void CommandButton::FillGradient() {
  const ButtonGradient colours = ButtonFaceGradient(model_.reverse_gradient);
  TRIVERTEX vertices[2] = {};
  vertices[0].x = 0;
  vertices[0].y = 0;
  vertices[0].Red = colours.top.red;
  vertices[0].Green = colours.top.green;
  vertices[0].Blue = colours.top.blue;
  vertices[0].Alpha = colours.top.alpha;
  vertices[1].x = surface_.width() - 1;
  vertices[1].y = surface_.height() - 1;
  vertices[1].Red = colours.bottom.red;
  vertices[1].Green = colours.bottom.green;
  vertices[1].Blue = colours.bottom.blue;
  vertices[1].Alpha = colours.bottom.alpha;
  GRADIENT_RECT rect = {1, 0};  // upper-left vertex 1, lower-right vertex 0
  static const auto gradient_fill = LateFunction<decltype(&GradientFill)>("msimg32.dll", "GradientFill");
  if (gradient_fill) gradient_fill(surface_.dc(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

// The label spans the control and sits centred in its height; a height past
// the 16-bit twips range leaves it where it was.
void CommandButton::PlaceCaption() {
  const long long width_twips = static_cast<long long>(surface_.width()) * 1440 / dpi_;
  const long long height_twips = static_cast<long long>(surface_.height()) * 1440 / dpi_;
  if (height_twips > kMaxTwips || width_twips > kMaxTwips) return;
  caption_top_twips_ = CaptionTopTwips(static_cast<int>(height_twips), kLabelHeight);
  label_width_twips_ = static_cast<int>(width_twips);
}

void CommandButton::UseFont(const FontDescription& font) {
  HFONT created = CreateShellFont(font, dpi_);
  if (!created) return;
  if (font_) DeleteObject(font_);
  font_ = created;
}

void CommandButton::MarkChanged(const char* key) {
  if (on_property_changed) on_property_changed(key);
}

// TmrMouse: any window under the pointer other than the control's own is
// outside; the caption has no window of its own and counts as inside.
void CommandButton::TickHover() {
  POINT pointer = {};
  if (!GetCursorPos(&pointer)) return;
  ButtonEvent event = {ButtonEventKind::kTimerTick};
  event.pointer_outside = WindowFromPoint(pointer) != window_;
  Apply(event);
}
