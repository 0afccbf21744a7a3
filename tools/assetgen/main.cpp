// Generates the bundled assets into a folder: the aircraft model, the sky and
// puff pictures, the sample desktop used as the viewer's default ground and
// the preview's background, the setup program's side picture, and the settings
// dialog's pictures in dialog/.
#include <cstdio>
#include <string>

#include "airliner.h"
#include "bmp_writer.h"
#include "contract/working_files.h"
#include "dialog_pictures.h"
#include "ms3d_writer.h"
#include "pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  bool ok = true;
  // Reports a file that could not be written.
  auto check = [&ok](bool written, const std::string& path) {
    if (!written) std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    ok = ok && written;
  };
  check(WriteMs3d(folder + kModelFileName, BuildAirliner()), folder + kModelFileName);
  check(WriteBmp24(folder + "sky.bmp", MakeSkyPicture()), folder + "sky.bmp");
  check(WriteBmp24(folder + "puff.bmp", MakePuffPicture()), folder + "puff.bmp");
  check(WriteBmp24(folder + "sample-desktop.bmp", MakeDesktopPicture()), folder + "sample-desktop.bmp");
  check(WriteBmp24(folder + "preview-background.bmp", MakePreviewBackgroundPicture()),
        folder + "preview-background.bmp");
  check(WriteBmp24(folder + "setup-side.bmp", MakeSetupSidePicture()), folder + "setup-side.bmp");
  check(WriteDialogPictures(folder + "dialog/"), folder + "dialog/");
  return ok ? 0 : 1;
}
