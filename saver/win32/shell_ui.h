// Services the whole shell's UI thread uses, whatever the window: the mouse
// pointer, the button of a mouse message, the message loop, window classes,
// the screen's DPI and the design pictures' resources.
#pragma once

#include <windows.h>

#include <functional>

#include "button_state.h"
#include "form_designs.h"

// The program-wide mouse pointer: kHourglass shows over every form until set back.
enum class ScreenPointer { kDefault, kHourglass };
void SetScreenPointer(ScreenPointer pointer);
ScreenPointer CurrentScreenPointer();

// The button of a WM_xBUTTONDOWN or WM_xBUTTONUP message.
MouseButton PressOf(UINT message);

// Runs the UI thread's messages while keep_running() holds; a WM_QUIT ends the loop as well.
void RunMessagesWhile(const std::function<bool()>& keep_running);

// The object a window of the shell's belongs to: it rides along in the
// creation parameters and is kept from WM_NCCREATE on; null before that.
void* WindowOwner(HWND hwnd);
// Keeps the owner when the message is WM_NCCREATE; false while the window has none.
bool KeepWindowOwner(HWND hwnd, UINT message, LPARAM lparam);

// Registers a window class of the shell's: the arrow pointer, no background
// brush (each window paints its own kept image). False when it cannot.
bool RegisterShellWindowClass(const wchar_t* name, WNDPROC procedure);

// Dots per inch of the screen, for twips conversions.
int ScreenDpi();

// The bitmap resource holding a design picture; 0 for none.
int PictureResourceId(DesignPicture picture);
