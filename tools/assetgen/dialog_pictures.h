// The settings dialog's pictures: the push button's six skins, the metal
// strip, the two option marks, the dialog icon and the hand cursor.
#pragma once

#include <string>
#include <vector>

#include "bmp_writer.h"
#include "button_state.h"

// 64 x 25 rounded push button; only its outer 4-pixel band is ever drawn.
// kNone gives a blank (black) picture.
Picture MakeButtonSkin(ButtonSkin look);
// 556 x 20 brushed metal, light grey at the left to darker grey at the right;
// its last row continues into its first.
Picture MakeMetalStrip();
// 12 x 12 option mark: an empty square, or one filled with blue.
Picture MakeOptionMark(bool chosen);
// 32 x 32 dialog icon and the pixels that stay transparent (row by row).
Picture MakeDialogIcon(std::vector<bool>* transparent);
// 32 x 32 pointing hand as cursor rows ('X' black, 'o' white, '.' clear).
std::vector<std::string> HandCursorRows();
constexpr int kHandHotX = 12, kHandHotY = 10;

// How much of pixel (px, py) the airliner's outline from above covers (0..1),
// centred at (cx, cy), nose up at 0 degrees, 28 units long times scale.
double AirlinerCover(int px, int py, double cx, double cy, double scale, double degrees);

// Writes all of them into folder (ending in a separator, made if missing);
// false if any failed.
bool WriteDialogPictures(const std::string& folder);
