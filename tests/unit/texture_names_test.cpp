// Which texture names a model may give: only names that stay below the current directory.
#include <gtest/gtest.h>

#include <string>

#include "texture_names.h"

TEST(TextureNames, NamesLeavingTheCurrentDirectoryAreRefused) {
  const struct {
    const char* name;
    bool refused;
  } cases[] = {
      {"", false},                              // no texture at all
      {"wing.bmp", false},
      {"textures\\wing.bmp", false},
      {"textures/wing.bmp", false},
      {".\\wing.bmp", false},
      {"..wing.bmp", false},                    // a name, not a step
      {"a..\\wing.bmp", false},
      {"console.bmp", false},
      {"com10.bmp", false},
      {"\\\\127.0.0.1\\share\\x.bmp", true},    // UNC
      {"//host/share/x.bmp", true},
      {"\\\\?\\C:\\x.bmp", true},
      {"\\\\.\\pipe\\x", true},                 // device
      {"\\x.bmp", true},                        // root of the current drive
      {"/etc/x.bmp", true},
      {"C:x.bmp", true},                        // drive-relative
      {"c:\\kestrel\\Jetscape2.bmp", true},
      {"..\\x.bmp", true},
      {"../x.bmp", true},
      {"textures\\..\\..\\x.bmp", true},
      {"textures/..", true},
      {"..", true},
      {"NUL", true},                            // reserved device names, any case or extension
      {"textures\\com1.bmp", true},
      {"Lpt9 .txt", true},
      {"aux", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsRefusedTextureName(c.name), c.refused) << c.name;
}
