// Paths the shell builds: the folder part of a path and the fixed names.
#pragma once

#include <string>

#include "contract/working_files.h"

// The folder part of a path: everything up to the last ':' or '\', with one
// trailing '\' dropped. "C:\Music\song.mp3" gives "C:\Music", "C:song.mp3"
// gives "C:", "song.mp3" gives "".
std::string FolderOf(const std::string& path);

// A folder as the system should open it: a bare drive ("C:") would name that
// drive's current folder, so it gets its root's backslash back; any other
// folder is returned as it is.
std::string OpenableFolder(const std::string& folder);

// Suffixes appended to the program folder as the system reports it.
constexpr char kRendererSuffix[] = "\\Skyliner.dll";
inline constexpr auto kModelSuffixText = Join("\\", kModelFileName);
inline constexpr const char* kModelSuffix = kModelSuffixText.text;
constexpr char kSettingsSuffix[] = "\\Skyliner.ini";

// The shell's own window captions, looked up between processes (the
// renderer's is in the contract).
constexpr char kSaverCaption[] = "Jetscape_Main";
constexpr char kDialogCaption[] = "<Skyliner>";
