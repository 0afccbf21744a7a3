// Scene and material textures from bitmap files, checked call by call
// against the recording GL fake.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "bmp_builder.h"
#include "test_temp.h"
#include "fake_gl.h"
#include "textures.h"

namespace {

using Messages = std::vector<std::string>;

// The running test's scratch folder.
std::unique_ptr<ScratchFolder>& Folder() {
  static std::unique_ptr<ScratchFolder> folder;
  return folder;
}

// Maps the renderer's Windows paths to files in the test folder.
std::string InFolder(const char* path) {
  std::string name = path;
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  return *Folder() / name;
}

// Paths the recording reader was asked for, in order.
std::vector<std::string>& ReadPaths() {
  static std::vector<std::string> paths;
  return paths;
}

// Records the path, then reads it portably.
RgbImage* RecordingReader(const char* path, BitmapReporter report) {
  ReadPaths().push_back(path);
  return ReadBitmapImageFile(path, report);
}

// A 24-bit picture of the given size (rows of width x 3 bytes, odd widths included).
bmp::Bytes Picture(int width, int height) {
  return bmp::Plain24(width, height, bmp::Bytes(BitmapRowStride(width) * static_cast<size_t>(height), 0x7f));
}

class TextureLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder() = std::make_unique<ScratchFolder>();
    ASSERT_FALSE(Folder()->path().empty());
    fakegl::Reset();
    bmp::Reported().clear();
    ReadPaths().clear();
    SetFileLocator(InFolder);
    SetBitmapReporter(bmp::Collect);
    SetBitmapFileReader(RecordingReader);
  }
  void TearDown() override {
    SetFileLocator(nullptr);
    SetBitmapReporter(nullptr);
    SetBitmapFileReader(nullptr);
    Folder().reset();
  }
  // Writes bytes as the file the renderer calls name.
  void Place(const char* name, const bmp::Bytes& bytes) {
    WriteTestFile(InFolder(name), bytes);
  }
  // The value glPixelStorei set GL_UNPACK_ALIGNMENT to last before call index `before`; 4 if never.
  static int AlignmentBefore(int before) {
    int alignment = 4;
    for (int i = 0; i < before; ++i) {
      const GlCall& c = fakegl::Calls()[i];
      if (c.name == "glPixelStorei" && c.args[0] == GL_UNPACK_ALIGNMENT) alignment = static_cast<int>(c.args[1]);
    }
    return alignment;
  }
};

TEST_F(TextureLoading, SkyMissingGroundPresentGivesOneMipmappedGroundTexture) {
  Place(kRendererGroundPicturePath, Picture(5, 3));  // rows of 15 bytes
  GLuint sky = 99, ground = 99;
  EXPECT_EQ(LoadSceneTextures(&sky, &ground), 1);
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
  EXPECT_EQ(LoadSceneTextures(&sky, &ground), 0);
  EXPECT_EQ(sky, 0u);
  EXPECT_EQ(ground, 0u);
  EXPECT_TRUE(fakegl::Calls().empty()) << fakegl::Trace();
  EXPECT_TRUE(ReadPaths().empty());
  EXPECT_TRUE(bmp::Reported().empty());
}

TEST_F(TextureLoading, SkyIsLoadedAndUploadedBeforeGround) {
  Place(kRendererSkyPicturePath, Picture(8, 4));
  Place(kRendererGroundPicturePath, Picture(6, 2));
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(&sky, &ground), 1);
  EXPECT_EQ(ReadPaths(),
            (std::vector<std::string>{InFolder(kRendererSkyPicturePath), InFolder(kRendererGroundPicturePath)}));
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
  Place(kRendererSkyPicturePath, {});  // exists but empty
  Place(kRendererGroundPicturePath, Picture(4, 4));
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(&sky, &ground), 1);
  EXPECT_EQ(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_EQ(bmp::Reported(), Messages{"Failed to open DIB file " + InFolder(kRendererSkyPicturePath) + ".\n"});
}

// The names and arguments of every logged call, for comparing two runs.
std::vector<std::pair<std::string, std::vector<double>>> CallLog() {
  std::vector<std::pair<std::string, std::vector<double>>> log;
  for (const GlCall& c : fakegl::Calls()) log.emplace_back(c.name, c.args);
  return log;
}

