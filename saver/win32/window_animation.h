// The settings dialog's opening and closing zoom, from and to one screen point.
#pragma once

#include <windows.h>

// AnimationOrigin: where the mouse was when the dialog loaded; (0, 0) until then.
struct AnimationPoint {
  short x = 0, y = 0;
};
extern AnimationPoint animation_origin;

// Stores the pointer's position in animation_origin, each coordinate as a
// signed 16-bit number; (0, 0) when the position cannot be read.
void SetAnimationOriginFromCursor();

// A caption zoom from the empty rectangle at animation_origin to the window's rectangle.
void AnimateOpen(HWND window);
// The same zoom back from the window's rectangle into animation_origin.
void AnimateClose(HWND window);
