// The viewer's command line and its mapping of the renderer's fixed paths.
#include <gtest/gtest.h>

#include <initializer_list>

#include "scene_files.h"
#include "contract/working_files.h"
#include "viewer_options.h"
#include "viewer_process.h"

namespace {

// Parses the given arguments (after the program name) over the defaults.
bool Parse(std::initializer_list<const char*> args, ViewerOptions* options, std::string* error) {
  std::vector<const char*> argv = {"skyliner-viewer"};
  argv.insert(argv.end(), args.begin(), args.end());
  return ParseViewerOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(ViewerOptions, DefaultsAreAnEndlessWindowedFastFlight) {
  ViewerOptions options;
  std::string error;
  ASSERT_TRUE(Parse({}, &options, &error)) << error;
  EXPECT_TRUE(options.snapshot.empty());
  EXPECT_EQ(options.frames, 0);
  EXPECT_EQ(options.width, 1024);
  EXPECT_EQ(options.height, 768);
  EXPECT_EQ(options.path, DrawPath::kFast);
  EXPECT_FALSE(options.seed_given);
  EXPECT_FALSE(options.fullscreen);
  EXPECT_TRUE(options.paced);
}

TEST(ViewerOptions, ReadsEveryOption) {
  ViewerOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--model", "m.data", "--sky", "s.bmp", "--ground", "g.bmp", "--frames", "1050",
                     "--snapshot", "out.png", "--size", "512x384", "--path", "literal", "--seed", "4294967295", "--unpaced"},
                    &options, &error))
      << error;
  EXPECT_EQ(options.files.model, "m.data");
  EXPECT_EQ(options.files.sky, "s.bmp");
  EXPECT_EQ(options.files.ground, "g.bmp");
  EXPECT_EQ(options.frames, 1050);
  EXPECT_EQ(options.snapshot, "out.png");
  EXPECT_EQ(options.width, 512);
  EXPECT_EQ(options.height, 384);
  EXPECT_EQ(options.path, DrawPath::kLiteral);
  EXPECT_TRUE(options.seed_given);
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_FALSE(options.paced);
}

TEST(ViewerOptions, SnapshotAloneRendersOneFrame) {
  ViewerOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--snapshot", "out.png"}, &options, &error)) << error;
  EXPECT_EQ(options.frames, 1);
}

TEST(ViewerOptions, AcceptsSizesUpToTheLimit) {
  int width = 0, height = 0;
  EXPECT_TRUE(ParseFrameSize("1x1", &width, &height));
  EXPECT_TRUE(ParseFrameSize("8192X8192", &width, &height));
  EXPECT_EQ(width, kMaxFrameSide);
  EXPECT_EQ(height, kMaxFrameSide);
}

TEST(ViewerOptions, RefusesMalformedValues) {
  const std::vector<std::vector<const char*>> refused = {
      {"--frames", "0"},       {"--frames", "-3"},      {"--frames", "12a"},     {"--frames", ""},
      {"--frames", "999999999999999999999"},            {"--size", "0x10"},      {"--size", "10x"},
      {"--size", "x10"},       {"--size", "10x10x10"},  {"--size", "-5x5"},      {"--size", "8193x2"},
      {"--size", "640*480"},   {"--path", "slow"},      {"--seed", "4294967296"}, {"--seed", "-1"},
      {"--snapshot", ""},      {"--model"},             {"--bogus"},             {"extra"},
  };
  for (const auto& args : refused) {
    ViewerOptions options;
    std::string error;
    std::vector<const char*> argv = {"skyliner-viewer"};
    argv.insert(argv.end(), args.begin(), args.end());
    EXPECT_FALSE(ParseViewerOptions(static_cast<int>(argv.size()), argv.data(), &options, &error))
        << args[0] << " " << (args.size() > 1 ? args[1] : "");
    EXPECT_FALSE(error.empty());
  }
}

TEST(ViewerOptions, RefusesFullscreenWithSnapshotOrSize) {
  ViewerOptions options;
  std::string error;
  EXPECT_FALSE(Parse({"--fullscreen", "--snapshot", "out.png"}, &options, &error));
  ViewerOptions sized;
  EXPECT_FALSE(Parse({"--fullscreen", "--size", "800x600"}, &sized, &error));
  ViewerOptions plain;
  EXPECT_TRUE(Parse({"--fullscreen"}, &plain, &error)) << error;
}

TEST(MaterialPicturePath, MapsTheTwoScenePicturesInAnyCase) {
  const SceneFiles files = {"/data/models/plane.data", "/data/sky.bmp", "/data/desk.bmp"};
  EXPECT_EQ(MaterialPicturePath(files, kRendererSkyPicturePath), "/data/sky.bmp");
  EXPECT_EQ(MaterialPicturePath(files, kRendererGroundPicturePath), "/data/desk.bmp");
  EXPECT_EQ(MaterialPicturePath(files, "C:\\KESTREL\\JETSCAPE3.BMP"), "/data/sky.bmp");
  EXPECT_EQ(MaterialPicturePath(files, "c:/kestrel/jetscape1.bmp"), "/data/desk.bmp");
}

TEST(MaterialPicturePath, TakesOtherWorkingFilesFromTheModelsFolder) {
  const SceneFiles files = {"/data/models/plane.data", "/data/sky.bmp", "/data/desk.bmp"};
  EXPECT_EQ(MaterialPicturePath(files, "c:\\kestrel\\Jetscape2.bmp"), "/data/models/Jetscape2.bmp");
  EXPECT_EQ(MaterialPicturePath(files, "C:\\Kestrel\\textures\\wing.bmp"), "/data/models/textures/wing.bmp");
}

TEST(MaterialPicturePath, FindsAFileWhoseNameDiffersInCase) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / "Puff.BMP", "x"));
  const SceneFiles files = {folder / "plane.data", "", ""};
  EXPECT_EQ(MaterialPicturePath(files, "c:\\kestrel\\puff.bmp"), folder / "Puff.BMP");
}

TEST(MaterialPicturePath, LeavesOtherPathsAlone) {
  const SceneFiles files = {"/data/models/plane.data", "/data/sky.bmp", "/data/desk.bmp"};
  EXPECT_EQ(MaterialPicturePath(files, "wing.bmp"), "wing.bmp");
  EXPECT_EQ(MaterialPicturePath(files, "d:\\kestrel\\wing.bmp"), "d:\\kestrel\\wing.bmp");
  EXPECT_EQ(MaterialPicturePath(files, "c:\\kestrel\\"), "c:\\kestrel\\");
  EXPECT_EQ(MaterialPicturePath(files, "c:\\kestrelx\\a.bmp"), "c:\\kestrelx\\a.bmp");
}

}  // namespace
