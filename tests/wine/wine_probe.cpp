// A small console helper the end-to-end tests run beside the programs under
// Wine, to look at and poke the Windows side from another process:
//   wine_probe mode             prints the display mode: WIDTHxHEIGHTxBITS
//   wine_probe window TITLE     prints "x y width height visible" of the top-level window, or "absent"
//   wine_probe state TITLE      both of the above, mode first, one per line
//   wine_probe close NAME       posts WM_CLOSE to it (exit code 1 if there is none); NAME is a title, or
//                               "class=CLASS" for the first window of that class
//   wine_probe press NAME       posts an Esc press, a pause, and its release to it
//   wine_probe dismiss CAPTION  prints the text of the message box with that caption (UTF-8) and
//                               presses its OK button (exit code 1 if there is none)
//   wine_probe picture FILE [X Y]  shows the bitmap file at its own size in a borderless window at
//                               0,0 (or X,Y), prints "shown" once it is painted, and runs until closed
//   wine_probe host W H         a borderless window of W x H at 400,300 for a child of another
//                               process; prints its handle in decimal, then runs until closed
//   wine_probe tree TITLE       for the window of that title, top-level or child: its parent's handle,
//                               its rectangle in the parent's client area and its visibility as
//                               "parent x y width height visible", or "absent"
//   wine_probe client TITLE     for the top-level window of that title: its owner's handle (0 for none)
//                               and its client area in screen coordinates, "owner x y width height",
//                               or "absent"
//   wine_probe frames TITLE     prints the count of swapped frames the renderer publishes on its
//                               window, or "absent"
//   wine_probe acp              prints the ANSI code page
//   wine_probe version FILE     prints the file's version resource as the system reads it, one
//                               "name=value" a line (its fixed file version, then its strings), and
//                               "string1=" its string table's string 1
//   wine_probe short PATH       prints the path's short (8.3) form
//   wine_probe monitors         prints "x y width height primary" of each monitor the system lists
//   wine_probe security FILE    prints the file's owner and DACL in SDDL, then the probe's own user's SID
//   wine_probe windows          prints the visible top-level windows, topmost of the Z order first, as
//                               "class|title|x y width height|topmost"
// Output goes to stdout; the tests redirect it to a file.
#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "frame_loop.h"

namespace {

// The static text control of a standard message box.
constexpr int kMessageBoxTextId = 0xffff;
constexpr char kProbeClass[] = "wine_probe window";

unsigned long HandleNumber(HWND window) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)); }

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

// Prints the renderer's count of swapped frames, read from its memory at the address its window's
// property holds (0 before the property is set), or "absent".
int PrintFrames(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::printf("absent\n");
    return 0;
  }
  int frames = 0;
  if (const void* address = GetPropA(window, kFrameCountProperty)) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, process_id);
    const bool read = process && ReadProcessMemory(process, address, &frames, sizeof(frames), nullptr);
    if (process) CloseHandle(process);
    if (!read) return 2;
  }
  std::printf("%d\n", frames);
  return 0;
}

// A top-level window by title, or by class when the name reads "class=CLASS".
HWND FindNamed(const char* name) {
  constexpr char kClassPrefix[] = "class=";
  if (std::strncmp(name, kClassPrefix, sizeof(kClassPrefix) - 1) == 0)
    return FindWindowA(name + sizeof(kClassPrefix) - 1, nullptr);
  return FindWindowA(nullptr, name);
}

// Asks the window to close, as the system does for Alt+F4.
int PostClose(const char* name) {
  HWND window = FindNamed(name);
  if (!window) return 1;
  return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 2;
}

// Presses Esc on the window as a key-state table can see it: down, a pause, up.
int PressEscape(const char* name) {
  HWND window = FindNamed(name);
  if (!window) return 1;
  if (!PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001)) return 2;
  Sleep(200);
  PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);  // the press may have closed it already
  return 0;
}

