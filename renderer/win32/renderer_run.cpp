#include "renderer_run.h"

#include <memory>
#include <new>

#include "flight_start.h"
#include "renderer_host.h"
#include "renderer_window.h"
#include "system_libraries.h"

int RunRenderer(const FrameLoopOptions& options, DisplayWay way) {
  if (!LoadGraphicsLibraries()) return 0;
  RendererHost host(options, way);
  const std::unique_ptr<Flight> flight(new (std::nothrow) Flight);
  if (!flight) return 0;
  int exit_code = 0;
  switch (StartFlight(host, *flight, {FlightSeed::kClock, 0})) {
    case FlightStart::kReady:
      exit_code = RunFrameLoop(options, host, flight->scene);
      break;
    case FlightStart::kNoPictures:
      break;  // silent, as a refused model: the window is torn down below
    case FlightStart::kModelRefused:
    case FlightStart::kNoContext:
      return 0;  // nothing made, or already torn down
  }
  flight->Release();  // while the context is still current
  DestroyRendererWindow();
  return exit_code;
}
