// Bitmap files into OpenGL textures. Pictures arrive as tightly packed RGB
// rows, so every upload sets an unpack alignment of 1: with GL's default of 4,
// widths whose rows are not a multiple of 4 bytes would shear and read past
// the end of the picture.
#include "textures.h"

#include <string>
#include <vector>

#include "mipmaps.h"

namespace {

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

// The start-up marks of each scene picture.
const PicturePhases& PhasesOf(ScenePicture which) { return which == ScenePicture::kSky ? kSkyPhases : kGroundPhases; }

void PreparePicture(FlightHost& host, ScenePicture which, PreparedPicture& picture) {
  const PicturePhases& phases = PhasesOf(which);
  picture.image.reset(host.ReadScenePicture(which, false));
  host.MarkPhase(phases.read);
  if (!picture.image) return;
  const RgbImage& image = *picture.image;
  picture.levels = BuildMipmapChain(image.pixels, image.width, image.height, 0, kUploadPixelBytes, host);
  host.MarkPhase(phases.computed);
}

// True when the context's size limit would not have cut level 0.
bool FitsSizeLimit(const std::vector<MipmapLevel>& levels, GLint max_side) {
  if (levels.empty()) return false;
  return max_side <= 0 || (levels[0].width <= max_side && levels[0].height <= max_side);
}

// Creates a mipmapped texture from the picture into *name, computing its
// levels unless prepared ones fit the context.
void MakeMipmappedTexture(FlightHost& host, PreparedPicture& picture, GLuint* name, const PicturePhases& phases) {
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
    picture.levels = BuildMipmapChain(image.pixels, image.width, image.height, max_side, kUploadPixelBytes, host);
    host.MarkPhase(phases.computed);
  }
  for (size_t level = 0; level < picture.levels.size(); ++level) {
    const MipmapLevel& m = picture.levels[level];
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 3, m.width, m.height, 0,
                 m.pixel_bytes == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, m.rgb.data());
  }
}

// Makes the scene picture a mipmapped texture, from `prepared` when it holds
// the picture; returns 1 if it loaded. Either way the picture is used up.
int LoadSceneTexture(FlightHost& host, ScenePicture which, PreparedPicture* prepared, GLuint* name) {
  const PicturePhases& phases = PhasesOf(which);
  PreparedPicture picture;
  if (prepared) picture = std::move(*prepared);
  if (!picture.image) {
    picture.image.reset(host.ReadScenePicture(which, true));
    host.MarkPhase(phases.read);
  }
  if (!picture.image) return 0;
  MakeMipmappedTexture(host, picture, name, phases);
  host.MarkPhase(phases.uploaded);
  return 1;
}

}  // namespace

void PrepareScenePictures(FlightHost& host, ScenePictures& pictures) {
  PreparePicture(host, ScenePicture::kSky, pictures.sky);
  PreparePicture(host, ScenePicture::kGround, pictures.ground);
}

int LoadSceneTextures(FlightHost& host, GLuint* sky_texture, GLuint* ground_texture, ScenePictures* prepared) {
  *sky_texture = 0;
  *ground_texture = 0;
  int status = 0;
  status |= LoadSceneTexture(host, ScenePicture::kSky, prepared ? &prepared->sky : nullptr, sky_texture);
  status |= LoadSceneTexture(host, ScenePicture::kGround, prepared ? &prepared->ground : nullptr, ground_texture);
  return status;
}

GLuint LoadMaterialTexture(FlightHost& host, const std::string& texture_name) {
  GLuint name = 0;  // stays 0 when no context is current
  RgbImage* image = host.ReadMaterialPicture(texture_name);
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