// Prints a message box's text as UTF-8 (escaped, on one line) and presses OK.
int DismissMessageBox(const char* caption) {
  HWND box = FindWindowA("#32770", caption);
  if (!box) return 1;
  wchar_t wide[1024] = {};
  GetDlgItemTextW(box, kMessageBoxTextId, wide, 1024);
  char text[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') std::fputs("\\n", stdout);
    else if (*c == '\\') std::fputs("\\\\", stdout);
    else std::fputc(*c, stdout);
  }
  std::fputc('\n', stdout);
  return PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 2;
}

// Prints each monitor's rectangle and whether it is the primary.
BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, RECT*, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
  return TRUE;
}

BOOL CALLBACK PrintVisibleWindow(HWND window, LPARAM) {
  RECT rect;
  if (!IsWindowVisible(window) || !GetWindowRect(window, &rect)) return TRUE;
  char class_name[256] = {}, title[256] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  GetWindowTextA(window, title, sizeof(title));
  std::printf("%s|%s|%ld %ld %ld %ld|%d\n", class_name, title, rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
  return TRUE;
}

// --- Windows of the probe's own ------------------------------------------------

HBITMAP shown_picture = nullptr;

void PaintPicture(HWND window) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window, &paint);
  if (shown_picture) {
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, shown_picture);
    BITMAP info;
    GetObjectA(shown_picture, sizeof(info), &info);
    BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: PaintPicture(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

// A visible borderless window of the probe's class; nullptr on failure.
HWND CreateProbeWindow(const char* title, int x, int y, int width, int height) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = ProbeWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kProbeClass;
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(0, kProbeClass, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                                height, nullptr, nullptr, window_class.hInstance, nullptr);
  if (window) UpdateWindow(window);
  return window;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

int ShowPicture(const char* path, int x, int y) {
  shown_picture = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!shown_picture) return 1;
  BITMAP info;
  GetObjectA(shown_picture, sizeof(info), &info);
  if (!CreateProbeWindow("wine_probe picture", x, y, info.bmWidth, info.bmHeight)) return 2;
  std::printf("shown\n");
  std::fflush(stdout);
  return RunMessageLoop();
}

int Host(int width, int height) {
  HWND window = CreateProbeWindow("wine_probe host", 400, 300, width, height);
  if (!window) return 2;
  std::printf("%lu\n", HandleNumber(window));
  std::fflush(stdout);
  return RunMessageLoop();
}

// --- Window tree ---------------------------------------------------------------

