// The files a flight is built from on this machine, and the host that reads
// them: the model and the two scene pictures by their own names, the
// model's material pictures from the model's folder.
#pragma once

#include <string>

#include "flight_host.h"

struct SceneFiles {
  std::string model;   // the aircraft, opened as given
  std::string sky;     // the sky picture
  std::string ground;  // the ground picture
};

// The bundled assets (Skyliner.data, sky.bmp, sample-desktop.bmp): from an
// "assets" folder beside the executable or one level up, from share/skyliner
// two levels up (the installed hack), else from the source tree's assets
// folder. Empty strings when none of them holds the model.
SceneFiles DefaultSceneFiles();

// Where a material picture a model names is read from: a working-folder name
// ("c:\kestrel\NAME", any case, either slash) names the sky or ground file
// for those two pictures and the model's folder + NAME for any other (found
// in any case); every other name is a file as given.
std::string MaterialPicturePath(const SceneFiles& files, const std::string& name);

// A host whose files are SceneFiles, read with fopen and the portable decoder,
// reporting on standard error. The view is the subclass's.
class SceneFilesHost : public FlightHost {
 public:
  explicit SceneFilesHost(const SceneFiles& files) : files_(files) {}

  const char* ModelPath() override { return files_.model.c_str(); }
  RgbImage* ReadScenePicture(ScenePicture which, bool report) override;
  // From MaterialPicturePath.
  RgbImage* ReadMaterialPicture(const std::string& name) override;

 protected:
  const SceneFiles files_;
};
