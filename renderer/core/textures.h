// Pictures into OpenGL textures: the two scene pictures and material pictures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bitmap_decoder.h"
#include "contract/working_files.h"
#include "gl.h"
#include "mipmaps.h"
#include "rgb_image.h"

// Reads one bitmap file, giving any failure to report (none when it is null);
// the platform supplies it.
using BitmapFileReader = RgbImage* (*)(const char* path, BitmapReporter report);

// Maps a path the renderer names to the file to open (identity on Windows).
using FileLocator = std::string (*)(const char* path);

// Installs the platform's reader; null restores the portable one. Readers
// report to the reporter given to SetBitmapReporter (stderr by default; null
// restores that default).
void SetBitmapFileReader(BitmapFileReader reader);
void SetBitmapReporter(BitmapReporter report);
// Null restores the identity.
void SetFileLocator(FileLocator locator);

// Null path or a file that the installed opener (file_bytes.h) cannot open:
// null, silently. Otherwise reads the located file with the installed reader.
RgbImage* LoadBitmapFile(const char* path);

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

// Reads both scene pictures and computes their levels without reporting and
// without GL, so any thread may call it once the reader and locator are set.
void PrepareScenePictures(ScenePictures& pictures);

// Makes sky_texture and ground_texture with mipmaps (sky first); both start
// at 0 and a missing picture leaves its name 0. Returns 1 if at least one
// picture loaded, else 0. The pictures come from `prepared` (used up here) or,
// when it is null, are read now. A prepared picture that failed is read again
// here, so that its failure is reported on this thread, in its usual place.
int LoadSceneTextures(GLuint* sky_texture, GLuint* ground_texture, ScenePictures* prepared = nullptr);

// One texture at the picture's own size, no mipmaps; 0 if it cannot be loaded
// or no GL context is current.
GLuint LoadTextureFile(const char* path);