struct Search {
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  char text[256] = {};
  GetWindowTextA(window, text, sizeof(text));
  if (std::strcmp(text, search->title) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Looks at top-level windows first, then at every descendant of each.
BOOL CALLBACK SearchTopLevel(HWND window, LPARAM context) {
  Search* search = reinterpret_cast<Search*>(context);
  if (!MatchTitle(window, context)) return FALSE;
  EnumChildWindows(window, MatchTitle, context);
  return search->found ? FALSE : TRUE;
}

int DescribeTree(const char* title) {
  Search search = {title, nullptr};
  EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
  RECT rect;
  if (!search.found || !GetWindowRect(search.found, &rect)) {
    std::printf("absent\n");
    return 0;
  }
  HWND parent = GetAncestor(search.found, GA_PARENT);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  std::printf("%lu %ld %ld %ld %ld %d\n", HandleNumber(parent), rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top, IsWindowVisible(search.found) ? 1 : 0);
  return 0;
}

// The owner and the client area on the screen of a top-level window.
int DescribeClient(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  RECT client;
  if (!window || !GetClientRect(window, &client)) {
    std::printf("absent\n");
    return 0;
  }
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::printf("%lu %ld %ld %ld %ld\n", HandleNumber(GetWindow(window, GW_OWNER)), client.left, client.top,
              client.right - client.left, client.bottom - client.top);
  return 0;
}

// What Explorer's Properties page and the screensaver list read from a program file.
int PrintVersion(const char* file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  char* data = size ? static_cast<char*>(std::malloc(size)) : nullptr;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!data || !GetFileVersionInfoA(file, 0, size, data) ||
      !VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) {
    std::free(data);
    return 1;
  }
  std::printf("fixed=%d.%d.%d.%d\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  for (const char* name : {"ProductName", "FileDescription", "FileVersion", "LegalCopyright"}) {
    char query[64];
    char* value = nullptr;
    std::snprintf(query, sizeof(query), "\\StringFileInfo\\040904B0\\%s", name);
    if (VerQueryValueA(data, query, reinterpret_cast<void**>(&value), &length)) std::printf("%s=%s\n", name, value);
  }
  std::free(data);
  char text[256] = "";
  if (HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    LoadStringA(module, 1, text, sizeof(text));
    FreeLibrary(module);
  }
  std::printf("string1=%s\n", text);
  return 0;
}

int PrintShortPath(const char* path) {
  char text[MAX_PATH];
  const DWORD length = GetShortPathNameA(path, text, sizeof(text));
  if (length == 0 || length >= sizeof(text)) return 1;
  std::printf("%s\n", text);
  return 0;
}

// The file's owner and DACL as GetFileSecurity reads them back, in SDDL, then the probe's own user.
int PrintSecurity(const char* path) {
  const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityA(path, wanted, nullptr, 0, &size);
  std::vector<BYTE> descriptor(size ? size : 1);
  HANDLE token = nullptr;
  BYTE user[512] = {};
  char *text = nullptr, *user_text = nullptr;
  if (!GetFileSecurityA(path, wanted, descriptor.data(), size, &size) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1, wanted, &text,
                                                           nullptr) ||
      !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
      !GetTokenInformation(token, TokenUser, user, sizeof(user), &size) ||
      !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &user_text))
    return 1;
  std::printf("%s\n%s\n", text, user_text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* command = argc >= 2 ? argv[1] : "";
  if (argc == 2 && std::strcmp(command, "mode") == 0) return PrintMode();
  if (argc == 2 && std::strcmp(command, "acp") == 0) return std::printf("%u\n", GetACP()) > 0 ? 0 : 2;
  if (argc == 3 && std::strcmp(command, "window") == 0) return DescribeWindow(argv[2]);
  if (argc == 3 && std::strcmp(command, "state") == 0) {
    const int result = PrintMode();
    return result != 0 ? result : DescribeWindow(argv[2]);
  }
  if (argc == 3 && std::strcmp(command, "frames") == 0) return PrintFrames(argv[2]);
  if (argc == 3 && std::strcmp(command, "close") == 0) return PostClose(argv[2]);
  if (argc == 3 && std::strcmp(command, "dismiss") == 0) return DismissMessageBox(argv[2]);
  if (argc == 3 && std::strcmp(command, "picture") == 0) return ShowPicture(argv[2], 0, 0);
  if (argc == 5 && std::strcmp(command, "picture") == 0)
    return ShowPicture(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (argc == 4 && std::strcmp(command, "host") == 0) return Host(std::atoi(argv[2]), std::atoi(argv[3]));
  if (argc == 3 && std::strcmp(command, "tree") == 0) return DescribeTree(argv[2]);
  if (argc == 3 && std::strcmp(command, "client") == 0) return DescribeClient(argv[2]);
  if (argc == 3 && std::strcmp(command, "version") == 0) return PrintVersion(argv[2]);
  if (argc == 3 && std::strcmp(command, "short") == 0) return PrintShortPath(argv[2]);
  if (argc == 3 && std::strcmp(command, "security") == 0) return PrintSecurity(argv[2]);
  if (argc == 2 && std::strcmp(command, "monitors") == 0)
    return EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0) ? 0 : 2;
  if (argc == 2 && std::strcmp(command, "windows") == 0) return EnumWindows(PrintVisibleWindow, 0) ? 0 : 2;
  if (argc == 3 && std::strcmp(command, "press") == 0) return PressEscape(argv[2]);
  std::fprintf(stderr,
               "usage: wine_probe mode | acp | window TITLE | state TITLE | close NAME | press NAME | dismiss CAPTION |"
               " picture FILE [X Y] | host W H | tree TITLE | client TITLE | frames TITLE | monitors | windows |"
               " version FILE | short PATH | security FILE\n");
  return 64;
}
