#include "system_libraries.h"

#include <delayimp.h>

HMODULE LoadSystemLibrary(const char* name) { return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

bool LoadGraphicsLibraries() { return LoadSystemLibrary("opengl32.dll") && LoadSystemLibrary("glu32.dll"); }

namespace {

// The delay-load helper's first call for each library: load it from the
// system folder (a library already loaded comes back at once).
FARPROC WINAPI LoadDelayedLibrary(unsigned notification, PDelayLoadInfo information) {
  if (notification != dliNotePreLoadLibrary) return nullptr;  // the helper's own handling
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(information->szDll));
}

}  // namespace

// MSVC's helper takes a constant hook; MinGW-w64's declares it writable.
#if defined(_MSC_VER) && !defined(DELAYIMP_INSECURE_WRITABLE_HOOKS)
extern "C" const PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibrary;
#else
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibrary;
}
#endif
