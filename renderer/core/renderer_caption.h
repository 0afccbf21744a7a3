// The renderer window's caption on every platform: the saver shell finds the
// running renderer by it.
#pragma once

constexpr char kRendererCaption[] = "Jetscape_VC";
