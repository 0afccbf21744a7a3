// The shell process itself: its end, its folder, message boxes and the
// file-exists test.
#pragma once

#include <string>

// Terminates the process at once with exit code 0; loaded forms are
// discarded without their unload events.
[[noreturn]] void EndProgram();

// A message box owned by no window. Texts are UTF-8 and are shown through the
// wide-character functions, so Japanese reads right whatever the system's
// code page. Returns the button pressed (IDOK ...), 0 on failure.
int ShowMessage(const char* text_utf8, const char* caption_utf8, unsigned type);

// True when the file named by the path can be opened for reading. One
// trailing backslash is dropped first. A folder, the empty path, a path with
// an embedded NUL and a file that cannot be read all give false.
bool FileExists(const std::string& path);

// The folder that holds the running program, without a trailing backslash
// ("C:" for a program in the root); empty when the system cannot report it.
std::string ProgramFolder();
