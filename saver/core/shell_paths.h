// Paths the shell builds: the folder part of a path and the fixed names.
#pragma once

#include <string>

// The folder part of a path: everything up to the last ':' or '\', with one
// trailing '\' dropped. "C:\Music\song.mp3" gives "C:\Music", "C:song.mp3"
// gives "C:", "song.mp3" gives "".
std::string FolderOf(const std::string& path);

// The working folder and the four files the saver writes into it.
constexpr char kWorkingFolder[] = "C:\\kestrel";
constexpr char kDesktopPicturePath[] = "C:\\kestrel\\Jetscape1.bmp";
constexpr char kPuffPicturePath[] = "C:\\kestrel\\Jetscape2.bmp";
constexpr char kSkyPicturePath[] = "C:\\kestrel\\Jetscape3.bmp";
constexpr char kModelCopyPath[] = "C:\\kestrel\\Jetscape.data";

// Suffixes appended to the program folder as the system reports it.
constexpr char kRendererSuffix[] = "\\Skyliner.dll";
constexpr char kModelSuffix[] = "\\Skyliner.data";
constexpr char kSettingsSuffix[] = "\\Skyliner.ini";

// Window captions looked up between processes.
constexpr char kSaverCaption[] = "Jetscape_Main";
constexpr char kDialogCaption[] = "<Skyliner>";
constexpr char kRendererCaption[] = "Jetscape_VC";
