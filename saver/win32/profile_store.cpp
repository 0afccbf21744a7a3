#include "profile_store.h"

#include <windows.h>

namespace {
constexpr DWORD kValueBufferSize = 256;
}

std::string Win32ProfileStore::ReadIniValue(const std::string& section, const std::string& key,
                                            const std::string& path) {
  char value[kValueBufferSize] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, kValueBufferSize, path.c_str());
  value[kValueBufferSize - 1] = '\0';  // the text ends at its first NUL, whatever the platform left
  return std::string(value);
}

void Win32ProfileStore::WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                                      const std::string& path) {
  // A failed write is not reported.
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}
