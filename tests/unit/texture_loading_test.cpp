// Scene and material textures from bitmap files, checked call by call
// against the recording GL fake.
#include <gtest/gtest.h>


#include "bmp_builder.h"
#include "fake_gl.h"
#include "fake_host.h"
#include "test_temp.h"
#include "textures.h"

namespace {

using Messages = std::vector<std::string>;

// A 24-bit picture of the given size (rows of width x 3 bytes, odd widths included).
bmp::Bytes Picture(int width, int height) {
  return bmp::Plain24(width, height, bmp::Bytes(BitmapRowStride(width) * static_cast<size_t>(height), 0x7f));
}

class TextureLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    fakegl::Reset();
    bmp::Reported().clear();
    host_.sky = folder_ / "sky.bmp";
    host_.ground = folder_ / "ground.bmp";
    host_.materials = {{"hull.bmp", folder_ / "hull.bmp"}, {"absent.bmp", folder_ / "absent.bmp"}};
  }
  // Writes bytes as the file at path.
  static void Place(const std::string& path, const bmp::Bytes& bytes) { WriteTestFile(path, bytes); }
  // The value glPixelStorei set GL_UNPACK_ALIGNMENT to last before call index `before`; 4 if never.
  static int AlignmentBefore(int before) {
    int alignment = 4;
    for (int i = 0; i < before; ++i) {
      const GlCall& c = fakegl::Calls()[i];
      if (c.name == "glPixelStorei" && c.args[0] == GL_UNPACK_ALIGNMENT) alignment = static_cast<int>(c.args[1]);
    }
    return alignment;
  }

  ScratchFolder folder_;
  FakeHost host_;
  const std::string& sky_ = host_.sky;
  const std::string& ground_ = host_.ground;
};

TEST_F(TextureLoading, SkyMissingGroundPresentGivesOneMipmappedGroundTexture) {
  Place(ground_, Picture(5, 3));  // rows of 15 bytes
  GLuint sky = 99, ground = 99;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground), 1);
  EXPECT_EQ(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_EQ(fakegl::Count("glGenTextures"), 1);
  // The levels gluBuild2DMipmaps makes: 5 x 3 scaled to 4 x 4, then halved.
  const auto levels = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(levels.size(), 3u) << fakegl::Trace();
  // An RGB texture (3) given RGBA rows, the layout the driver copies fastest.
  EXPECT_EQ(levels[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 3, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(levels[1].args, (std::vector<double>{GL_TEXTURE_2D, 1, 3, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(levels[2].args, (std::vector<double>{GL_TEXTURE_2D, 2, 3, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(AlignmentBefore(fakegl::Find("glTexImage2D")), 1);
  const auto bind = fakegl::CallsNamed("glBindTexture");
  ASSERT_EQ(bind.size(), 1u);
  EXPECT_EQ(bind[0].args[1], ground);
  const auto params = fakegl::CallsNamed("glTexParameteri");
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
  EXPECT_EQ(params[1].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST}));
  EXPECT_TRUE(bmp::Reported().empty());
}

TEST_F(TextureLoading, NeitherPictureGivesZeroSilently) {
  GLuint sky = 5, ground = 6;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground), 0);
  EXPECT_EQ(sky, 0u);
  EXPECT_EQ(ground, 0u);
  EXPECT_TRUE(fakegl::Calls().empty()) << fakegl::Trace();
  EXPECT_TRUE(host_.read.empty());
  EXPECT_TRUE(bmp::Reported().empty());
}

TEST_F(TextureLoading, SkyIsLoadedAndUploadedBeforeGround) {
  Place(sky_, Picture(8, 4));
  Place(ground_, Picture(6, 2));
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground), 1);
  EXPECT_EQ(host_.read,
            (std::vector<std::string>{sky_, ground_}));
  EXPECT_NE(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_NE(sky, ground);
  // Sky 8 x 4 down to 1 x 1 in four levels, then ground 6 x 2 (scaled to 8 x 2) in four.
  const auto levels = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(levels.size(), 8u) << fakegl::Trace();
  EXPECT_EQ(levels[0].args[4], 4);  // the sky's level 0 first
  EXPECT_EQ(levels[3].args[3], 1);
  EXPECT_EQ(levels[4].args[1], 0);
  EXPECT_EQ(levels[4].args[4], 2);
  const auto bind = fakegl::CallsNamed("glBindTexture");
  ASSERT_EQ(bind.size(), 2u);
  EXPECT_EQ(bind[0].args[1], sky);
  EXPECT_EQ(bind[1].args[1], ground);
}

TEST_F(TextureLoading, AnUnreadableScenePictureIsReportedOnceAndCountsAsMissing) {
  Place(sky_, {});  // exists but empty
  Place(ground_, Picture(4, 4));
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground), 1);
  EXPECT_EQ(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_EQ(bmp::Reported(), Messages{"Failed to open DIB file " + sky_ + ".\n"});
}

// The names and arguments of every logged call, for comparing two runs.
std::vector<std::pair<std::string, std::vector<double>>> CallLog() {
  std::vector<std::pair<std::string, std::vector<double>>> log;
  for (const GlCall& c : fakegl::Calls()) log.emplace_back(c.name, c.args);
  return log;
}

TEST_F(TextureLoading, PreparedPicturesAreReadAheadAndUploadedAsReadOnesAre) {
  Place(sky_, Picture(8, 4));
  Place(ground_, Picture(6, 2));
  GLuint sky = 0, ground = 0;
  LoadSceneTextures(host_, &sky, &ground);
  const auto read_now = CallLog();

  fakegl::Reset();
  host_.read.clear();
  ScenePictures pictures;
  PrepareScenePictures(host_, pictures);
  EXPECT_TRUE(fakegl::Calls().empty());  // no GL off the context's thread
  EXPECT_EQ(host_.read,
            (std::vector<std::string>{sky_, ground_}));
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground, &pictures), 1);
  EXPECT_EQ(host_.read.size(), 2u);  // nothing read again
  EXPECT_EQ(CallLog(), read_now);
  EXPECT_EQ(pictures.ground.image, nullptr);  // used up
}