TEST_F(TextureLoading, PreparedPicturesAreReadAheadAndUploadedAsReadOnesAre) {
  Place(kRendererSkyPicturePath, Picture(8, 4));
  Place(kRendererGroundPicturePath, Picture(6, 2));
  GLuint sky = 0, ground = 0;
  LoadSceneTextures(&sky, &ground);
  const auto read_now = CallLog();

  fakegl::Reset();
  ReadPaths().clear();
  ScenePictures pictures;
  PrepareScenePictures(pictures);
  EXPECT_TRUE(fakegl::Calls().empty());  // no GL off the context's thread
  EXPECT_EQ(ReadPaths(),
            (std::vector<std::string>{InFolder(kRendererSkyPicturePath), InFolder(kRendererGroundPicturePath)}));
  EXPECT_EQ(LoadSceneTextures(&sky, &ground, &pictures), 1);
  EXPECT_EQ(ReadPaths().size(), 2u);  // nothing read again
  EXPECT_EQ(CallLog(), read_now);
  EXPECT_EQ(pictures.ground.image, nullptr);  // used up
}

TEST_F(TextureLoading, APreparedPictureThatFailedIsReportedOnlyWhenLoaded) {
  Place(kRendererSkyPicturePath, {});  // exists but empty
  Place(kRendererGroundPicturePath, Picture(4, 4));
  ScenePictures pictures;
  PrepareScenePictures(pictures);
  EXPECT_TRUE(bmp::Reported().empty());
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(&sky, &ground, &pictures), 1);
  EXPECT_EQ(sky, 0u);
  EXPECT_NE(ground, 0u);
  EXPECT_EQ(bmp::Reported(), Messages{"Failed to open DIB file " + InFolder(kRendererSkyPicturePath) + ".\n"});
}

TEST_F(TextureLoading, PreparedLevelsBeyondTheContextsLimitAreComputedAgainWithIt) {
  // 12288 rounds up to 16384, which the context's 8192 cannot hold.
  Place(kRendererGroundPicturePath, Picture(12288, 1));
  ScenePictures pictures;
  PrepareScenePictures(pictures);
  ASSERT_EQ(pictures.ground.levels.at(0).width, 16384);
  GLuint sky = 0, ground = 0;
  EXPECT_EQ(LoadSceneTextures(&sky, &ground, &pictures), 1);
  const auto levels = fakegl::CallsNamed("glTexImage2D");
  ASSERT_EQ(levels.size(), 14u);  // 8192 down to 1
  EXPECT_EQ(levels[0].args[3], fakegl::kMaxTextureSize);
}

TEST_F(TextureLoading, MaterialTextureIsUploadedAtItsOwnSizeWithoutMipmaps) {
  Place("hull.bmp", Picture(3, 2));  // rows of 9 bytes
  const GLuint name = LoadTextureFile("hull.bmp");
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
  EXPECT_EQ(LoadTextureFile("absent.bmp"), 0u);
  EXPECT_EQ(LoadTextureFile(nullptr), 0u);
  EXPECT_TRUE(fakegl::Calls().empty());
  EXPECT_TRUE(bmp::Reported().empty());  // a missing file is never reported

  Place("hull.bmp", Picture(2, 2));
  fakegl::SetContextCurrent(false);
  EXPECT_EQ(LoadTextureFile("hull.bmp"), 0u);
  EXPECT_EQ(ReadPaths().size(), 1u);  // the picture was still read
}

TEST_F(TextureLoading, LoadBitmapFileProbesBeforeReadingAndNullRestoresThePortableReader) {
  EXPECT_EQ(LoadBitmapFile(nullptr), nullptr);
  EXPECT_EQ(LoadBitmapFile("absent.bmp"), nullptr);
  EXPECT_TRUE(ReadPaths().empty());  // the reader never saw the missing file

  Place("pic.bmp", Picture(2, 1));
  SetBitmapFileReader(nullptr);
  RgbImage* image = LoadBitmapFile("pic.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_TRUE(ReadPaths().empty());
  FreeRgbImage(image);

  Place("bad.bmp", {'B', 'M', 0, 0});
  EXPECT_EQ(LoadBitmapFile("bad.bmp"), nullptr);
  EXPECT_EQ(bmp::Reported(), Messages{kUnknownFormatText});  // through SetBitmapReporter
}

}  // namespace
