#include "hack_options.h"

#include <cerrno>
#include <cstdlib>

#include "option_table.h"
#include "viewer_options.h"

const char kHackUsage[] =
    "Usage: skyliner [options]\n"
    "Flies an airliner over your desktop: an xscreensaver hack.\n"
    "\n"
    "  -window-id ID   draw into this window (else $XSCREENSAVER_WINDOW)\n"
    "  -root           draw on the root window\n"
    "  -window         draw in a window of its own (the default)\n"
    "  -delay USEC     microseconds a frame (default 16667: 60 frames a second;\n"
    "                  0 draws as fast as possible)\n"
    "  -fps            show the frame rate and processor time a frame (and report\n"
    "                  them on stderr)\n"
    "  -ground FILE    fly over this BMP, PNG or JPEG picture instead of the desktop\n"
    "  -sample-ground  fly over the bundled sample desktop instead of the desktop\n"
    "  -seed N         seed for the flight's random turns (default: the clock)\n"
    "  -help           show this text\n"
    "\n"
    "Every option may also be written with two dashes.\n";

namespace {

using Entry = OptionEntry<HackOptions>;

// A window id as xscreensaver writes it: hexadecimal with 0x, or decimal.
bool ParseWindowId(const std::string& text, unsigned long* id) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || parsed == 0 || parsed > 0xffffffffull) return false;
  *id = static_cast<unsigned long>(parsed);
  return true;
}

bool SetWindowId(HackOptions& o, const std::string& v, std::string* error) {
  if (!ParseWindowId(v, &o.window_id)) {
    *error = "-window-id needs a window id such as 0x2a00007, not '" + v + "'";
    return false;
  }
  return o.window_id_given = true;
}
bool SetRoot(HackOptions& o, const std::string&, std::string*) { return o.root = true; }
bool SetOwnWindow(HackOptions& o, const std::string&, std::string*) {
  o.root = false;
  return true;
}
bool SetShowRate(HackOptions& o, const std::string&, std::string*) { return o.show_rate = true; }
bool SetDelay(HackOptions& o, const std::string& v, std::string* error) {
  unsigned long long delay = 0;
  if (!ParseUnsigned(v, 10000000, &delay)) {
    *error = "-delay needs microseconds from 0 to 10000000, not '" + v + "'";
    return false;
  }
  o.delay_us = static_cast<long>(delay);
  return true;
}
bool SetGround(HackOptions& o, const std::string& v, std::string* error) {
  if (v.empty()) *error = "-ground needs a file name";
  o.ground = v;
  return !v.empty();
}
bool SetSampleGround(HackOptions& o, const std::string&, std::string*) { return o.sample_ground = true; }
bool SetSeed(HackOptions& o, const std::string& v, std::string* error) {
  if (!ParseSeed(v, &o.seed, error)) {
    *error = "-seed " + *error;
    return false;
  }
  return o.seed_given = true;
}
bool SetHelp(HackOptions& o, const std::string&, std::string*) { return o.help = true; }

const Entry kHackOptions[] = {
    {"-window-id", "--window-id", true, SetWindowId}, {"-root", "--root", false, SetRoot},
    {"-window", "--window", false, SetOwnWindow},     {"-fps", "--fps", false, SetShowRate},
    {"-delay", "--delay", true, SetDelay},            {"-ground", "--ground", true, SetGround},
    {"-sample-ground", "--sample-ground", false, SetSampleGround},
    {"-seed", "--seed", true, SetSeed},               {"-help", "--help", false, SetHelp},
};

}  // namespace

bool ParseHackOptions(int argc, const char* const* argv, HackOptions* options, std::string* error) {
  return ParseOptionTable(argc, argv, kHackOptions, options, error);
}

void ChooseHackWindow(const HackOptions& options, const char* screensaver_window, WindowFlightOptions* flight) {
  unsigned long from_environment = 0;
  const bool named = screensaver_window && ParseWindowId(screensaver_window, &from_environment);
  flight->adopt = options.window_id_given || named || options.root;
  flight->window_id = options.window_id_given ? options.window_id : named ? from_environment : 0;
}
