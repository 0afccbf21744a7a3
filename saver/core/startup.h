// The start-up procedure: the single-copy check, the mode dispatch and the
// checks for the renderer and model files, over the platform's operations.
#pragma once

#include <cstdint>
#include <string>

#include "ui_texts.h"

// What the start-up procedure asks of the platform, in the order it asks.
class StartupActions {
 public:
  virtual ~StartupActions() = default;
  virtual bool WindowExists(const char* title) = 0;  // FindWindowA(nullptr, title)
  // The preview form, inside the parent. False when the handle is not a
  // window (0 included): nothing is shown and the process must end.
  virtual bool ShowPreview(int64_t parent_handle) = 0;
  virtual void CreateWorkingFolder() = 0;  // C:\kestrel, one level, failures ignored
  virtual void ReadSettings() = 0;
  virtual bool ProgramFilePresent(const std::string& path) = 0;
  virtual void ShowMissingFileMessage(const char* text_utf8) = 0;  // OK only, caption kMessageCaption
  virtual void RunSettingsDialog() = 0;                            // modal, owned by no window
  virtual void HideCursor() = 0;                                   // ShowCursor(FALSE), count kept
  // The saver form, hidden; its load starts the run. False when the form
  // could not be loaded: with nothing loaded, the process must end.
  virtual bool StartSaverRun() = 0;
};

// The two missing-file messages in Japanese and their caption (UTF-8; shown
// through the wide-character functions).
extern const char kMissingRendererText[];
extern const char kMissingModelText[];
extern const char kMessageCaption[];

enum class StartupOutcome {
  kEndProgram,  // end the process now
  kRunForms,    // a form is loaded: run the message loop until it is unloaded
};

// The preview reads nothing but the argument string; every other mode first
// creates the working folder, loads the settings and checks that the renderer
// and the model file lie in program_folder.
// The missing-file messages are in the language of texts.
StartupOutcome RunStartup(const std::string& arguments, const std::string& program_folder,
                          StartupActions& actions, const UiTexts& texts = kJapaneseTexts);
