// Checks the committed assets as the renderer will meet them: the model read by
// the renderer's own reader, the pictures by its own bitmap decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bitmap_decoder.h"
#include "contract/working_files.h"
#include "mesh_model.h"

namespace {

std::vector<unsigned char> ReadAsset(const std::string& name) {
  std::ifstream file(std::string(SKYLINER_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct P3 {
  double x, y, z;
};
P3 Sub(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 Cross(P3 a, P3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

class BundledModel : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<unsigned char> bytes = ReadAsset(kModelFileName);
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(model.Parse(bytes.data(), bytes.size()));
  }
  P3 Corner(const ModelTriangle& t, int k) const {
    const float* p = model.vertices[t.vertex_indices[k]].position;
    return {p[0], p[1], p[2]};
  }
  Ms3dModel model;
};

TEST_F(BundledModel, IsAnUntexturedMeshOfModerateSize) {
  EXPECT_GE(model.triangles.size(), 1000u);
  EXPECT_LE(model.triangles.size(), 3000u);
  ASSERT_FALSE(model.materials.empty());
  for (const ModelMaterial& m : model.materials) EXPECT_EQ(m.texture_file_name, "");
  size_t drawn = 0;
  for (const ModelGroup& g : model.groups) {
    EXPECT_GE(g.material_index, 0);
    drawn += g.triangle_indices.size();
  }
  EXPECT_EQ(drawn, model.triangles.size()) << "every triangle belongs to exactly one group";
}

TEST_F(BundledModel, SpansAboutTwelveUnitsWithTheNoseAlongPlusZ) {
  P3 low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9}, nose{0, 0, -1e9}, fin_top{0, -1e9, 0};
  for (const ModelVertex& v : model.vertices) {
    P3 p{v.position[0], v.position[1], v.position[2]};
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    if (p.z > nose.z) nose = p;
    if (p.y > fin_top.y) fin_top = p;
  }
  EXPECT_NEAR(high.x - low.x, 12.0, 0.5);
  EXPECT_NEAR(high.x + low.x, 0.0, 1e-3) << "left and right halves mirror each other";
  EXPECT_NEAR(high.z - low.z, 12.8, 0.8) << "length";
  EXPECT_NEAR(nose.x, 0.0, 1e-3) << "the foremost point is the nose tip on the centre line";
  EXPECT_LT(fin_top.z, -2.0) << "the fin stands at the rear";
  EXPECT_LT(std::fabs(low.z + high.z), 1.0) << "origin near the middle";
  EXPECT_LT(std::fabs(low.y + high.y) / 2, 1.5);
}

TEST_F(BundledModel, NormalsAreUnitLengthAndFrontFacesCounterClockwise) {
  for (size_t i = 0; i < model.triangles.size(); ++i) {
    const ModelTriangle& t = model.triangles[i];
    P3 face = Cross(Sub(Corner(t, 1), Corner(t, 0)), Sub(Corner(t, 2), Corner(t, 0)));
    P3 sum{0, 0, 0};
    for (const auto& n : t.vertex_normals) {
      ASSERT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-3) << "triangle " << i;
      sum = {sum.x + n[0], sum.y + n[1], sum.z + n[2]};
    }
    ASSERT_GT(Dot(face, sum), 0.0) << "triangle " << i << " winds against its normals";
  }
}

// Looking at the model from outside along each axis, the first surface every
// ray meets must face the ray: the skin faces outwards everywhere.
TEST_F(BundledModel, FacesOutwardsFromEverySide) {
  const P3 directions[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  const int steps = 40;
  int hits = 0, facing_away = 0;
  for (P3 d : directions) {
    P3 u = std::fabs(d.x) > 0 ? P3{0, 1, 0} : P3{1, 0, 0};
    P3 w = Cross(d, u);
    for (int a = 0; a <= steps; ++a)
      for (int b = 0; b <= steps; ++b) {
        double s = -6.5 + 13.0 * a / steps, r = -6.5 + 13.0 * b / steps;
        P3 origin{-d.x * 20 + u.x * s + w.x * r, -d.y * 20 + u.y * s + w.y * r, -d.z * 20 + u.z * s + w.z * r};
        double nearest = 1e9;
        P3 nearest_face{0, 0, 0};
        for (const ModelTriangle& t : model.triangles) {  // Moller-Trumbore
          P3 p0 = Corner(t, 0), e1 = Sub(Corner(t, 1), p0), e2 = Sub(Corner(t, 2), p0);
          P3 h = Cross(d, e2);
          double det = Dot(e1, h);
          if (std::fabs(det) < 1e-12) continue;
          P3 sv = Sub(origin, p0);
          double bu = Dot(sv, h) / det;
          if (bu < 0 || bu > 1) continue;
          P3 q = Cross(sv, e1);
          double bv = Dot(d, q) / det;
          if (bv < 0 || bu + bv > 1) continue;
          double dist = Dot(e2, q) / det;
          if (dist > 0 && dist < nearest) {
            nearest = dist;
            nearest_face = Cross(e1, e2);
          }
        }
        if (nearest > 1e8) continue;
        double len = std::sqrt(Dot(nearest_face, nearest_face));
        double facing = Dot(nearest_face, d) / len;
        if (std::fabs(facing) < 0.05) continue;  // grazing: no verdict
        ++hits;
        if (facing > 0) ++facing_away;
      }
  }
  EXPECT_GT(hits, 800);
  EXPECT_EQ(facing_away, 0) << "of " << hits << " surfaces first met from outside";
}

// A decoded bundled picture, released at the end of the test.
struct Decoded {
  explicit Decoded(const std::string& name) {
    bytes = ReadAsset(name);
    image = DecodeBitmap(bytes.data(), bytes.size(), [](const char*) {});
  }
  ~Decoded() { FreeRgbImage(image); }
  const unsigned char* Pixel(int x, int row_from_bottom) const {
    return image->pixels + (static_cast<size_t>(row_from_bottom) * image->width + x) * 3;
  }
  std::vector<unsigned char> bytes;
  RgbImage* image = nullptr;
};

// Mean absolute difference of two pixel columns.
double ColumnDifference(const Decoded& picture, int a, int b) {
  double sum = 0;
  for (int y = 0; y < picture.image->height; ++y)
    for (int k = 0; k < 3; ++k) sum += std::abs(picture.Pixel(a, y)[k] - picture.Pixel(b, y)[k]);
  return sum / (picture.image->height * 3);
}

// Mean of (blue - red) over a band of rows: positive for blue sky, lower for pink.
double Blueness(const Decoded& picture, int first_row, int rows) {
  double sum = 0;
  for (int y = first_row; y < first_row + rows; ++y)
    for (int x = 0; x < picture.image->width; ++x) sum += picture.Pixel(x, y)[2] - picture.Pixel(x, y)[0];
  return sum / (rows * picture.image->width);
}

TEST(BundledPictures, AreUncompressed24BitBitmapsOfTheirSizes) {
  struct Expected { const char* name; int width, height; };
  for (Expected e : {Expected{"sky.bmp", 512, 512}, Expected{"puff.bmp", 32, 32},
                     Expected{"sample-desktop.bmp", 1280, 1024}, Expected{"preview.bmp", 152, 112},
                     Expected{"preview-background.bmp", 152, 112}, Expected{"setup-side.bmp", 164, 314}}) {
    Decoded picture(e.name);
    ASSERT_NE(picture.image, nullptr) << e.name;
    EXPECT_EQ(picture.image->width, e.width) << e.name;
    EXPECT_EQ(picture.image->height, e.height) << e.name;
    ASSERT_GE(picture.bytes.size(), 54u);
    EXPECT_EQ(picture.bytes[28], 24) << e.name << ": bits per pixel";
    EXPECT_EQ(picture.bytes[30], 0) << e.name << ": compression";
    EXPECT_EQ(picture.bytes.size(), 54u + ((e.width * 3u + 3) & ~3u) * e.height) << e.name;
  }
}

TEST(BundledPictures, SkyWrapsAroundAndIsBlueOverheadAndPinkAtTheHorizon) {
  Decoded sky("sky.bmp");
  ASSERT_NE(sky.image, nullptr);
  double neighbours = 0;
  for (int x = 0; x + 1 < sky.image->width; ++x) neighbours += ColumnDifference(sky, x, x + 1);
  neighbours /= sky.image->width - 1;
  EXPECT_LE(ColumnDifference(sky, sky.image->width - 1, 0), 2 * neighbours) << "seam where s wraps";
  // The first rows are the zenith on the sky sphere, the middle ones the horizon.
  EXPECT_GT(Blueness(sky, 0, 32), 60.0);
  EXPECT_LT(Blueness(sky, 240, 16), 20.0);
}

TEST(BundledPictures, PuffIsWhiteInTheMiddleAndBlackAtTheCorners) {
  Decoded puff("puff.bmp");
  ASSERT_NE(puff.image, nullptr);
  for (int k = 0; k < 3; ++k) {
    EXPECT_GT(puff.Pixel(16, 16)[k], 200);
    EXPECT_LT(puff.Pixel(0, 0)[k], 8);
    EXPECT_LT(puff.Pixel(31, 31)[k], 8);
  }
}

// Mean of all channels over a band of rows counted from the bottom.
double Brightness(const Decoded& picture, int first_row, int rows) {
  double sum = 0;
  for (int y = first_row; y < first_row + rows; ++y)
    for (int x = 0; x < picture.image->width; ++x)
      for (int k = 0; k < 3; ++k) sum += picture.Pixel(x, y)[k];
  return sum / (rows * picture.image->width * 3.0);
}

TEST(BundledPictures, PreviewBackgroundIsDarkAndThePreviewAFrameWithSkyOnTop) {
  Decoded background("preview-background.bmp");
  Decoded preview("preview.bmp");
  ASSERT_NE(background.image, nullptr);
  ASSERT_NE(preview.image, nullptr);
  EXPECT_LT(Brightness(background, 0, 112), 64.0);
  EXPECT_GT(Brightness(background, 0, 112), 8.0) << "panels drawn, not plain black";
  EXPECT_GT(Blueness(preview, 100, 12), 20.0) << "the sky fills the top rows";
  EXPECT_GT(Brightness(preview, 100, 12), 150.0);
}

}  // namespace
