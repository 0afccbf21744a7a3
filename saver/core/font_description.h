// A font as the shell describes one, for the forms' labels and combo boxes and
// for the push buttons alike; shell_font.h makes the GDI font from it.
#pragma once

#include <string>

struct FontDescription {
  std::string face;        // UTF-8
  int size_centipoints = 0;
  int weight = 400;
  int charset = 0;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  bool operator==(const FontDescription& other) const {
    return face == other.face && size_centipoints == other.size_centipoints && weight == other.weight &&
           charset == other.charset && italic == other.italic && underline == other.underline &&
           strikethrough == other.strikethrough;
  }
  bool operator!=(const FontDescription& other) const { return !(*this == other); }
};
