// What the platform lends a flight: where its files are and how they are
// opened and read, how a loader message reaches the user, the view it is
// drawn into and how a frame is shown, and how work runs side by side. The
// core asks the host it is handed and installs nothing.
//
// A host is one virtual interface, the core's one callback style: it is
// several related hooks that share the platform's state (a window, a
// folder, a grabbed picture), and a test subclasses it as a fake.
#pragma once

#include <cstdio>
#include <string>

#include "rgb_image.h"
#include "task_runner.h"

struct FlightProjection;
struct ScenePictures;

enum class ScenePicture { kSky, kGround };

// What OpenView made: the drawable's size and how the camera sits on it.
struct OpenedView {
  int width = 0;
  int height = 0;
  const FlightProjection* off_axis = nullptr;  // null: the view is centred
  ScenePictures* prepared = nullptr;           // pictures the host read meanwhile, if any
};

class FlightHost : public TaskRunner {
 public:
  // The aircraft's file, opened with OpenForReading.
  virtual const char* ModelPath() = 0;

  // One scene picture; null when it is missing (silently) or unreadable
  // (shown to the user when report is set). Hosts that read files do it
  // with ReadPicture.
  virtual RgbImage* ReadScenePicture(ScenePicture which, bool report) = 0;

  // A picture a model names for a material (a name IsRefusedTextureName
  // lets through), read as ReadPicture does and reported; by default the
  // name is the file.
  virtual RgbImage* ReadMaterialPicture(const std::string& name);

  // Opens a file for binary reading, never creating it; null when it cannot
  // be opened or is not to be trusted (read as missing). fopen by default.
  virtual std::FILE* OpenForReading(const char* path);

  // Reads one picture file that OpenForReading has found there; a failure is
  // shown to the user when report is set: this is where a host shows the
  // loader's messages (a message box on Windows). The portable decoder,
  // reporting on standard error, by default.
  virtual RgbImage* ReadPictureFile(const char* path, bool report);

  // Makes the window (or off-screen frame) with a current context; false when
  // none can be had, with anything it made released again.
  virtual bool OpenView(OpenedView* view) = 0;

  // Shows the frame just drawn (a buffer swap).
  virtual void PresentFrame() = 0;

  // The end of a start-up phase (model read, each picture read, each texture
  // built), for a benchmark; may come from another thread. Nothing by default.
  virtual void MarkPhase(const char* phase) { (void)phase; }

  // Null for a null path or one OpenForReading cannot open (a missing file is
  // normal and never reported, and neither is one the host does not trust);
  // otherwise ReadPictureFile.
  RgbImage* ReadPicture(const char* path, bool report);
};

// Writes a loader message to standard error, ending it with a newline.
void ReportToStderr(const char* text);
