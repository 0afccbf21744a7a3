#include "viewer_options.h"

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

// Parses a whole unsigned decimal number into *value; false for anything else.
static bool ParseUnsigned(const std::string& text, unsigned long long limit, unsigned long long* value) {
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

bool ParseViewerOptions(int argc, const char* const* argv, ViewerOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      options->help = true;
      continue;
    }
    if (option == "--fullscreen") {
      options->fullscreen = true;
      continue;
    }
    if (option == "--unpaced") {
      options->paced = false;
      continue;
    }
    const bool takes_value = option == "--model" || option == "--sky" || option == "--ground" ||
                             option == "--snapshot" || option == "--frames" || option == "--size" ||
                             option == "--path" || option == "--seed";
    if (!takes_value) {
      *error = "unknown option " + option;
      return false;
    }
    if (i + 1 >= argc) {
      *error = option + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    if (option == "--model") {
      options->files.model = value;
    } else if (option == "--sky") {
      options->files.sky = value;
    } else if (option == "--ground") {
      options->files.ground = value;
    } else if (option == "--snapshot") {
      if (value.empty()) {
        *error = "--snapshot needs a file name";
        return false;
      }
      options->snapshot = value;
    } else if (option == "--frames") {
      if (!ParseFrameCount(value, &options->frames)) {
        *error = "--frames needs a whole number from 1 to 100000000, not '" + value + "'";
        return false;
      }
    } else if (option == "--size") {
      if (!ParseFrameSize(value, &options->width, &options->height)) {
        *error = "--size needs WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxFrameSide) + ", not '" +
                 value + "'";
        return false;
      }
      options->size_given = true;
    } else if (option == "--path") {
      if (value == "literal") {
        options->path = DrawPath::kLiteral;
      } else if (value == "fast") {
        options->path = DrawPath::kFast;
      } else {
        *error = "--path is literal or fast, not '" + value + "'";
        return false;
      }
    } else {
      unsigned long long seed = 0;
      if (!ParseUnsigned(value, 0xffffffffull, &seed)) {
        *error = "--seed needs a whole number from 0 to 4294967295, not '" + value + "'";
        return false;
      }
      options->seed = static_cast<unsigned int>(seed);
      options->seed_given = true;
    }
  }
  if (!options->snapshot.empty() && options->frames == 0) options->frames = 1;
  return CheckCombination(*options, error);
}
