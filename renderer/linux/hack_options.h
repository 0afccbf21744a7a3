// The screensaver hack's command line, in xscreensaver's style: each option
// with one dash or two.
#pragma once

#include <string>

#include "window_flight.h"

struct HackOptions {
  bool window_id_given = false;
  unsigned long window_id = 0;  // -window-id
  bool root = false;            // -root
  bool show_rate = false;       // -fps
  long delay_us = 16667;        // -delay: microseconds a frame; 0 draws flat out
  std::string ground;           // -ground: a picture instead of the desktop
  bool sample_ground = false;   // -sample-ground: the bundled sample desktop
  bool seed_given = false;
  unsigned int seed = 0;        // -seed
  bool help = false;
};

extern const char kHackUsage[];

// Parses argv[1..]; false with a reason for an unknown option or a bad value.
bool ParseHackOptions(int argc, const char* const* argv, HackOptions* options, std::string* error);

// The window to draw into: -window-id, else $XSCREENSAVER_WINDOW (null when
// unset), else with -root the root window, else one of our own.
void ChooseHackWindow(const HackOptions& options, const char* screensaver_window, WindowFlightOptions* flight);
