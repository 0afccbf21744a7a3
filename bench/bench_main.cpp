// skyliner-bench: frames per second of the off-screen scene, side by side for
// the literal immediate-mode path, the fast path and the floor (the same
// frame set-up with one full-screen quad of the ground picture), at each of
// the sizes given. Unpaced; every frame ends with glFinish so that it is
// timed whole. The fast path and the floor are timed in alternate rounds, so
// that the machine's other load falls on both alike; the literal path, much
// slower, once a size, for its picture.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "floor_frame.h"
#include "headless_flight.h"
#include "viewer_options.h"

namespace {

struct BenchOptions {
  int warmup = 20;
  int frames = 200;
  int rounds = 5;
  int width = 1024;  // the size being timed
  int height = 768;
  // One monitor of the classic mode, the two-monitor span of the
  // every-monitor checks (1280 x 1024 beside 1024 x 768), and a large panel.
  std::vector<std::pair<int, int>> sizes = {{1024, 768}, {2304, 1024}, {2560, 1440}};
};

const char kUsage[] =
    "Usage: skyliner-bench [--frames N] [--warmup N] [--rounds N] [--size WxH[,WxH...]]\n"
    "Times N frames (default 200) after the warm-up (default 20) for the literal path\n"
    "once, then the fast path and the floor in alternate rounds (default 5), at each\n"
    "size (default 1024x768,2304x1024,2560x1440), with the bundled assets.\n";

struct Timing {
  double ms_per_frame = 0;      // wall clock
  double fps = 0;
  double cpu_ms_per_frame = 0;  // processor time of all the process's threads,
                                // which other load on the machine barely changes
};

}  // namespace

// Sizes WxH separated by commas.
static bool ParseSizes(const std::string& text, std::vector<std::pair<int, int>>* sizes) {
  sizes->clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    int width = 0, height = 0;
    if (!ParseFrameSize(text.substr(start, comma - start), &width, &height)) return false;
    sizes->push_back({width, height});
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// Parses the few options; false for anything it does not know.
static bool ParseBenchOptions(int argc, char** argv, BenchOptions* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    bool ok = false;
    if (option == "--frames") ok = ParseFrameCount(value, &options->frames);
    if (option == "--warmup") ok = ParseFrameCount(value, &options->warmup);
    if (option == "--rounds") ok = ParseFrameCount(value, &options->rounds) && options->rounds > 0;
    if (option == "--size") ok = ParseSizes(value, &options->sizes);
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

// The median and the spread of one figure over the rounds.
struct Spread {
  double median = 0, low = 0, high = 0;
};

static Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

static void PrintSpread(const char* what, const Spread& spread, const char* unit) {
  std::printf("  %-22s %8.2f%s  (%.2f - %.2f)\n", what, spread.median, unit, spread.low, spread.high);
}

// One size: the literal path once, then the fast path and the floor in
// alternate rounds. Prints its figures and returns the ratios' spread.
static bool BenchSize(const BenchOptions& options, Spread* ratio) {
  Timing literal, timing;
  FramePixels literal_frame, fast_frame;
  std::string renderer;
  if (!RunPath(options, DrawPath::kLiteral, &literal, &literal_frame, &renderer)) return false;
  std::vector<double> fast_ms, floor_ms, ratios, fast_cpu, floor_cpu, cpu_ratios;
  for (int round = 0; round < options.rounds; ++round) {
    if (!RunPath(options, DrawPath::kFast, &timing, &fast_frame, &renderer)) return false;
    fast_ms.push_back(timing.ms_per_frame);
    fast_cpu.push_back(timing.cpu_ms_per_frame);
    if (!RunFloor(options, &timing)) return false;
    floor_ms.push_back(timing.ms_per_frame);
    floor_cpu.push_back(timing.cpu_ms_per_frame);
    ratios.push_back(fast_ms.back() / floor_ms.back());
    cpu_ratios.push_back(fast_cpu.back() / floor_cpu.back());
  }
  const PixelDifference difference = ComparePixels(literal_frame, fast_frame, 0);
  std::printf("%dx%d: %s\n", options.width, options.height, renderer.c_str());
  std::printf("  %-22s %8.2f ms  (%.1f fps, %.2f ms processor time)\n", "literal, once", literal.ms_per_frame,
              literal.fps, literal.cpu_ms_per_frame);
  PrintSpread("fast, ms a frame", SpreadOf(fast_ms), " ms");
  PrintSpread("floor, ms a frame", SpreadOf(floor_ms), " ms");
  PrintSpread("fast, processor ms", SpreadOf(fast_cpu), " ms");
  PrintSpread("floor, processor ms", SpreadOf(floor_cpu), " ms");
  *ratio = SpreadOf(ratios);
  PrintSpread("fast / floor", *ratio, "x ");
  // Processor time barely moves with the machine's other load; wall time does.
  PrintSpread("fast / floor, processor", SpreadOf(cpu_ratios), "x ");
  std::printf("  literal vs fast at frame %d: largest per-channel difference %d, %ld of %ld pixels differ\n",
              options.warmup + options.frames, difference.largest_channel_difference,
              difference.pixels_beyond_tolerance, difference.pixel_count);
  return difference.same_size;
}

int main(int argc, char** argv) {
  BenchOptions options;
  if (!ParseBenchOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::printf("Skyliner rendering benchmark, off screen, %d frames after %d warm-up, glFinish per frame; "
              "medians of %d alternate rounds (lowest - highest)\n\n",
              options.frames, options.warmup, options.rounds);
  std::vector<Spread> ratios;
  for (const auto& size : options.sizes) {
    options.width = size.first;
    options.height = size.second;
    ratios.emplace_back();
    if (!BenchSize(options, &ratios.back())) return 1;
    std::fflush(stdout);
  }
  std::printf("\nfast / floor by size (goal 1.15 or less):\n");
  for (size_t i = 0; i < ratios.size(); ++i)
    std::printf("  %5dx%-5d %.2f  (%.2f - %.2f)\n", options.sizes[i].first, options.sizes[i].second,
                ratios[i].median, ratios[i].low, ratios[i].high);
  return 0;
}
