// The one way the shell turns a font description into a GDI font, for the
// forms' labels and combo boxes and for the push buttons alike.
#pragma once

#include <windows.h>

#include "font_description.h"
#include "form_designs.h"

// A design's font as a description; a design without a face gives the default one.
FontDescription FontDescriptionOf(const DesignFont& font);

// The font at dpi: its size in hundredths of a point, its UTF-8 face, weight,
// character set and styles; the rest left to the system. Null when it cannot be made.
HFONT CreateShellFont(const FontDescription& font, int dpi);
