// Whole files into memory, for the model and bitmap readers.
#pragma once

#include <vector>

enum class FileRead {
  kRead,
  kUnreadable,  // cannot be opened, sized or read in full
  kNoMemory,    // too big for the heap
};

// Reads the whole file at path in binary mode into bytes (never creates it).
FileRead ReadFileBytes(const char* path, std::vector<unsigned char>& bytes);
