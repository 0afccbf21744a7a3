// Golden frames: the off-screen scene on the bundled assets, compared with the
// stored pictures and the two draw paths with each other. Software rendering
// differs by a level here and there between drivers and versions, so the
// comparison allows a small per-channel difference and a few stray pixels.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "headless_flight.h"
#include "png_io.h"

namespace {

constexpr int kTolerance = 3;             // levels per channel
constexpr double kStrayPixelShare = 0.002;  // of all pixels, beyond kTolerance

struct GoldenCase {
  const char* name;
  int frames;
  const char* stored;
};

const GoldenCase kCases[] = {
    {"ChaseView", SKYLINER_GOLDEN_CHASE_FRAMES, SKYLINER_GOLDEN_CHASE_PNG},
    {"FixedView", SKYLINER_GOLDEN_FIXED_FRAMES, SKYLINER_GOLDEN_FIXED_PNG},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const GoldenCase& golden, std::ostream* out) { *out << golden.name << " at frame " << golden.frames; }

SceneFiles BundledFiles() {
  const std::string assets = SKYLINER_SOURCE_ASSETS;
  return {assets + "/Skyliner.data", assets + "/sky.bmp", assets + "/sample-desktop.bmp"};
}

// Renders the bundled flight up to the given frame along one path.
FramePixels RenderFrame(int frames, DrawPath path) {
  HeadlessFlight flight;
  const FlightStart start = flight.Start(BundledFiles(), SKYLINER_GOLDEN_WIDTH, SKYLINER_GOLDEN_HEIGHT, path);
  EXPECT_EQ(start, FlightStart::kReady) << "context: " << flight.error();
  if (start != FlightStart::kReady) return FramePixels();
  flight.Steps(frames);
  return flight.ReadFrame();
}

// Number of distinct colours, to tell a scene from a blank or cleared buffer.
size_t DistinctColours(const FramePixels& frame) {
  std::set<unsigned> colours;
  for (size_t i = 0; i + 2 < frame.rgb.size(); i += 3)
    colours.insert(frame.rgb[i] << 16 | frame.rgb[i + 1] << 8 | frame.rgb[i + 2]);
  return colours.size();
}

// Compares and prints the figures; fails beyond the tolerance.
void ExpectClose(const FramePixels& actual, const FramePixels& expected, const std::string& what) {
  const PixelDifference difference = ComparePixels(actual, expected, kTolerance);
  std::printf("%s: %s\n", what.c_str(), DescribeDifference(difference, kTolerance).c_str());
  ASSERT_TRUE(difference.same_size) << what << ": " << actual.width << "x" << actual.height << " vs "
                                    << expected.width << "x" << expected.height;
  EXPECT_LE(difference.pixels_beyond_tolerance,
            static_cast<long>(kStrayPixelShare * static_cast<double>(difference.pixel_count)))
      << what << ": too many pixels beyond the tolerance. If the change to the core or the assets is "
         "deliberate, rewrite the stored frames: cmake --build <build> --target golden-regenerate";
}

class GoldenFrame : public testing::TestWithParam<GoldenCase> {};

// Each case flies once per path: the fixed view takes over a thousand frames.
TEST_P(GoldenFrame, BothPathsMatchTheStoredPictureAndEachOther) {
  const GoldenCase& golden = GetParam();
  FramePixels stored;
  std::string error;
  ASSERT_TRUE(ReadPng(golden.stored, &stored, &error))
      << error << "\n(regenerate with: cmake --build <build> --target golden-regenerate)";
  EXPECT_GT(DistinctColours(stored), 64u) << golden.stored << " is not a rendered scene";

  const FramePixels fast = RenderFrame(golden.frames, DrawPath::kFast);
  const FramePixels literal = RenderFrame(golden.frames, DrawPath::kLiteral);
  EXPECT_GT(DistinctColours(fast), 64u) << "the fast path drew no scene";
  ExpectClose(fast, stored, std::string(golden.name) + " fast path vs stored");
  ExpectClose(literal, stored, std::string(golden.name) + " literal path vs stored");
  ExpectClose(literal, fast, std::string(golden.name) + " literal vs fast path");
}

INSTANTIATE_TEST_SUITE_P(BundledFlight, GoldenFrame, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

}  // namespace
