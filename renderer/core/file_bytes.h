// Whole files into memory, for the model and bitmap readers.
#pragma once

#include <cstdio>
#include <vector>

enum class FileRead {
  kRead,
  kUnreadable,  // cannot be opened, sized or read in full
  kNoMemory,    // too big for the heap
};

// Opens a file for binary reading (never creating it); null when it cannot be
// opened. The platform may install a stricter opener; null restores fopen.
using FileOpener = std::FILE* (*)(const char* path);
void SetFileOpener(FileOpener opener);
std::FILE* OpenFileForReading(const char* path);

// Reads the whole file at path, opened by the installed opener, into bytes.
FileRead ReadFileBytes(const char* path, std::vector<unsigned char>& bytes);
