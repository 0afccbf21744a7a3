// What the shell's procedures share for the whole run: the argument string,
// the program folder, the music settings, the cursor count the saver hid and
// the observer of the run's start-up phases.
// Everything runs on the one user-interface thread.
#pragma once

#include <string>

#include "contract/phase_marks.h"
#include "settings.h"
#include "ui_texts.h"

struct ShellState {
  std::string arguments;       // the command line after the program's name and the blanks after it (ArgumentsOf)
  std::string program_folder;  // the folder of the running Skyliner.scr, as the system reports it
  MusicSettings settings;      // BgmKind, BgmRepeat, BgmFile, BgmFolder
  int saved_cursor_count = 0;  // SavedCursorCount: what ShowCursor(FALSE) returned
  const UiTexts* texts = &kJapaneseTexts;  // the user's UI language's
  PhaseObserver phase_observer = nullptr;  // the one RunShell was given (benchmarks)
};

extern ShellState shell;

// The end of a start-up phase of the saver run (form made, desktop captured,
// each working file written, renderer started, music started).
inline void MarkRunPhase(const char* phase) {
  if (shell.phase_observer) shell.phase_observer(phase);
}
