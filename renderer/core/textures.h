// Pictures into OpenGL textures: the two scene pictures and material pictures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "flight_host.h"
#include "gl.h"
#include "mipmaps.h"
#include "rgb_image.h"

// A scene picture read and its mipmap levels computed: the part of a texture
// that needs no GL context, so another thread can do it while the window and
// context are made.
struct PreparedPicture {
  std::unique_ptr<RgbImage, RgbImageFree> image;  // null: missing or unreadable
  std::vector<MipmapLevel> levels;                // computed with no size limit
};

struct ScenePictures {
  PreparedPicture sky;
  PreparedPicture ground;
};

// Reads both scene pictures from the host and computes their levels with its
// tasks, without reporting and without GL, so any thread may call it.
void PrepareScenePictures(FlightHost& host, ScenePictures& pictures);

// Makes sky_texture and ground_texture with mipmaps (sky first); both start
// at 0 and a missing picture leaves its name 0. Returns 1 if at least one
// picture loaded, else 0. The pictures come from `prepared` (used up here) or,
// when it is null, are read now. A prepared picture that failed is read again
// here, so that its failure is reported on this thread, in its usual place.
int LoadSceneTextures(FlightHost& host, GLuint* sky_texture, GLuint* ground_texture,
                      ScenePictures* prepared = nullptr);

// One texture at the picture's own size, no mipmaps, from the picture the
// host reads for a model's material; 0 if it cannot be read or no GL context
// is current.
GLuint LoadMaterialTexture(FlightHost& host, const std::string& name);
