// Functions of the system libraries only some runs need (winmm for the
// music, comdlg32, comctl32, shell32 and msimg32 for the settings dialog), looked up on
// first use: imported, they would be loaded, with the libraries they pull in,
// at every start of the shell, before the saver's renderer could start.
#pragma once

#include <windows.h>

// The function `name` of `library`, loading the library and keeping it
// loaded; null when either is missing. Callers keep the result in a static.
// The library comes from the system folder only: by a bare name Windows would
// look in the program's own folder first.
template <typename Function>
Function LateFunction(const char* library, const char* name) {
  const HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
