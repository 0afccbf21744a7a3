// skyliner: the flight as an xscreensaver hack, over the user's own desktop.
#include <cstdio>
#include <cstdlib>

#include "desktop_grab.h"
#include "ground_picture.h"
#include "hack_options.h"
#include "window_flight.h"
#include "x11_window.h"

namespace {

constexpr char kProgram[] = "skyliner";

// The hack's flight: its ground is the -ground picture or the desktop grabbed
// under its window, mirrored as the saver's capture is; when neither can be
// had, one line says so and the bundled sample desktop is used.
class HackHost : public WindowFlightHost {
 public:
  HackHost(const SceneFiles& files, const WindowFlightOptions& flight, const HackOptions& options)
      : WindowFlightHost(kProgram, files, flight), options_(options) {}

  RgbImage* ReadScenePicture(ScenePicture which, bool report) override {
    RgbImage* ground = which == ScenePicture::kGround && !options_.sample_ground ? HackGround() : nullptr;
    return ground ? ground : WindowFlightHost::ReadScenePicture(which, report);
  }

 private:
  RgbImage* HackGround() {
    X11GlWindow& shown = window();
    std::string reason;
    RgbImage* ground = options_.ground.empty() ? GrabDesktop(shown.display(), shown.window(), shown.width(),
                                                             shown.height(), StopRequested, &reason)
                                               : ReadGroundPicture(options_.ground, &reason);
    if (!ground && !StopRequested())
      std::fprintf(stderr, "%s: no desktop picture (%s); flying over the sample desktop\n", kProgram,
                   reason.c_str());
    return ground;
  }

  const HackOptions& options_;
};

}  // namespace

int main(int argc, char** argv) {
  HackOptions options;
  std::string error;
  if (!ParseHackOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "%s: %s\n%s", kProgram, error.c_str(), kHackUsage);
    return 1;
  }
  if (options.help) {
    std::fputs(kHackUsage, stdout);
    return 0;
  }
  const SceneFiles files = DefaultSceneFiles();
  if (files.model.empty()) {
    std::fprintf(stderr, "%s: the bundled model and pictures were not found\n", kProgram);
    return 1;
  }
  WindowFlightOptions flight;
  ChooseHackWindow(options, std::getenv("XSCREENSAVER_WINDOW"), &flight);
  flight.seed = options.seed_given ? FlightSeed{FlightSeed::kFixed, options.seed} : FlightSeed{FlightSeed::kClock, 0};
  flight.paced = options.delay_us > 0;
  if (flight.paced) flight.frames_per_second = 1e6 / static_cast<double>(options.delay_us);
  flight.report_rate = options.show_rate;
  HackHost host(files, flight, options);
  return FlyInWindow(host);
}
