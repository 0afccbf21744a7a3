#include "settings_dialog.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "command_button.h"
#include "dialog_rules.h"
#include "form.h"
#include "late_library.h"
#include "profile_store.h"
#include "shell_font.h"
#include "shell_state.h"
#include "text_encoding.h"
#include "window_animation.h"

namespace {

constexpr int kKindCount = 3;

struct HostedButton {
  const char* name;
  std::unique_ptr<CommandButton> control;
};

// What the dialog keeps while it is open.
struct SettingsDialog {
  Form form{kDialogFormDesign};
  std::vector<HostedButton> buttons;
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
  FormElement* combo = Dialog().form.Element("BGM_Repeat");
  return combo ? combo->window : nullptr;
}

// The design's values of a button as its stored properties: its caption and font.
void CreateButton(Form& form, FormElement& element) {
  const ElementDesign& design = *element.design;
  const ElementDesign* container = design.container ? FindElementDesign(form.design(), design.container) : nullptr;
  const FontDescription ambient = container ? FontDescriptionOf(container->font) : FontDescription();
  ButtonProperties properties;  // the persisted defaults: enabled, already initialised
  properties.caption = design.caption ? design.caption : "";
  properties.font = FontDescriptionOf(design.font);
  PropertyStore store;
  WriteButtonProperties(properties, ambient, &store);
  std::unique_ptr<CommandButton> button(new CommandButton());
  if (!button->Create(form.ContainerWindow(element), element.rect, store.Serialise(), ambient)) return;
  Dialog().buttons.push_back({design.name, std::move(button)});
}

// --- The marks and the controls that follow the kind -------------------------

void ShowKind(int kind) {
  Form& form = Dialog().form;
  const KindControls controls = ControlsForKind(kind);
  FormElement* unchosen = form.Element("Img_Ra", 0);
  FormElement* chosen = form.Element("Img_Ra", 1);
  for (int i = 0; i < kKindCount; ++i) {
    FormElement* mark = form.Element("Img_BGM", i);
    FormElement* source = controls.marked[i] ? chosen : unchosen;
    if (mark && source && source->picture) form.SetPicture(*mark, *source->picture);
  }
  if (HWND repeat = RepeatBox()) EnableWindow(repeat, controls.repeat_enabled ? TRUE : FALSE);
  if (CommandButton* file = Button("Cmd_File")) file->SetEnabled(controls.file_button_enabled);
}

// A press on a mark or its caption, any mouse button. The file is kept whatever the kind.
void SelectBgmKind(int kind) {
  shell.settings.kind = static_cast<int16_t>(kind);
  ShowKind(kind);
}

void ShowFileName() {
  Form& form = Dialog().form;
  if (FormElement* label = form.Element("lbl_Fname")) form.SetText(*label, WidenAnsi(shell.settings.file));
}

// --- Drawing -----------------------------------------------------------------

void InitButtons() {
  for (HostedButton& button : Dialog().buttons) button.control->Initialize();
}

// Covers the panel with copies of Pic_Mbl's strip, column by column.
void TilePicture(FormElement& target) {
  Form& form = Dialog().form;
  PictureSurface* strip = form.Picture("Pic_Mbl");
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
  if (FormElement* panel = form.Element("Pic_C")) TilePicture(*panel);
  ShowKind(shell.settings.kind);
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
  const std::wstring filter = WidenUtf8(FileChooserFilter());
  const std::wstring title = WidenUtf8(kFileChooserTitle);
  const std::wstring folder = WidenAnsi(shell.settings.folder);
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

void OnAddressClick() {
  Form& form = Dialog().form;
  FormElement* address = form.Element("lbl_URL");
  SetScreenPointer(ScreenPointer::kHourglass);
  std::string target;
  static const auto shell_execute = LateFunction<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  if (address && shell_execute && NarrowToAnsi(address->text, &target))
    shell_execute(form.window(), "open", target.c_str(), "", "", SW_SHOWNORMAL);
  SetScreenPointer(ScreenPointer::kDefault);
}

// The elements exist: the buttons join them, and the events are wired.
void OnCreate() {
  Form& form = Dialog().form;
  const ElementDesign* designs = form.design().elements;
  for (size_t i = 0; i < form.design().element_count; ++i) {
    if (designs[i].kind != ElementKind::kButton) continue;
    if (FormElement* element = form.Element(designs[i].name, designs[i].index)) CreateButton(form, *element);
  }
  for (int i = 0; i < kKindCount; ++i) {
    for (const char* name : {"Img_BGM", "lbl_BGM"}) {
      if (FormElement* element = form.Element(name, i)) element->on_mouse_down = [i](MouseButton) { SelectBgmKind(i); };
    }
  }
  if (CommandButton* button = Button("Cmd_File")) button->on_click = OnChooseFile;
  if (CommandButton* button = Button("Cmd_Set")) button->on_click = OnSet;
  if (CommandButton* button = Button("Cmd_Can")) button->on_click = OnCancel;
  // The address: the folder the program and its files were installed in.
  if (FormElement* address = form.Element("lbl_URL")) {
    form.SetText(*address, WidenAnsi(shell.program_folder));
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
  if (!form.Load()) return;
  form.ShowModal();
}
