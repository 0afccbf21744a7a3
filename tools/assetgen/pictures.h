// The bundled pictures.
#pragma once

#include <cstdint>

#include "bmp_writer.h"
#include "canvas.h"

// 512 x 512 cloudy sky in blue and pink, laid out for a sphere: the bottom row
// is the zenith, the middle row the horizon, and the columns wrap around.
Picture MakeSkyPicture();
// 32 x 32 soft white puff on black.
Picture MakePuffPicture();
// 1280 x 1024 desktop: wallpaper, icons, two windows and a taskbar.
Picture MakeDesktopPicture();
// 152 x 112 dark scene of tilted translucent window panels, behind the preview.
Picture MakePreviewBackgroundPicture();
// 164 x 314 side picture of the setup program's welcome and finish pages: the
// airliner in the sky over a mirrored desktop.
Picture MakeSetupSidePicture();

// Sky colour looking in direction (dx, dy, dz), dy > 0 up; seed picks the clouds.
Rgb SkyColour(double dx, double dy, double dz, uint32_t seed);
