// Bitmap files into OpenGL textures. Pictures arrive as tightly packed RGB
// rows, so every upload sets an unpack alignment of 1: with GL's default of 4,
// widths whose rows are not a multiple of 4 bytes would shear and read past
// the end of the picture.
#include "textures.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "file_bytes.h"
#include "mipmaps.h"
#include "startup_marks.h"

namespace {

// Writes a loader message to stderr, ending it with a newline.
void ReportToStderr(const char* text) {
  std::fputs(text, stderr);
  const size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

BitmapReporter g_reporter = ReportToStderr;

// The renderer's paths name the files themselves.
std::string SamePath(const char* path) { return path; }

BitmapFileReader g_reader = ReadBitmapImageFile;
FileLocator g_locator = SamePath;

// The start-up marks of one scene picture.
struct PicturePhases {
  const char* read;
  const char* computed;
  const char* uploaded;
};

constexpr PicturePhases kSkyPhases = {"sky picture read", "sky mipmaps computed", "sky mipmaps uploaded"};
constexpr PicturePhases kGroundPhases = {"ground picture read", "ground mipmaps computed", "ground mipmaps uploaded"};

// The scene textures' levels are uploaded as RGBA, which the driver copies
// faster into an RGB texture than packed RGB; the texture stays RGB.
constexpr int kUploadPixelBytes = 4;

// Null when the file is missing (silently) or unreadable (reported, if report is set).
RgbImage* ReadPicture(const char* path, BitmapReporter report) {
  if (!path) return nullptr;
  const std::string file = g_locator(path);
  // A missing file is normal (no picture) and never reported; so is one the
  // platform's opener does not trust.
  std::FILE* probe = OpenFileForReading(file.c_str());
  if (!probe) return nullptr;
  std::fclose(probe);
  return g_reader(file.c_str(), report);
}

void PreparePicture(const char* path, const PicturePhases& phases, PreparedPicture& picture) {
  picture.image.reset(ReadPicture(path, nullptr));
  MarkStartupPhase(phases.read);
  if (!picture.image) return;
  const RgbImage& image = *picture.image;
  picture.levels = BuildMipmapChain(image.pixels, image.width, image.height, 0, kUploadPixelBytes);
  MarkStartupPhase(phases.computed);
}

// True when the context's size limit would not have cut level 0.
bool FitsSizeLimit(const std::vector<MipmapLevel>& levels, GLint max_side) {
  if (levels.empty()) return false;
  return max_side <= 0 || (levels[0].width <= max_side && levels[0].height <= max_side);
}

// Creates a mipmapped texture from the picture into *name, computing its
// levels unless prepared ones fit the context.
void MakeMipmappedTexture(PreparedPicture& picture, GLuint* name, const PicturePhases& phases) {
  glGenTextures(1, name);
  glBindTexture(GL_TEXTURE_2D, *name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The levels gluBuild2DMipmaps(GL_TEXTURE_2D, 3, ...) would make, built quicker.
  GLint max_side = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
  if (!FitsSizeLimit(picture.levels, max_side)) {
    const RgbImage& image = *picture.image;
    picture.levels = BuildMipmapChain(image.pixels, image.width, image.height, max_side, kUploadPixelBytes);
    MarkStartupPhase(phases.computed);
  }
  for (size_t level = 0; level < picture.levels.size(); ++level) {
    const MipmapLevel& m = picture.levels[level];
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, m.width, m.height, 0,
                 m.pixel_bytes == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, m.rgb.data());
  }
}

// Makes the picture at path a mipmapped texture, from `prepared` when it holds
// the picture; returns 1 if it loaded. Either way the picture is used up.
int LoadSceneTexture(const char* path, PreparedPicture* prepared, GLuint* name, const PicturePhases& phases) {
  PreparedPicture picture;
  if (prepared) picture = std::move(*prepared);
  if (!picture.image) {
    picture.image.reset(LoadBitmapFile(path));
    MarkStartupPhase(phases.read);
  }
  if (!picture.image) return 0;
  MakeMipmappedTexture(picture, name, phases);
  MarkStartupPhase(phases.uploaded);
  return 1;
}

}  // namespace

void SetBitmapFileReader(BitmapFileReader reader) { g_reader = reader ? reader : ReadBitmapImageFile; }
void SetBitmapReporter(BitmapReporter report) { g_reporter = report ? report : ReportToStderr; }
void SetFileLocator(FileLocator locator) { g_locator = locator ? locator : SamePath; }

RgbImage* LoadBitmapFile(const char* path) { return ReadPicture(path, g_reporter); }

void PrepareScenePictures(ScenePictures& pictures) {
  PreparePicture(kRendererSkyPicturePath, kSkyPhases, pictures.sky);
  PreparePicture(kRendererGroundPicturePath, kGroundPhases, pictures.ground);
}

int LoadSceneTextures(GLuint* sky_texture, GLuint* ground_texture, ScenePictures* prepared) {
  *sky_texture = 0;
  *ground_texture = 0;
  int status = 0;
  status |= LoadSceneTexture(kRendererSkyPicturePath, prepared ? &prepared->sky : nullptr, sky_texture, kSkyPhases);
  status |= LoadSceneTexture(kRendererGroundPicturePath, prepared ? &prepared->ground : nullptr, ground_texture,
                             kGroundPhases);
  return status;
}

GLuint LoadTextureFile(const char* path) {
  GLuint name = 0;  // stays 0 when no context is current
  RgbImage* image = LoadBitmapFile(path);
  if (!image) return 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE, image->pixels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  FreeRgbImage(image);
  return name;
}
