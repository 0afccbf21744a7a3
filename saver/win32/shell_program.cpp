#include "shell_program.h"

#include <windows.h>

#include <vector>

#include "shell_paths.h"
#include "text_encoding.h"

void EndProgram() { ExitProcess(0); }

int ShowMessage(const char* text_utf8, const char* caption_utf8, unsigned type) {
  const std::wstring text = WidenUtf8(text_utf8);
  const std::wstring caption = WidenUtf8(caption_utf8);
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
}

bool FileExists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  // The system would read a name with a NUL in it as a shorter, different name.
  if (name.empty() || name.find('\0') != std::string::npos) return false;
  const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;  // a folder lands here too
  CloseHandle(file);
  return true;
}

std::string ProgramFolder() {
  // A name that fills the buffer may have been cut: try again with more room.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<char> name(size, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, name.data(), size);
    if (length == 0) return std::string();
    if (length >= size) continue;
    return FolderOf(std::string(name.data(), length));
  }
  return std::string();
}
