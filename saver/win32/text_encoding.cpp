#include "text_encoding.h"

#include <windows.h>

#include "ansi_narrowing.h"

namespace {

// Converts with the flags given; false (and empty) when the platform refuses.
bool Widen(UINT code_page, DWORD flags, const std::string& text, std::wstring* wide) {
  wide->clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  return MultiByteToWideChar(code_page, flags, text.data(), size, &(*wide)[0], length) == length;
}

}  // namespace

std::wstring WidenUtf8(const std::string& utf8) {
  std::wstring wide;
  if (Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, &wide)) return wide;
  Widen(CP_ACP, 0, utf8, &wide);
  return wide;
}

std::wstring WidenUtf8(const char* utf8) { return utf8 ? WidenUtf8(std::string(utf8)) : std::wstring(); }

std::wstring WidenAnsi(const std::string& ansi) {
  std::wstring wide;
  Widen(CP_ACP, 0, ansi, &wide);
  return wide;
}

bool NarrowToAnsi(const std::wstring& wide, std::string* ansi) {
  static_assert(kCodePageUtf8 == CP_UTF8 && kNoBestFitChars == WC_NO_BEST_FIT_CHARS &&
                    kErrorOnInvalidChars == WC_ERR_INVALID_CHARS, "the platform's values");
  ansi->clear();
  if (wide.empty()) return true;
  const UINT code_page = GetACP();
  const NarrowingRule rule = NarrowingFor(code_page);
  const int size = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  BOOL* default_used = rule.ask_default_used ? &lossy : nullptr;
  const int length = WideCharToMultiByte(code_page, rule.flags, wide.data(), size, nullptr, 0, nullptr, default_used);
  if (length <= 0 || lossy) return false;
  ansi->resize(static_cast<size_t>(length));
  const int written =
      WideCharToMultiByte(code_page, rule.flags, wide.data(), size, &(*ansi)[0], length, nullptr, default_used);
  return written == length && !lossy;
}
