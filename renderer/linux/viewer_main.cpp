// skyliner-viewer: the flight renderer on Linux, in a window or off screen.
#include <cstdio>

#include "headless_flight.h"
#include "png_io.h"
#include "viewer_options.h"
#include "window_flight.h"

// The given seed, else the usual one of this way of running.
static FlightSeed SeedOf(const ViewerOptions& options, FlightSeed::Kind usual) {
  return options.seed_given ? FlightSeed{FlightSeed::kFixed, options.seed} : FlightSeed{usual, 0};
}

// Renders the frames off screen and writes the last one.
static int RunOffscreen(const ViewerOptions& options) {
  HeadlessFlight flight;
  switch (flight.Start(options.files, options.width, options.height, options.path,
                       SeedOf(options, FlightSeed::kUnseeded))) {
    case FlightStart::kReady:
      break;
    case FlightStart::kNoContext:
      std::fprintf(stderr, "skyliner-viewer: %s\n", flight.error().c_str());
      return 1;
    case FlightStart::kModelRefused:
    case FlightStart::kNoPictures:
      return 0;  // the renderer's silent end
  }
  flight.Steps(options.frames);
  std::string error;
  if (!WritePng(options.snapshot, flight.ReadFrame(), &error)) {
    std::fprintf(stderr, "skyliner-viewer: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

// The renderer's start-up and frame loop in a window of the viewer's own.
static int RunOnScreen(const ViewerOptions& options) {
  WindowFlightOptions flight;
  flight.width = options.width;
  flight.height = options.height;
  flight.fullscreen = options.fullscreen;
  flight.path = options.path;
  flight.seed = SeedOf(options, FlightSeed::kClock);
  flight.paced = options.paced;
  flight.frames = options.frames;
  WindowFlightHost host("skyliner-viewer", options.files, flight);
  return FlyInWindow(host);
}

int main(int argc, char** argv) {
  ViewerOptions options;
  options.files = DefaultSceneFiles();
  std::string error;
  if (!ParseViewerOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "skyliner-viewer: %s\n%s", error.c_str(), kViewerUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kViewerUsage, stdout);
    return 0;
  }
  if (options.files.model.empty()) {
    std::fprintf(stderr, "skyliner-viewer: the bundled assets were not found; name them with --model, --sky and --ground\n");
    return 2;
  }
  return options.snapshot.empty() ? RunOnScreen(options) : RunOffscreen(options);
}
