// Bitmap files into OpenGL textures. Pictures arrive as tightly packed RGB
// rows, so every upload sets an unpack alignment of 1: with GL's default of 4,
// widths whose rows are not a multiple of 4 bytes would shear and read past
// the end of the picture.
#include "textures.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "mipmaps.h"
#include "startup_marks.h"

const char kSkyPicturePath[] = "c:\\kestrel\\Jetscape3.bmp";
const char kGroundPicturePath[] = "c:\\kestrel\\Jetscape1.bmp";

namespace {

// Writes a loader message to stderr, ending it with a newline.
void ReportToStderr(const char* text) {
  std::fputs(text, stderr);
  const size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

BitmapReporter g_reporter = ReportToStderr;

// The portable reader: the whole file through DecodeBitmap.
RgbImage* ReadPortably(const char* path) { return ReadBitmapImageFile(path, g_reporter); }

// The renderer's paths name the files themselves.
std::string SamePath(const char* path) { return path; }

BitmapFileReader g_reader = ReadPortably;
FileLocator g_locator = SamePath;

// Creates a mipmapped texture from image into *name; the phase marks the
// levels' computation, before their upload.
void MakeMipmappedTexture(const RgbImage& image, GLuint* name, const char* computed_phase) {
  glGenTextures(1, name);
  glBindTexture(GL_TEXTURE_2D, *name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // The levels gluBuild2DMipmaps(GL_TEXTURE_2D, 3, ...) would make, built quicker.
  GLint max_side = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
  const std::vector<MipmapLevel> chain = BuildMipmapChain(image.pixels, image.width, image.height, max_side);
  MarkStartupPhase(computed_phase);
  for (size_t level = 0; level < chain.size(); ++level)
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, chain[level].width, chain[level].height, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, chain[level].rgb.data());
}

// Loads the picture at path into a mipmapped texture; returns 1 if it loaded.
// The phase names the picture (its read and its build) for start-up timing.
int LoadSceneTexture(const char* path, GLuint* name, const char* read_phase, const char* computed_phase,
                     const char* build_phase) {
  RgbImage* image = LoadBitmapFile(path);
  MarkStartupPhase(read_phase);
  if (!image) return 0;
  MakeMipmappedTexture(*image, name, computed_phase);
  FreeRgbImage(image);
  MarkStartupPhase(build_phase);
  return 1;
}

}  // namespace

void SetBitmapFileReader(BitmapFileReader reader) { g_reader = reader ? reader : ReadPortably; }
void SetBitmapReporter(BitmapReporter report) { g_reporter = report ? report : ReportToStderr; }
void SetFileLocator(FileLocator locator) { g_locator = locator ? locator : SamePath; }

RgbImage* LoadBitmapFile(const char* path) {
  if (!path) return nullptr;
  const std::string file = g_locator(path);
  // A missing file is normal (no picture) and never reported.
  std::FILE* probe = std::fopen(file.c_str(), "r");
  if (!probe) return nullptr;
  std::fclose(probe);
  return g_reader(file.c_str());
}

int LoadSceneTextures(GLuint* sky_texture, GLuint* ground_texture) {
  *sky_texture = 0;
  *ground_texture = 0;
  int status = 0;
  status |= LoadSceneTexture(kSkyPicturePath, sky_texture, "sky picture read", "sky mipmaps computed",
                             "sky mipmaps uploaded");
  status |= LoadSceneTexture(kGroundPicturePath, ground_texture, "ground picture read",
                             "ground mipmaps computed", "ground mipmaps uploaded");
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