TEST_F(TextureLoading, APreparedPictureThatFailedIsReportedOnlyWhenLoaded) {
  Place(sky_, {});  // exists but empty
  Place(ground_, Picture(4, 4));
  ScenePictures pictures;
  PrepareScenePictures(host_, pictures);
  EXPECT_TRUE(bmp::Reported().empty());
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground, &pictures), 1);
  EXPECT_EQ(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_EQ(bmp::Reported(), Messages{"Failed to open DIB file " + sky_ + ".\n"});
}

TEST_F(TextureLoading, PreparedLevelsBeyondTheContextsLimitAreComputedAgainWithIt) {
  // 12288 rounds up to 16384, which the context's 8192 cannot hold.
  Place(ground_, Picture(12288, 1));
  ScenePictures pictures;
  PrepareScenePictures(host_, pictures);
  ASSERT_EQ(pictures.ground.levels.at(0).width, 16384);
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(host_, &sky, &ground, &pictures), 1);
  const auto levels = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(levels.size(), 14u);  // 8192 down to 1
  EXPECT_EQ(levels[0].args[3], fakegl::kMaxTextureSize);
}

TEST_F(TextureLoading, MaterialTextureIsUploadedAtItsOwnSizeWithoutMipmaps) {
  Place(folder_ / "hull.bmp", Picture(3, 2));  // rows of 9 bytes
  const GLuint name = LoadMaterialTexture(host_, "hull.bmp");
  EXPECT_NE(name, 0u);
  const auto uploads = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, 3, 3, 2, 0, GL_RGB, GL_UNSIGNED_BYTE}));
  EXPECT_EQ(AlignmentBefore(fakegl::Find("glTexImage2D")), 1);
  EXPECT_EQ(fakegl::Count("glTexImage2D"), 1);  // one level only
  const auto params = fakegl::CallsNamed("glTexParameteri");
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
  EXPECT_EQ(params[1].args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
  EXPECT_EQ(fakegl::CallsNamed("glBindTexture")[0].args[1], name);
}

TEST_F(TextureLoading, MaterialTextureWithoutPictureOrContextIsZero) {
  EXPECT_EQ(LoadMaterialTexture(host_, "absent.bmp"), 0u);
  EXPECT_EQ(LoadMaterialTexture(host_, "unknown.bmp"), 0u);
  EXPECT_TRUE(fakegl::Calls().empty());
  EXPECT_TRUE(bmp::Reported().empty());  // a missing file is never reported

  Place(folder_ / "hull.bmp", Picture(2, 2));
  fakegl::SetContextCurrent(false);
  EXPECT_EQ(LoadMaterialTexture(host_, "hull.bmp"), 0u);
  EXPECT_EQ(host_.read.size(), 1u);  // the picture was still read
}

TEST_F(TextureLoading, ReadPictureProbesBeforeReadingAndReportsOnlyWhenAsked) {
  EXPECT_EQ(host_.ReadPicture(nullptr, true), nullptr);
  EXPECT_EQ(host_.ReadPicture((folder_ / "absent.bmp").c_str(), true), nullptr);
  EXPECT_TRUE(host_.read.empty());  // the reader never saw the missing file

  Place(folder_ / "pic.bmp", Picture(2, 1));
  RgbImage* image = host_.ReadPicture((folder_ / "pic.bmp").c_str(), true);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  FreeRgbImage(image);

  Place(folder_ / "bad.bmp", {'B', 'M', 0, 0});
  EXPECT_EQ(host_.ReadPicture((folder_ / "bad.bmp").c_str(), false), nullptr);
  EXPECT_TRUE(bmp::Reported().empty());
  EXPECT_EQ(host_.ReadPicture((folder_ / "bad.bmp").c_str(), true), nullptr);
  EXPECT_EQ(bmp::Reported(), Messages{kUnknownFormatText});
}

}  // namespace
