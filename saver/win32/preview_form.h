// Jetscape_R: the still preview inside the system's preview area.
#pragma once

#include <cstdint>

// Shows the preview form as a child of the given window, at that window's
// size. False at once, with nothing loaded, when the handle is 0 or names no
// window. The process ends once the preview window is gone.
bool ShowPreviewForm(int64_t parent_handle);
