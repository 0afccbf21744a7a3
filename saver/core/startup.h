// The start-up procedure: the single-copy check, the mode dispatch and the
// checks for the renderer and model files, over the platform's operations.
#pragma once

#include <cstdint>
#include <string>

// What the start-up procedure asks of the platform, in the order it asks.
class StartupActions {
 public:
  virtual ~StartupActions() = default;
  virtual bool WindowExists(const char* title) = 0;           // FindWindowA(nullptr, title)
  virtual void ShowPreview(int64_t parent_handle) = 0;        // the preview form, inside the parent
  virtual void CreateWorkingFolder() = 0;                     // C:\kestrel, one level, failures ignored
  virtual void LoadSettings() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual void ShowMissingFileMessage(const char* text_utf8) = 0;  // OK only, caption kMessageCaption
  virtual void ShowSettingsDialog() = 0;                      // modal, owned by no window
  virtual void HideCursor() = 0;                              // ShowCursor(FALSE), count kept
  virtual void LoadSaverForm() = 0;                           // hidden; its load starts the run
};

// The two missing-file messages and their caption (UTF-8; shown through the
// wide-character functions).
extern const char kMissingRendererText[];
extern const char kMissingModelText[];
extern const char kMessageCaption[];

enum class StartupOutcome {
  kEndProgram,   // end the process now
  kRunForms,     // a form is loaded: run the message loop until it is unloaded
};

StartupOutcome RunStartup(const std::string& arguments, const std::string& program_folder,
                          StartupActions& actions);
