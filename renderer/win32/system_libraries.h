// The renderer's libraries come from the system folder only. A bare name
// given to LoadLibrary, and a load-time import, is looked up in the program's
// own folder first (often Downloads, where anyone's file may lie); opengl32,
// glu32 and winmm are not among the libraries Windows protects from that.
#pragma once

#include <windows.h>

// LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32): the library and
// the libraries it imports, from the system folder alone.
HMODULE LoadSystemLibrary(const char* name);

// Loads opengl32 and glu32 (delay-imported, so not loaded at start) before
// anything else can: GDI's pixel-format functions load opengl32 by its bare
// name, and would take a planted one. False if either is missing.
bool LoadGraphicsLibraries();
