// Every working file the renderer reads is opened here, and judged by the
// handle it is then read from: between the saver's write and this read, the
// owner of a hostile folder could have swapped the file.
#pragma once

#include <windows.h>

#include <cstdio>

enum class TrustedOpen {
  kOpened,
  kMissing,  // opened, but not to be trusted (IsTrustedFile): read as missing
  kFailed,   // cannot be opened for reading (the callers have probed that it is there)
};

// Opens path for reading with sharing for readers, without following a link
// at its name; *file is the open handle only for kOpened.
TrustedOpen OpenTrustedFile(const char* path, HANDLE* file);

// The same as a binary stream, for the host's OpenForReading; null unless kOpened.
std::FILE* OpenTrustedStream(const char* path);
