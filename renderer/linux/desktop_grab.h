// The user's desktop as the screensaver daemon saved it before blanking the
// screen, fetched through its helper program xscreensaver-getimage.
#pragma once

#include <string>

#include "rgb_image.h"

// Has the helper paint the desktop into a pixmap of width x height for the
// given window (the daemon's window carries the saved screenshot), and
// returns it mirrored left to right. Null with a reason in *reason when the
// helper is missing, fails, takes too long, or paints something else because
// the user's settings forbid desktop grabs. `stop` is polled while waiting.
RgbImage* GrabDesktop(void* display, unsigned long window, int width, int height, bool (*stop)(),
                      std::string* reason);
