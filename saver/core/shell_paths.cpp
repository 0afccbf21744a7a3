#include "shell_paths.h"

#include <cctype>

std::string FolderOf(const std::string& path) {
  size_t length = 0;  // up to and including the last separator
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == ':' || path[i] == '\\') length = i + 1;
  }
  std::string folder = path.substr(0, length);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string OpenableFolder(const std::string& folder) {
  const bool bare_drive = folder.size() == 2 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':';
  return bare_drive ? folder + "\\" : folder;
}
