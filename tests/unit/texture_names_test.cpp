// Which texture names a model may give: only names that stay below the current directory.
#include <gtest/gtest.h>

#include "texture_names.h"

TEST(TextureNames, NamesLeavingTheCurrentDirectoryAreRefused) {
  const struct {
    const char* name;
    bool refused;
  } cases[] = {
      {"", false}, {"textures\\wing.bmp", false}, {"textures/wing.bmp", false}, {"..wing.bmp", false},
      {"com10.bmp", false}, {"\\\\127.0.0.1\\share\\x.bmp", true}, {"//host/share/x.bmp", true},
      {"\\\\?\\C:\\x.bmp", true}, {"\\\\.\\pipe\\x", true}, {"\\x.bmp", true}, {"/etc/x.bmp", true},
      {"C:x.bmp", true}, {"..\\x.bmp", true}, {"textures/../../x.bmp", true}, {"textures\\..", true},
      {"NUL", true}, {"textures\\com1.bmp", true}, {"Lpt9 .txt", true},
      {"c:\\kestrel\\Jetscape2.bmp", false}, {"C:\\KESTREL\\JETSCAPE3.BMP", false},
      {"C:\\kestrel\\Jetscape.data", true}, {"C:\\kestrel\\puff.bmp", true}, {"C:/kestrel/Jetscape2.bmp", true},
      {"\\\\host\\c:\\kestrel\\Jetscape2.bmp", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsRefusedTextureName(c.name), c.refused) << c.name;
}
