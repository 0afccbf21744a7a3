#include "flight_host.h"

#include <cstring>

#include "bitmap_decoder.h"

void ReportToStderr(const char* text) {
  std::fputs(text, stderr);
  const size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

RgbImage* FlightHost::ReadMaterialPicture(const std::string& name) { return ReadPicture(name.c_str(), true); }

std::FILE* FlightHost::OpenForReading(const char* path) { return std::fopen(path, "rb"); }

RgbImage* FlightHost::ReadPictureFile(const char* path, bool report) {
  return ReadBitmapImageFile(path, report ? ReportToStderr : nullptr, *this);
}

RgbImage* FlightHost::ReadPicture(const char* path, bool report) {
  if (!path) return nullptr;
  std::FILE* probe = OpenForReading(path);
  if (!probe) return nullptr;
  std::fclose(probe);
  return ReadPictureFile(path, report);
}
