// The settings file through the private-profile functions. Section, keys,
// values and path keep their ANSI bytes (the keys are code page 932 bytes).
#pragma once

#include <string>

#include "settings.h"

class Win32ProfileStore : public ProfileStore {
 public:
  std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& path) override;
  void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
};
