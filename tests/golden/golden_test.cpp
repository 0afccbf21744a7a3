// Golden frames: the off-screen scene on the bundled assets, compared with the
// stored pictures and the two draw paths with each other. Software rendering
// differs by a level here and there between drivers and versions, so the
// comparison allows a small per-channel difference and a few stray pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "headless_flight.h"
#include "png_io.h"
#include "sky_sphere.h"

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

// What GL makes of a drawing, in feedback mode: window positions and texture
// coordinates, and colours lit from the normals.
template <typename Draw>
std::vector<GLfloat> Feedback(Draw draw) {
  std::vector<GLfloat> buffer(1 << 18);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  buffer.resize(std::max(glRenderMode(GL_RENDER), 0));
  return buffer;
}

TEST(SkySphere, StripsGiveGlWhatGluSphereGives) {
  HeadlessFlight flight;
  ASSERT_EQ(flight.Start(BundledFiles(), 64, 64, DrawPath::kFast), FlightStart::kReady) << flight.error();
  glEnable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glScalef(0.0009f, 0.0007f, 0.0005f);  // the whole sphere inside the view, lit from (1, 140, 1)
  const std::vector<GLfloat> sphere = Feedback([] {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
    gluSphere(quadric, 1000.0, 32, 32);
    gluDeleteQuadric(quadric);
  });
  const std::vector<SkyVertex> strips = SphereQuadStrips(1000.0, 32, 32);
  const std::vector<GLfloat> arrays = Feedback([&strips] {
    for (size_t first = 0; first < strips.size(); first += 66) {
      glBegin(GL_QUAD_STRIP);
      for (size_t k = first; k < first + 66; ++k) {
        glNormal3fv(&strips[k].nx);
        glTexCoord2fv(&strips[k].s);
        glVertex3fv(&strips[k].x);
      }
      glEnd();
    }
  });
  EXPECT_EQ(sphere.size(), 32u * 32 * 2 * (2 + 3 * 11)) << "not every triangle of the sphere is seen";
  EXPECT_TRUE(arrays == sphere);
}

INSTANTIATE_TEST_SUITE_P(BundledFlight, GoldenFrame, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

}  // namespace
