// skyliner-viewer as a program: exit codes, messages and snapshots for good
// and bad files, run off screen (and once without any display).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bmp_builder.h"
#include "ms3d_builder.h"
#include "png_io.h"
#include "viewer_process.h"

namespace {

const std::string kAssets = SKYLINER_SOURCE_ASSETS;
const std::string kModel = kAssets + "/Skyliner.data";
const std::string kSky = kAssets + "/sky.bmp";
const std::string kGround = kAssets + "/sample-desktop.bmp";

// A bitmap file whose header is the 108-byte kind the reader does not know.
std::string UnknownHeaderBitmap() {
  bmp::Options options;
  options.header_size = 108;
  options.pixels = bmp::Bytes(4, 0);
  const bmp::Bytes bytes = bmp::Build(options);
  return std::string(bytes.begin(), bytes.end());
}

// An 8 x 8 picture of one colour.
std::string SolidBitmap(unsigned char r, unsigned char g, unsigned char b) {
  bmp::Bytes pixels;
  for (int i = 0; i < 8 * 8; ++i) pixels.insert(pixels.end(), {b, g, r});
  const bmp::Bytes bytes = bmp::Plain24(8, 8, pixels);
  return std::string(bytes.begin(), bytes.end());
}

// Three crossed 1000-unit squares through the model's origin, where the
// chase camera looks, in one glowing white material with the given picture:
// whatever the view, the middle of the frame shows that material.
std::string CrossedSquaresModel(const std::string& texture) {
  Ms3dBuilder model;
  const float h = 500;
  const float squares[3][4][3] = {
      {{-h, -h, 0}, {h, -h, 0}, {h, h, 0}, {-h, h, 0}},
      {{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}},
      {{0, -h, -h}, {0, h, -h}, {0, h, h}, {0, -h, h}},
  };
  Ms3dBuilder::Group group = {{}, 0};
  for (const auto& square : squares) {
    const uint16_t first = static_cast<uint16_t>(model.vertices.size());
    for (const auto& corner : square) model.vertices.push_back({{corner[0], corner[1], corner[2]}, 0});
    const uint16_t triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& triangle : triangles) {
      Ms3dBuilder::Triangle t = {};
      for (int c = 0; c < 3; ++c) {
        t.vertex_indices[c] = static_cast<uint16_t>(first + triangle[c]);
        t.normals[c][1] = 1;
        t.s[c] = (triangle[c] == 1 || triangle[c] == 2) ? 1.0f : 0.0f;
        t.t[c] = (triangle[c] >= 2) ? 1.0f : 0.0f;
      }
      group.triangle_indices.push_back(static_cast<uint16_t>(model.triangles.size()));
      model.triangles.push_back(t);
    }
  }
  model.groups = {group};
  model.materials = {{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}, 0, texture}};
  const std::vector<uint8_t> bytes = model.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

// How many times part appears in text.
size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Off-screen run of the given files; the snapshot goes to out.
ViewerRun Snapshot(const std::string& model, const std::string& sky, const std::string& ground,
                   const std::string& out, const std::string& frames = "3", const std::string& size = "160x120") {
  return RunViewer({"--model", model, "--sky", sky, "--ground", ground, "--frames", frames, "--size", size,
                    "--snapshot", out});
}

TEST(ViewerRun, ModelThatWillNotLoadEndsSilentlyWithCodeZero) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / "garbage.data", "not a model at all"));
  std::string wrong_version = "MS3D000000";
  wrong_version += std::string("\x05\0\0\0", 4);
  ASSERT_TRUE(WriteFile(folder / "version5.data", wrong_version));
  for (const std::string& model : {folder / "missing.data", folder / "garbage.data", folder / "version5.data"}) {
    const ViewerRun run = Snapshot(model, kSky, kGround, folder / "out.png");
    EXPECT_TRUE(run.finished) << model;
    EXPECT_EQ(run.exit_code, 0) << model;
    EXPECT_EQ(run.err, "") << model;
    EXPECT_FALSE(FileExists(folder / "out.png")) << model << ": nothing may be rendered";
  }
}

TEST(ViewerRun, ModelThatWillNotLoadOpensNoWindow) {
  // Without a display a window attempt would fail loudly with code 1.
  const ViewerRun refused = RunViewer({"--model", "/nonexistent/plane.data"}, "");
  EXPECT_TRUE(refused.finished);
  EXPECT_EQ(refused.exit_code, 0);
  EXPECT_EQ(refused.err, "");

  const ViewerRun loaded = RunViewer({"--model", kModel, "--sky", kSky, "--ground", kGround}, "");
  EXPECT_TRUE(loaded.finished);
  EXPECT_EQ(loaded.exit_code, 1);
  EXPECT_NE(loaded.err.find("X display"), std::string::npos) << loaded.err;
}

