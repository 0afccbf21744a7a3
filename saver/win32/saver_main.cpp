// Skyliner.scr: the screensaver shell, started with the standard screensaver
// arguments (/s, /p HANDLE, /c, or none).
#include <windows.h>

#include "shell_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { RunShell(); }
