// What the shell and the renderer agree on without sharing any code: the
// working folder the shell fills and the renderer reads, the files in it, the
// model file beside the programs, and the caption by which the shell finds
// the running renderer.
#pragma once

#include "joined_text.h"

constexpr char kRendererCaption[] = "Jetscape_VC";

// The model file in the program folder; the shell copies it to kModelCopyName.
constexpr char kModelFileName[] = "Skyliner.data";

constexpr char kWorkingFolderName[] = "kestrel";
constexpr char kDesktopPictureName[] = "Jetscape1.bmp";  // the renderer's ground
constexpr char kPuffPictureName[] = "Jetscape2.bmp";
constexpr char kSkyPictureName[] = "Jetscape3.bmp";
constexpr char kModelCopyName[] = "Jetscape.data";

// The shell spells the drive in capitals and the renderer in lower case; the
// system compares paths without regard to case, and the renderer's messages
// quote its own spelling.
namespace working_paths {
inline constexpr auto kShellFolder = Join("C:\\", kWorkingFolderName);
inline constexpr auto kRendererFolder = Join("c:\\", kWorkingFolderName);
inline constexpr auto kDesktopPicture = Join(kShellFolder.text, "\\", kDesktopPictureName);
inline constexpr auto kPuffPicture = Join(kShellFolder.text, "\\", kPuffPictureName);
inline constexpr auto kSkyPicture = Join(kShellFolder.text, "\\", kSkyPictureName);
inline constexpr auto kModelCopy = Join(kShellFolder.text, "\\", kModelCopyName);
inline constexpr auto kRendererGround = Join(kRendererFolder.text, "\\", kDesktopPictureName);
inline constexpr auto kRendererSky = Join(kRendererFolder.text, "\\", kSkyPictureName);
inline constexpr auto kRendererModel = Join(kRendererFolder.text, "\\", kModelCopyName);
}  // namespace working_paths

// The shell's paths: the folder it creates and the four files it writes.
inline constexpr const char* kWorkingFolder = working_paths::kShellFolder.text;
inline constexpr const char* kDesktopPicturePath = working_paths::kDesktopPicture.text;
inline constexpr const char* kPuffPicturePath = working_paths::kPuffPicture.text;
inline constexpr const char* kSkyPicturePath = working_paths::kSkyPicture.text;
inline constexpr const char* kModelCopyPath = working_paths::kModelCopy.text;

// The renderer's paths: its folder and the three files it opens by name.
inline constexpr const char* kRendererWorkingFolder = working_paths::kRendererFolder.text;
inline constexpr const char* kRendererGroundPicturePath = working_paths::kRendererGround.text;
inline constexpr const char* kRendererSkyPicturePath = working_paths::kRendererSky.text;
inline constexpr const char* kRendererModelPath = working_paths::kRendererModel.text;
