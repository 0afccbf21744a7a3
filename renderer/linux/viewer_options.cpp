#include "viewer_options.h"

#include "option_table.h"

#include <cerrno>
#include <cstdlib>

const char kViewerUsage[] =
    "Usage: skyliner-viewer [options]\n"
    "Flies the aircraft over the ground picture, in a window or off screen.\n"
    "\n"
    "  --model FILE       MilkShape 3D model (default: the bundled Skyliner.data)\n"
    "  --sky FILE         sky picture, a BMP (default: the bundled sky.bmp)\n"
    "  --ground FILE      ground picture, a BMP (default: the bundled sample-desktop.bmp)\n"
    "  --snapshot OUT.png render off screen, no window, and write the last frame\n"
    "  --frames N         frames to render (default with --snapshot: 1; on screen:\n"
    "                     until Esc or the window is closed)\n"
    "  --size WxH         frame or window size (default 1024x768)\n"
    "  --fullscreen       cover the whole screen (on screen only)\n"
    "  --unpaced          on screen, draw as fast as possible instead of 60 frames a\n"
    "                     second (the flight then speeds up with the frame rate)\n"
    "  --path literal|fast  how the ground and sky are sent to OpenGL (default fast)\n"
    "  --seed N           seed for the flight's random turns; on screen the default\n"
    "                     is clock(), off screen the generator stays unseeded\n"
    "  --help             show this text\n"
    "\n"
    "Off screen, the same options always give the same picture.\n";

bool ParseUnsigned(const std::string& text, unsigned long long limit, unsigned long long* value) {
  if (text.empty() || text.size() > 20) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  errno = 0;
  const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || parsed > limit) return false;
  *value = parsed;
  return true;
}

bool ParseFrameSize(const std::string& text, int* width, int* height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  unsigned long long w = 0, h = 0;
  if (!ParseUnsigned(text.substr(0, x), kMaxFrameSide, &w) || !ParseUnsigned(text.substr(x + 1), kMaxFrameSide, &h))
    return false;
  if (w == 0 || h == 0) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

bool ParseFrameCount(const std::string& text, int* count) {
  unsigned long long n = 0;
  if (!ParseUnsigned(text, 100000000, &n) || n == 0) return false;
  *count = static_cast<int>(n);
  return true;
}

// Checks the options against each other once all are read.
static bool CheckCombination(const ViewerOptions& options, std::string* error) {
  if (!options.snapshot.empty() && options.fullscreen) {
    *error = "--fullscreen needs a window; it cannot be used with --snapshot";
    return false;
  }
  if (options.fullscreen && options.size_given) {
    *error = "--fullscreen takes the screen's size; leave out --size";
    return false;
  }
  return true;
}

bool ParseSeed(const std::string& value, unsigned int* seed, std::string* error) {
  unsigned long long parsed = 0;
  if (!ParseUnsigned(value, 0xffffffffull, &parsed)) {
    *error = "needs a whole number from 0 to 4294967295, not '" + value + "'";
    return false;
  }
  *seed = static_cast<unsigned int>(parsed);
  return true;
}

namespace {

using Entry = OptionEntry<ViewerOptions>;

// What each option does; the names are in kViewerOptions below.
bool SetHelp(ViewerOptions& o, const std::string&, std::string*) { return o.help = true; }
bool SetFullscreen(ViewerOptions& o, const std::string&, std::string*) { return o.fullscreen = true; }
bool SetUnpaced(ViewerOptions& o, const std::string&, std::string*) {
  o.paced = false;
  return true;
}
bool SetModel(ViewerOptions& o, const std::string& v, std::string*) {
  o.files.model = v;
  return true;
}
bool SetSky(ViewerOptions& o, const std::string& v, std::string*) {
  o.files.sky = v;
  return true;
}
bool SetGround(ViewerOptions& o, const std::string& v, std::string*) {
  o.files.ground = v;
  return true;
}
bool SetSnapshot(ViewerOptions& o, const std::string& v, std::string* error) {
  if (v.empty()) *error = "--snapshot needs a file name";
  o.snapshot = v;
  return !v.empty();
}
bool SetFrames(ViewerOptions& o, const std::string& v, std::string* error) {
  if (ParseFrameCount(v, &o.frames)) return true;
  *error = "--frames needs a whole number from 1 to 100000000, not '" + v + "'";
  return false;
}
bool SetSize(ViewerOptions& o, const std::string& v, std::string* error) {
  if (!ParseFrameSize(v, &o.width, &o.height)) {
    *error = "--size needs WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxFrameSide) + ", not '" + v + "'";
    return false;
  }
  return o.size_given = true;
}
bool SetPath(ViewerOptions& o, const std::string& v, std::string* error) {
  if (v != "literal" && v != "fast") {
    *error = "--path is literal or fast, not '" + v + "'";
    return false;
  }
  o.path = v == "literal" ? DrawPath::kLiteral : DrawPath::kFast;
  return true;
}
bool SetSeed(ViewerOptions& o, const std::string& v, std::string* error) {
  if (!ParseSeed(v, &o.seed, error)) {
    *error = "--seed " + *error;
    return false;
  }
  return o.seed_given = true;
}

const Entry kViewerOptions[] = {
    {"--help", "-h", false, SetHelp},        {"--fullscreen", nullptr, false, SetFullscreen},
    {"--unpaced", nullptr, false, SetUnpaced}, {"--model", nullptr, true, SetModel},
    {"--sky", nullptr, true, SetSky},        {"--ground", nullptr, true, SetGround},
    {"--snapshot", nullptr, true, SetSnapshot}, {"--frames", nullptr, true, SetFrames},
    {"--size", nullptr, true, SetSize},      {"--path", nullptr, true, SetPath},
    {"--seed", nullptr, true, SetSeed},
};

}  // namespace

bool ParseViewerOptions(int argc, const char* const* argv, ViewerOptions* options, std::string* error) {
  if (!ParseOptionTable(argc, argv, kViewerOptions, options, error)) return false;
  if (!options->snapshot.empty() && options->frames == 0) options->frames = 1;
  return CheckCombination(*options, error);
}
