#include "settings_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "command_button.h"
#include "dialog_rules.h"
#include "form.h"
#include "late_library.h"
#include "profile_store.h"
#include "shell_font.h"
#include "shell_paths.h"
#include "shell_state.h"
#include "text_encoding.h"
#include "window_animation.h"

namespace {

using namespace element_names;

constexpr int kKindCount = 3;
constexpr int kDisplayCount = 2;

struct HostedButton {
  const char* name;
  std::unique_ptr<CommandButton> control;
};

// What the dialog keeps while it is open.
struct SettingsDialog {
  Form form{kDialogFormDesign};
  std::vector<HostedButton> buttons;
  bool display_focused = false;  // the display rows' keyboard stop has the focus
};

SettingsDialog& Dialog() {
  static SettingsDialog dialog;
  return dialog;
}

CommandButton* Button(const char* name) {
  for (HostedButton& button : Dialog().buttons) {
    if (std::string(button.name) == name) return button.control.get();
  }
  return nullptr;
}

HWND RepeatBox() {
  FormElement* combo = Dialog().form.Element(kRepeatBox);
  return combo ? combo->window : nullptr;
}

// The design's values of a button as its stored properties: its caption and font.
void CreateButton(Form& form, FormElement& element) {
  const ElementDesign& design = *element.design;
  const ElementDesign* container = design.container ? FindElementDesign(form.design(), design.container) : nullptr;
  const FontDescription ambient = container ? FontDescriptionOf(container->font) : FontDescription();
  ButtonProperties properties;  // the persisted defaults: enabled, already initialised
  const char* caption = CaptionOf(*shell.texts, design);
  properties.caption = caption ? caption : "";
  properties.font = FontDescriptionOf(design.font);
  PropertyStore store;
  WriteButtonProperties(properties, ambient, &store);
  std::unique_ptr<CommandButton> button(new CommandButton());
  if (!button->Create(form.ContainerWindow(element), element.rect, store.Serialise(), ambient)) return;
  Dialog().buttons.push_back({design.name, std::move(button)});
}

// --- The marks and the controls that follow the kind -------------------------

// A disabled button leaves the tab order too, and its keys press nothing.
void SetButtonEnabled(CommandButton& button, bool enabled) {
  button.SetEnabled(enabled);
  const LONG_PTR style = GetWindowLongPtrW(button.window(), GWL_STYLE);
  SetWindowLongPtrW(button.window(), GWL_STYLE, enabled ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool InTabOrder(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) != 0; }

// A mark shows Img_Ra's chosen or unchosen picture.
void ShowMark(const char* marks, int index, bool chosen) {
  Form& form = Dialog().form;
  FormElement* mark = form.Element(marks, index);
  FormElement* source = form.Element(kMarkPictures, chosen ? 1 : 0);
  if (mark && source && source->picture) form.SetPicture(*mark, *source->picture);
}

void ShowKind(int kind) {
  const KindControls controls = ControlsForKind(kind);
  for (int i = 0; i < kKindCount; ++i) ShowMark(kKindMarks, i, controls.marked[i]);
  if (HWND repeat = RepeatBox()) EnableWindow(repeat, controls.repeat_enabled ? TRUE : FALSE);
  if (CommandButton* file = Button(kFileButton)) SetButtonEnabled(*file, controls.file_button_enabled);
}

// A press on a mark or its caption, any mouse button. The file is kept whatever the kind.
void SelectBgmKind(int kind) {
  shell.settings.kind = static_cast<int16_t>(kind);
  ShowKind(kind);
}

// The chosen display row's mark, and its caption framed while the rows have the keys.
void ShowDisplay(int display) {
  Form& form = Dialog().form;
  for (int i = 0; i < kDisplayCount; ++i) {
    ShowMark(kDisplayMarks, i, display == i);
    if (FormElement* caption = form.Element(kDisplayCaptions, i)) {
      form.ShowFocusFrame(*caption, Dialog().display_focused && display == i);
    }
  }
}

// A press on a display row's mark or caption, any mouse button, or an arrow key.
void SelectDisplay(int display) {
  shell.settings.display = static_cast<int16_t>(display);
  ShowDisplay(display);
}

void OnDisplayFocus(bool focused) {
  Dialog().display_focused = focused;
  ShowDisplay(shell.settings.display);
}

void ShowFileName() {
  Form& form = Dialog().form;
  if (FormElement* label = form.Element(kFileName)) form.SetText(*label, WidenAnsi(shell.settings.file));
}

// --- Drawing -----------------------------------------------------------------

void InitButtons() {
  for (HostedButton& button : Dialog().buttons) button.control->Initialize();
}

// Covers the panel with copies of Pic_Mbl's strip, column by column.
void TilePicture(FormElement& target) {
  Form& form = Dialog().form;
  PictureSurface* strip = form.Picture(kMetalStrip);
  if (!strip || !target.picture || !strip->dc()) return;
  const int w = strip->width();
  const int h = strip->height();
  const int target_w = target.rect.right - target.rect.left;
  const int target_h = target.rect.bottom - target.rect.top;
  for (const TilePosition& at : TilePositions(target_w, target_h, w, h)) {
    BitBlt(target.picture->dc(), at.x, at.y, w, h, strip->dc(), 0, 0, SRCCOPY);
  }
  form.RefreshElement(target);
}

// The sine gradient, one line per pixel row, into the form's kept image.
void OnResize() {
  Form& form = Dialog().form;
  RECT client;
  if (!GetClientRect(form.window(), &client)) return;
  PictureSurface& canvas = form.Canvas();
  const std::vector<RowColour> rows = BackgroundRowColours(client.bottom);
  for (size_t y = 0; y < rows.size(); ++y) {
    const RECT line = {0, static_cast<LONG>(y), client.right + 1, static_cast<LONG>(y) + 1};
    FillSolid(canvas.dc(), line, RGB(rows[y].red, rows[y].green, rows[y].blue));
  }
  form.Refresh();
}

// --- Events ------------------------------------------------------------------

// Centred across and a third of the free height down, worked out in twips.
void PlaceForm(Form& form) {
  RECT outer;
  if (!GetWindowRect(form.window(), &outer)) return;
  const int twips_per_pixel = 1440 / ScreenDpi();
  if (twips_per_pixel <= 0) return;
  const FormPosition place = PlaceDialog(GetSystemMetrics(SM_CXSCREEN) * twips_per_pixel,
                                         GetSystemMetrics(SM_CYSCREEN) * twips_per_pixel,
                                         (outer.right - outer.left) * twips_per_pixel,
                                         (outer.bottom - outer.top) * twips_per_pixel);
  SetWindowPos(form.window(), nullptr, place.left / twips_per_pixel, place.top / twips_per_pixel, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnLoad() {
  Form& form = Dialog().form;
  PlaceForm(form);
  InitButtons();
  if (FormElement* panel = form.Element(kPanel)) TilePicture(*panel);
  ShowKind(shell.settings.kind);
  ShowDisplay(shell.settings.display);
  if (HWND repeat = RepeatBox()) {
    SetWindowTextA(repeat, RepeatText(shell.settings.repeat).c_str());
    for (const std::string& entry : RepeatComboEntries()) {
      SendMessageA(repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
  }
  ShowFileName();
  SetAnimationOriginFromCursor();
  AnimateOpen(form.window());
  SetScreenPointer(ScreenPointer::kDefault);
}

void OnUnload() { AnimateClose(Dialog().form.window()); }

// The chooser shows its title and filter through the wide function, so they
// read right on any code page; the chosen path is kept in the ANSI code page,
// as the settings file and the music commands take it. A path with a character
// the code page cannot hold is not taken: narrowed, it would name another file.
void OnChooseFile() {
  Form& form = Dialog().form;
  const std::wstring filter = WidenUtf8(FileChooserFilter(*shell.texts));
  const std::wstring title = WidenUtf8(shell.texts->chooser_title);
  const std::wstring folder = WidenAnsi(OpenableFolder(shell.settings.folder));
  wchar_t file[kFileChooserBufferSize] = {};
  wchar_t file_title[kFileChooserBufferSize] = {};
  OPENFILENAMEW chooser = {};
  chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the 76-byte layout
  chooser.hwndOwner = form.window();
  chooser.hInstance = GetModuleHandleW(nullptr);
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = file;
  chooser.nMaxFile = kFileChooserBufferSize;
  chooser.lpstrFileTitle = file_title;
  chooser.nMaxFileTitle = kFileChooserBufferSize;
  chooser.lpstrInitialDir = folder.c_str();
  chooser.lpstrTitle = title.c_str();
  chooser.Flags = 0;
  static const auto open_file_name = LateFunction<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
  if (!open_file_name || open_file_name(&chooser) <= 0) return;  // cancelled or failed: nothing changes
  std::string chosen;
  if (!NarrowToAnsi(std::wstring(file, wcsnlen(file, kFileChooserBufferSize)), &chosen)) return;
  ApplyChosenFile(chosen.data(), chosen.size(), &shell.settings);
  ShowFileName();
}

std::string RepeatBoxText() {
  HWND repeat = RepeatBox();
  if (!repeat) return std::string();
  std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(repeat)) + 1, '\0');
  GetWindowTextA(repeat, text.data(), static_cast<int>(text.size()));
  return std::string(text.data());
}

void OnSet() {
  Win32ProfileStore store;
  StoreDialogSettings(&shell.settings, RepeatBoxText(), store, shell.program_folder);
  Dialog().form.Unload();
}

void OnCancel() { Dialog().form.Unload(); }

// A tooltip over a windowless element of the window; it goes with the window.
void AddTooltip(HWND window, const RECT& area, const std::wstring& text) {
  static const auto init_controls =
      LateFunction<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  if (!init_controls || !init_controls(&classes)) return;
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!tip) return;
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = 1;
  tool.rect = area;
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // the tooltip keeps its own copy
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The address shows an elided path; the click opens the whole one.
void OnAddressClick() {
  Form& form = Dialog().form;
  SetScreenPointer(ScreenPointer::kHourglass);
  static const auto shell_execute = LateFunction<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  if (shell_execute) {
    shell_execute(form.window(), "open", OpenableFolder(shell.program_folder).c_str(), "", "", SW_SHOWNORMAL);
  }
  SetScreenPointer(ScreenPointer::kDefault);
}

// The address keeps to its designed width, the middle of a long path elided,
// with the whole path as the label's tooltip.
void ShowAddress(Form& form, FormElement& address) {
  const std::wstring path = WidenAnsi(OpenableFolder(shell.program_folder));
  const int room = TwipsToPixels(address.design->width, ScreenDpi());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old_font = dc && address.font ? SelectObject(dc, address.font) : nullptr;
  const auto fits = [dc, room](const std::wstring& text) {
    SIZE size = {};
    return !dc || (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) && size.cx <= room);
  };
  form.SetText(address, ElideMiddle(path, fits));
  if (old_font) SelectObject(dc, old_font);
  if (dc) ReleaseDC(nullptr, dc);
  AddTooltip(form.window(), address.rect, path);
}

// The dialog keyboard walks each container's windows from the top of its
// z-order: stack them in the designs' tab order.
void OrderTabStops(Form& form) {
  std::vector<std::pair<int, HWND>> stops;
  const FormDesign& design = form.design();
  for (size_t i = 0; i < design.element_count; ++i) {
    const ElementDesign& element = design.elements[i];
    FormElement* placed = form.Element(element.name, element.index);
    HWND window = placed ? placed->window : nullptr;
    if (CommandButton* button = Button(element.name)) window = button->window();
    if (window && element.tab_index != kNoTabIndex) stops.push_back({element.tab_index, window});
  }
  std::sort(stops.begin(), stops.end());
  std::map<HWND, HWND> last_in_container;
  for (const auto& stop : stops) {
    HWND& last = last_in_container[GetParent(stop.second)];
    SetWindowPos(stop.second, last ? last : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    last = stop.second;
  }
}

// Esc cancels; Space or Return presses the focused button.
void OnCommand(int id, HWND control) {
  if (id == IDCANCEL) {
    OnCancel();
    return;
  }
  for (HostedButton& button : Dialog().buttons) {
    if (control && button.control->window() == control && InTabOrder(control) && button.control->on_click) {
      const std::function<void()> click = button.control->on_click;  // the handler may close the dialog
      click();
      return;
    }
  }
}

// The elements exist: the buttons join them, and the events are wired.
void OnCreate() {
  Form& form = Dialog().form;
  const ElementDesign* designs = form.design().elements;
  for (size_t i = 0; i < form.design().element_count; ++i) {
    if (designs[i].kind != ElementKind::kButton) continue;
    if (FormElement* element = form.Element(designs[i].name, designs[i].index)) CreateButton(form, *element);
  }
  // The labels speak the user's language; the buttons took theirs when made.
  for (size_t i = 0; i < shell.texts->caption_count; ++i) {
    const CaptionText& caption = shell.texts->captions[i];
    FormElement* label = form.Element(caption.element, caption.index);
    if (label && label->design->kind == ElementKind::kLabel) form.SetText(*label, WidenUtf8(caption.text));
  }
  for (int i = 0; i < kKindCount; ++i) {
    for (const char* name : {kKindMarks, kKindCaptions}) {
      if (FormElement* element = form.Element(name, i)) element->on_mouse_down = [i](MouseButton) { SelectBgmKind(i); };
    }
  }
  for (int i = 0; i < kDisplayCount; ++i) {
    for (const char* name : {kDisplayMarks, kDisplayCaptions}) {
      if (FormElement* element = form.Element(name, i)) element->on_mouse_down = [i](MouseButton) { SelectDisplay(i); };
    }
  }
  if (FormElement* keys = form.Element(kDisplayKeys)) {
    // Up or Left the row before, Down or Right the row after, round past the ends as option buttons go.
    keys->on_arrow = [](int step) { SelectDisplay((shell.settings.display + step + kDisplayCount) % kDisplayCount); };
    keys->on_focus = OnDisplayFocus;
  }
  OrderTabStops(form);
  if (CommandButton* button = Button(kFileButton)) button->on_click = OnChooseFile;
  if (CommandButton* button = Button(kSetButton)) button->on_click = OnSet;
  if (CommandButton* button = Button(kCancelButton)) button->on_click = OnCancel;
  // The address: the folder the program and its files were installed in.
  if (FormElement* address = form.Element(kAddress)) {
    ShowAddress(form, *address);
    address->on_click = OnAddressClick;
  }
}

}  // namespace

void ShowSettingsDialog() {
  Form& form = Dialog().form;
  form.on_create = OnCreate;
  form.on_load = OnLoad;
  form.on_resize = OnResize;
  form.on_unload = OnUnload;
  form.on_command = OnCommand;
  if (!form.Load()) return;
  form.ShowModal();
}
