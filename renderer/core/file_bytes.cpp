#include "file_bytes.h"

#include <cstdio>
#include <new>

namespace {

// Sizes, allocates and reads; the caller closes the file.
FileRead ReadOpenFile(std::FILE* file, std::vector<unsigned char>& bytes) {
  if (std::fseek(file, 0, SEEK_END) != 0) return FileRead::kUnreadable;
  const long size = std::ftell(file);  // -1 where a long cannot hold the size
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return FileRead::kUnreadable;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return FileRead::kNoMemory;
  }
  const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
  return got == bytes.size() ? FileRead::kRead : FileRead::kUnreadable;
}

}  // namespace

FileRead ReadFileBytes(std::FILE* file, std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (!file) return FileRead::kUnreadable;
  const FileRead result = ReadOpenFile(file, bytes);
  std::fclose(file);
  if (result != FileRead::kRead) std::vector<unsigned char>().swap(bytes);
  return result;
}

FileRead ReadFileBytes(const char* path, std::vector<unsigned char>& bytes) {
  return ReadFileBytes(path ? std::fopen(path, "rb") : nullptr, bytes);
}
