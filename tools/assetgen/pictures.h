// The bundled pictures.
#pragma once

#include "bmp_writer.h"

// 512 x 512 cloudy sky in blue and pink, laid out for a sphere: the bottom row
// is the zenith, the middle row the horizon, and the columns wrap around.
Picture MakeSkyPicture();
// 32 x 32 soft white puff on black.
Picture MakePuffPicture();
// 1280 x 1024 desktop: wallpaper, icons, two windows and a taskbar.
Picture MakeDesktopPicture();
// 152 x 112 dark scene of tilted translucent window panels, behind the preview.
Picture MakePreviewBackgroundPicture();
