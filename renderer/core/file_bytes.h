// Whole files into memory, for the model and bitmap readers.
#pragma once

#include <cstdio>
#include <vector>

enum class FileRead {
  kRead,
  kUnreadable,  // cannot be opened, sized or read in full
  kNoMemory,    // too big for the heap
};

// Reads the whole of an open binary stream into bytes and closes it; a null
// file is kUnreadable.
FileRead ReadFileBytes(std::FILE* file, std::vector<unsigned char>& bytes);

// The same for the file at path, opened with fopen (never created).
FileRead ReadFileBytes(const char* path, std::vector<unsigned char>& bytes);
