// Resource ids of the shell's built-in pictures, shared by skyliner.rc and the code.
#pragma once

#define IDB_SKY 101                 // 512 x 512, the cloudy sky saved as Jetscape3.bmp
#define IDB_PUFF 102                // 32 x 32, the puff saved as Jetscape2.bmp
#define IDB_PREVIEW 103             // 152 x 112, the preview's picture
#define IDB_PREVIEW_BACKGROUND 104  // 152 x 112, the preview form's background picture

// The push button's six 64 x 25 skins, one per look.
#define IDB_BUTTON_NORMAL 201
#define IDB_BUTTON_HIGHLIGHT 202
#define IDB_BUTTON_HIGHLIGHT_SELECT 203
#define IDB_BUTTON_SELECTED 204
#define IDB_BUTTON_PRESSED 205
#define IDB_BUTTON_DISABLE 206

// The settings dialog's pictures, its title-bar icon and the address label's pointer.
#define IDB_METAL_STRIP 301  // 556 x 20, tiled over the panel
#define IDB_MARK_EMPTY 302   // 12 x 12, the "not chosen" mark
#define IDB_MARK_CHOSEN 303  // 12 x 12, the "chosen" mark
#define IDI_DIALOG 304       // 32 x 32, 256 colours
#define IDC_HAND_POINTER 305 // 32 x 32 pointing hand, hot spot (12, 10)
