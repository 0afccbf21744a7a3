// The start-up procedure's operations on Windows.
#pragma once

#include <cstdint>
#include <string>

#include "startup.h"

class Win32StartupActions : public StartupActions {
 public:
  bool WindowExists(const char* title) override;
  bool ShowPreview(int64_t parent_handle) override;
  void CreateWorkingFolder() override;
  void ReadSettings() override;
  bool ProgramFilePresent(const std::string& path) override;
  void ShowMissingFileMessage(const char* text_utf8) override;
  void RunSettingsDialog() override;
  void HideCursor() override;
  bool StartSaverRun() override;
};
