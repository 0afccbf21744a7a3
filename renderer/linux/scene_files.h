// The files a flight is built from, and the locator that lets the core's
// fixed Windows paths ("c:\kestrel\...") find them on this machine.
#pragma once

#include <string>

struct SceneFiles {
  std::string model;   // the aircraft, opened as given
  std::string sky;     // stands in for kRendererSkyPicturePath
  std::string ground;  // stands in for kRendererGroundPicturePath
};

// The bundled assets (Skyliner.data, sky.bmp, sample-desktop.bmp): from an
// "assets" folder beside the executable or one level up, from share/skyliner
// two levels up (the installed hack), else from the source tree's assets
// folder. Empty strings when none of them holds the model.
SceneFiles DefaultSceneFiles();

// Makes these the files LocateSceneFile hands out and installs it as the
// core's file locator.
void UseSceneFiles(const SceneFiles& files);

// kRendererSkyPicturePath -> files.sky, kRendererGroundPicturePath -> files.ground, any other
// "c:\kestrel\NAME" (any case, either slash) -> the model's folder + NAME, and
// every other path unchanged.
std::string LocateSceneFile(const char* path);