TEST(ViewerRun, NeitherPictureLoadingEndsWithCodeZero) {
  ScratchFolder folder;
  const ViewerRun missing = Snapshot(kModel, folder / "none1.bmp", folder / "none2.bmp", folder / "a.png");
  EXPECT_TRUE(missing.finished);
  EXPECT_EQ(missing.exit_code, 0);
  EXPECT_EQ(missing.err, "") << "a missing picture is not reported";
  EXPECT_FALSE(FileExists(folder / "a.png"));

  ASSERT_TRUE(WriteFile(folder / "odd.bmp", UnknownHeaderBitmap()));
  const ViewerRun unreadable = Snapshot(kModel, folder / "odd.bmp", folder / "odd.bmp", folder / "b.png");
  EXPECT_TRUE(unreadable.finished);
  EXPECT_EQ(unreadable.exit_code, 0);
  EXPECT_EQ(Occurrences(unreadable.err, "Unknown DIB file format."), 2u) << unreadable.err;
  EXPECT_FALSE(FileExists(folder / "b.png"));

  ASSERT_TRUE(WriteFile(folder / "empty.bmp", ""));
  const ViewerRun empty = Snapshot(kModel, folder / "empty.bmp", folder / "none.bmp", folder / "c.png");
  EXPECT_EQ(empty.exit_code, 0);
  EXPECT_NE(empty.err.find("Failed to open DIB file " + folder / "empty.bmp"), std::string::npos) << empty.err;
  EXPECT_FALSE(FileExists(folder / "c.png"));
}

TEST(ViewerRun, OnePictureIsEnoughToFly) {
  ScratchFolder folder;
  const ViewerRun run = Snapshot(kModel, folder / "no-sky.bmp", kGround, folder / "out.png", "3", "200x150");
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  FramePixels frame;
  std::string error;
  ASSERT_TRUE(ReadPng(folder / "out.png", &frame, &error)) << error;
  EXPECT_EQ(frame.width, 200);
  EXPECT_EQ(frame.height, 150);
}

TEST(ViewerRun, TheSameFrameCountGivesTheSamePicture) {
  ScratchFolder folder;
  ASSERT_EQ(Snapshot(kModel, kSky, kGround, folder / "first.png", "40").exit_code, 0);
  ASSERT_EQ(Snapshot(kModel, kSky, kGround, folder / "again.png", "40").exit_code, 0);
  ASSERT_EQ(Snapshot(kModel, kSky, kGround, folder / "early.png", "1").exit_code, 0);
  FramePixels first, again, early;
  std::string error;
  ASSERT_TRUE(ReadPng(folder / "first.png", &first, &error)) << error;
  ASSERT_TRUE(ReadPng(folder / "again.png", &again, &error)) << error;
  ASSERT_TRUE(ReadPng(folder / "early.png", &early, &error)) << error;
  EXPECT_EQ(ComparePixels(first, again, 0).largest_channel_difference, 0);
  EXPECT_GT(ComparePixels(first, early, 0).largest_channel_difference, 0) << "the flight did not move";
}

// A texture name with a drive leaves the current folder: it is refused like
// any absolute name, even where the locator could find its picture.
TEST(ViewerRun, RefusesMaterialPicturesNamedWithADrive) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / "plane.data", CrossedSquaresModel("C:\\KESTREL\\puff.bmp")));
  ASSERT_TRUE(WriteFile(folder / "Puff.bmp", SolidBitmap(255, 0, 0)));
  ASSERT_EQ(Snapshot(folder / "plane.data", kSky, kGround, folder / "plain.png", "1").exit_code, 0);

  FramePixels plain;
  std::string error;
  ASSERT_TRUE(ReadPng(folder / "plain.png", &plain, &error)) << error;
  const size_t middle = (static_cast<size_t>(plain.height / 2) * plain.width + plain.width / 2) * 3;
  EXPECT_GT(plain.rgb[middle + 1], 200) << "the refused material picture was applied";
  EXPECT_GT(plain.rgb[middle + 2], 200);
}

TEST(ViewerRun, ReportsAnUnwritableSnapshot) {
  const ViewerRun run = Snapshot(kModel, kSky, kGround, "/nonexistent-folder/out.png");
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("/nonexistent-folder/out.png"), std::string::npos) << run.err;
}

TEST(ViewerRun, RefusesBadOptionsWithUsageAndShowsHelp) {
  const ViewerRun bad = RunViewer({"--size", "wide"});
  EXPECT_TRUE(bad.finished);
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find("--size"), std::string::npos);
  EXPECT_NE(bad.err.find("Usage"), std::string::npos);

  const ViewerRun help = RunViewer({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--snapshot"), std::string::npos);
}

}  // namespace
