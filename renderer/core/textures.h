// Pictures into OpenGL textures: the two scene pictures and material pictures.
#pragma once

#include <string>

#include "bitmap_decoder.h"
#include "gl.h"
#include "rgb_image.h"

// Where the saver leaves the scene pictures.
extern const char kSkyPicturePath[];     // "c:\kestrel\Jetscape3.bmp"
extern const char kGroundPicturePath[];  // "c:\kestrel\Jetscape1.bmp"

// Reads one bitmap file and reports its own failures; the platform supplies it.
using BitmapFileReader = RgbImage* (*)(const char* path);

// Maps a path the renderer names to the file to open (identity on Windows).
using FileLocator = std::string (*)(const char* path);

// Installs the platform's reader; null restores the portable one, which
// reports to the reporter given to SetBitmapReporter (stderr by default;
// null restores that default).
void SetBitmapFileReader(BitmapFileReader reader);
void SetBitmapReporter(BitmapReporter report);
// Null restores the identity.
void SetFileLocator(FileLocator locator);

// Null path or a file that fopen cannot open: null, silently. Otherwise reads
// the located file with the installed reader.
RgbImage* LoadBitmapFile(const char* path);

// Makes sky_texture and ground_texture with mipmaps (sky first); both start
// at 0 and a missing picture leaves its name 0. Returns 1 if at least one
// picture loaded, else 0.
int LoadSceneTextures(GLuint* sky_texture, GLuint* ground_texture);

// One texture at the picture's own size, no mipmaps; 0 if it cannot be loaded
// or no GL context is current.
GLuint LoadTextureFile(const char* path);
