// Writes Windows icon (.ico) and cursor (.cur) files holding one 32 x 32 image.
#pragma once

#include <string>
#include <vector>

#include "bmp_writer.h"

// A 256-colour icon: the picture's own colours when it has at most 256, else
// each mapped to the nearest of a fixed palette (a 6 x 6 x 6 cube and 40
// greys); pixels where transparent[y * w + x] is true show the desktop.
bool WriteIcon256(const std::string& path, const Picture& picture, const std::vector<bool>& transparent);

// A monochrome cursor from rows of text: 'X' black, 'o' white, anything else
// transparent. Every row must be 32 characters and there must be 32 rows.
bool WriteMonochromeCursor(const std::string& path, const std::vector<std::string>& rows, int hot_x, int hot_y);
