// The host the unit tests lend a flight: named files, the portable reader
// reporting into bmp::Reported(), and a record of what the core asked for.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "flight_host.h"

class FakeHost : public FlightHost {
 public:
  std::string model;                               // the model's file
  std::string sky, ground;                         // the scene pictures' files; empty: none
  std::map<std::string, std::string> materials;    // a material name's file; others are missing
  bool refuse_files = false;                       // OpenForReading opens nothing
  bool view_opens = true;

  std::vector<std::string> asked;   // material names asked for, in order
  std::vector<std::string> read;    // files given to the picture reader, in order
  std::vector<std::string> phases;  // start-up marks, in order
  int presented = 0;

  const char* ModelPath() override { return model.c_str(); }
  RgbImage* ReadScenePicture(ScenePicture which, bool report) override {
    const std::string& file = which == ScenePicture::kSky ? sky : ground;
    return file.empty() ? nullptr : ReadPicture(file.c_str(), report);
  }
  RgbImage* ReadMaterialPicture(const std::string& name) override {
    asked.push_back(name);
    const auto found = materials.find(name);
    return found == materials.end() ? nullptr : ReadPicture(found->second.c_str(), true);
  }
  std::FILE* OpenForReading(const char* path) override {
    return refuse_files ? nullptr : FlightHost::OpenForReading(path);
  }
  RgbImage* ReadPictureFile(const char* path, bool report) override {
    read.push_back(path);
    return ReadBitmapImageFile(path, report ? bmp::Collect : nullptr, *this);
  }
  bool OpenView(OpenedView* view) override {
    view->width = 64;
    view->height = 48;
    return view_opens;
  }
  void PresentFrame() override { ++presented; }
  void MarkPhase(const char* phase) override { phases.push_back(phase); }
  int TaskThreads() const override { return 1; }
};
