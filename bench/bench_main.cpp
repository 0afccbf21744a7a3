// skyliner-bench: frames per second of the off-screen scene, side by side for
// the literal immediate-mode path, the fast path and the floor (the same
// frame set-up with one full-screen quad of the ground picture). Unpaced;
// every frame ends with glFinish so that it is timed whole.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "headless_flight.h"
#include "viewer_options.h"

namespace {

struct BenchOptions {
  int warmup = 20;
  int frames = 200;
  int width = 1024;
  int height = 768;
};

const char kUsage[] =
    "Usage: skyliner-bench [--frames N] [--warmup N] [--size WxH]\n"
    "Times N frames (default 200) after the warm-up (default 20) at 1024x768 for the\n"
    "literal path, the fast path and the floor, with the bundled assets.\n";

struct Timing {
  double ms_per_frame = 0;      // wall clock
  double fps = 0;
  double cpu_ms_per_frame = 0;  // processor time of all the process's threads,
                                // which other load on the machine barely changes
};

}  // namespace

// Parses the few options; false for anything it does not know.
static bool ParseBenchOptions(int argc, char** argv, BenchOptions* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    bool ok = false;
    if (option == "--frames") ok = ParseFrameCount(value, &options->frames);
    if (option == "--warmup") ok = ParseFrameCount(value, &options->warmup);
    if (option == "--size") ok = ParseFrameSize(value, &options->width, &options->height);
    if (!ok) return false;
  }
  return true;
}

// Times `frames` calls of draw_frame, each finished with glFinish.
template <typename DrawFrame>
static Timing TimeFrames(int frames, DrawFrame draw_frame) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpu_start = std::clock();
  for (int i = 0; i < frames; ++i) {
    draw_frame();
    glFinish();
  }
  const std::clock_t cpu_end = std::clock();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  Timing timing;
  timing.ms_per_frame = elapsed.count() / frames;
  timing.fps = 1000.0 / timing.ms_per_frame;
  timing.cpu_ms_per_frame = 1000.0 * static_cast<double>(cpu_end - cpu_start) / CLOCKS_PER_SEC / frames;
  return timing;
}

// The cheapest frame the scene could have: the same clear and matrices, then
// the ground picture once over the whole viewport.
static void DrawFloorFrame(GLuint ground_texture) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, ground_texture);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(-1, -1);
  glTexCoord2f(1, 0);
  glVertex2f(1, -1);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(0, 1);
  glVertex2f(-1, 1);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

// Starts a flight on the bundled assets; false with a message when it cannot.
static bool StartFlight(HeadlessFlight& flight, const BenchOptions& options, DrawPath path) {
  const SceneFiles files = DefaultSceneFiles();
  switch (flight.Start(files, options.width, options.height, path)) {
    case FlightStart::kReady:
      return true;
    case FlightStart::kModelRefused:
      std::fprintf(stderr, "skyliner-bench: the model '%s' does not load\n", files.model.c_str());
      return false;
    case FlightStart::kNoContext:
      std::fprintf(stderr, "skyliner-bench: %s\n", flight.error().c_str());
      return false;
    case FlightStart::kNoPictures:
      std::fprintf(stderr, "skyliner-bench: neither scene picture loads\n");
      return false;
  }
  return false;
}

// Flies one path through the warm-up and the timed frames; keeps its last frame.
static bool RunPath(const BenchOptions& options, DrawPath path, Timing* timing, FramePixels* last,
                    std::string* renderer) {
  HeadlessFlight flight;
  if (!StartFlight(flight, options, path)) return false;
  flight.Steps(options.warmup);
  FlightScene& scene = flight.scene();
  *timing = TimeFrames(options.frames, [&scene] {
    scene.DrawFrame();
    glFinish();
    scene.AdvanceCameraSchedule();
  });
  *last = flight.ReadFrame();
  *renderer = flight.Describe();
  return true;
}

// Times the floor on a flight of its own, for its ground texture and state.
static bool RunFloor(const BenchOptions& options, Timing* timing) {
  HeadlessFlight flight;
  if (!StartFlight(flight, options, DrawPath::kFast)) return false;
  const GLuint ground = flight.scene().ground_texture;
  for (int i = 0; i < options.warmup; ++i) DrawFloorFrame(ground);
  glFinish();
  *timing = TimeFrames(options.frames, [ground] { DrawFloorFrame(ground); });
  return true;
}

// One row of the results table.
static void PrintTiming(const char* path, const Timing& timing) {
  std::printf("%-10s %10.2f %10.1f %14.2f\n", path, timing.ms_per_frame, timing.fps, timing.cpu_ms_per_frame);
}

int main(int argc, char** argv) {
  BenchOptions options;
  if (!ParseBenchOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Timing literal, fast, floor;
  FramePixels literal_frame, fast_frame;
  std::string renderer;
  if (!RunPath(options, DrawPath::kLiteral, &literal, &literal_frame, &renderer) ||
      !RunPath(options, DrawPath::kFast, &fast, &fast_frame, &renderer) || !RunFloor(options, &floor))
    return 1;

  std::printf("Skyliner rendering benchmark, %dx%d off screen, %d frames after %d warm-up, glFinish per frame\n",
              options.width, options.height, options.frames, options.warmup);
  std::printf("%s\n\n", renderer.c_str());
  std::printf("%-10s %10s %10s %14s\n", "path", "ms/frame", "fps", "cpu ms/frame");
  PrintTiming("literal", literal);
  PrintTiming("fast", fast);
  PrintTiming("floor", floor);
  const PixelDifference difference = ComparePixels(literal_frame, fast_frame, 0);
  std::printf("\nliteral vs fast at frame %d: largest per-channel difference %d, %ld of %ld pixels differ\n",
              options.warmup + options.frames, difference.largest_channel_difference,
              difference.pixels_beyond_tolerance, difference.pixel_count);
  return difference.same_size ? 0 : 1;
}
