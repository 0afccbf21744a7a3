#include "texture_names.h"

#include <cctype>

#include "contract/working_files.h"

namespace {

bool SameWithoutCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

// The saver's own pictures in the working folder: a model may name them (the
// puff is there for that), and they are read with the scene's own checks.
bool IsWorkingFolderPicture(const std::string& name) {
  for (const char* path : {kDesktopPicturePath, kPuffPicturePath, kSkyPicturePath})
    if (SameWithoutCase(name, path)) return true;
  return false;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 open devices whatever extension
// follows them, in any case.
bool IsDeviceName(const std::string& component) {
  std::string stem;
  for (char c : component.substr(0, component.find('.')))
    stem += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsRefusedTextureName(const std::string& name) {
  if (name.empty() || IsWorkingFolderPicture(name)) return false;
  if (IsSeparator(name[0])) return true;  // a root, UNC (\\host, //host) or device (\\.\, \\?\)
  if (name.size() >= 2 && name[1] == ':') return true;  // a drive
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    const std::string component = name.substr(start, end - start);
    if (component == ".." || IsDeviceName(component)) return true;
    start = end + 1;
  }
  return false;
}
