// The viewer's command line.
#pragma once

#include <string>

#include "flight_scene.h"
#include "scene_files.h"

struct ViewerOptions {
  SceneFiles files;            // model, sky and ground pictures
  std::string snapshot;        // non-empty: render off screen and write this PNG
  int frames = 0;              // frames to fly; 0 = until Esc or close (on screen only)
  int width = 1024;
  int height = 768;
  bool size_given = false;
  bool fullscreen = false;
  bool paced = true;           // on screen: 60 frames a second; false draws flat out
  DrawPath path = DrawPath::kFast;
  bool seed_given = false;
  unsigned int seed = 0;       // replaces clock() as the seed when seed_given
  bool help = false;
};

extern const char kViewerUsage[];

// Parses argv[1..] over defaults already in *options. False with a reason in
// *error for an unknown option, a missing or malformed value, or a
// contradictory combination.
bool ParseViewerOptions(int argc, const char* const* argv, ViewerOptions* options, std::string* error);

// Large enough for any screen, small enough that a frame and its copy fit in memory.
constexpr int kMaxFrameSide = 8192;

// "WxH" with both sides from 1 to kMaxFrameSide.
bool ParseFrameSize(const std::string& text, int* width, int* height);

// A whole decimal number from 1 to 100000000.
bool ParseFrameCount(const std::string& text, int* count);

// A seed from 0 to 4294967295; false with the rule in *error.
bool ParseSeed(const std::string& value, unsigned int* seed, std::string* error);
