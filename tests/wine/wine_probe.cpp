// A small console helper the end-to-end tests run beside the renderer under
// Wine, to look at and poke the Windows side from another process:
//   wine_probe mode             prints the display mode: WIDTHxHEIGHTxBITS
//   wine_probe window TITLE     prints "x y width height visible" of the top-level window, or "absent"
//   wine_probe state TITLE      both of the above, mode first, one per line
//   wine_probe close TITLE      posts WM_CLOSE to it (exit code 1 if there is none)
//   wine_probe dismiss CAPTION  prints the text of the message box with that caption and presses
//                               its OK button (exit code 1 if there is none)
// Output goes to stdout; the tests redirect it to a file.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// The static text control of a standard message box.
constexpr int kMessageBoxTextId = 0xffff;

// Prints the current display mode.
int PrintMode() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof(mode);
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 2;
  std::printf("%lux%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
  return 0;
}

// Prints the window's rectangle and visibility, or "absent".
int DescribeWindow(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) {
    std::printf("absent\n");
    return 0;
  }
  std::printf("%ld %ld %ld %ld %d\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
              IsWindowVisible(window) ? 1 : 0);
  return 0;
}

// Asks the window to close, as the system does for Alt+F4.
int PostClose(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) return 1;
  return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 2;
}

// Prints a message box's text (escaped, on one line) and presses OK.
int DismissMessageBox(const char* caption) {
  HWND box = FindWindowA("#32770", caption);
  if (!box) return 1;
  char text[1024] = {};
  GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof(text));
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') std::fputs("\\n", stdout);
    else if (*c == '\\') std::fputs("\\\\", stdout);
    else std::fputc(*c, stdout);
  }
  std::fputc('\n', stdout);
  return PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "mode") == 0) return PrintMode();
  if (argc == 3 && std::strcmp(argv[1], "window") == 0) return DescribeWindow(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "state") == 0) {
    const int result = PrintMode();
    return result != 0 ? result : DescribeWindow(argv[2]);
  }
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) return PostClose(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "dismiss") == 0) return DismissMessageBox(argv[2]);
  std::fprintf(stderr, "usage: wine_probe mode | window TITLE | state TITLE | close TITLE | dismiss CAPTION\n");
  return 64;
}
