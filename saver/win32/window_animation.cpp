#include "window_animation.h"

AnimationPoint animation_origin;

namespace {

RECT OriginRect() {
  const RECT origin = {animation_origin.x, animation_origin.y, animation_origin.x, animation_origin.y};
  return origin;
}

}  // namespace

void SetAnimationOriginFromCursor() {
  POINT cursor;
  animation_origin = AnimationPoint();
  if (!GetCursorPos(&cursor)) return;
  // A coordinate a 16-bit number cannot hold stays 0 rather than wrapping round.
  if (cursor.x >= -32768 && cursor.x <= 32767) animation_origin.x = static_cast<short>(cursor.x);
  if (cursor.y >= -32768 && cursor.y <= 32767) animation_origin.y = static_cast<short>(cursor.y);
}

// The results of the platform calls are not looked at.
void AnimateOpen(HWND window) {
  RECT target = {};
  GetWindowRect(window, &target);
  const RECT start = OriginRect();
  DrawAnimatedRects(window, IDANI_CAPTION, &start, &target);
}

void AnimateClose(HWND window) {
  RECT start = {};
  GetWindowRect(window, &start);
  const RECT target = OriginRect();
  DrawAnimatedRects(window, IDANI_CAPTION, &start, &target);
}
