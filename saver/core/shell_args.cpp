#include "shell_args.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "half_even.h"

namespace {

// Beyond this an exponent only decides between overflow and underflow.
constexpr long long kExponentCap = 1000000000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipBlanks(const std::string& text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

struct NumberScan {
  bool found = false;
  double value = 0;
  size_t end = 0;  // one past the last character that belongs to the number
};

// The longest number that starts exactly at pos. The digits are handed to
// strtod without a decimal point, so the C library's locale cannot change
// the reading.
NumberScan ScanNumber(const std::string& text, size_t pos) {
  const size_t n = text.size();
  NumberScan scan;
  bool negative = false;
  if (pos < n && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::string digits;
  long long exponent = 0;
  for (; pos < n && IsDigit(text[pos]); ++pos) digits += text[pos];
  if (pos < n && text[pos] == '.') {
    for (++pos; pos < n && IsDigit(text[pos]); ++pos) {
      digits += text[pos];
      --exponent;
    }
  }
  if (digits.empty()) return scan;  // a sign or a point alone is no number
  scan.found = true;
  scan.end = pos;
  if (pos < n && (text[pos] == 'e' || text[pos] == 'E')) {
    size_t i = pos + 1;
    bool negative_exponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative_exponent = text[i++] == '-';
    if (i < n && IsDigit(text[i])) {  // "1e" and "1e+" end before the 'e'
      long long written = 0;
      for (; i < n && IsDigit(text[i]); ++i) {
        written = written * 10 + (text[i] - '0');
        if (written > kExponentCap) written = kExponentCap;
      }
      exponent += negative_exponent ? -written : written;
      scan.end = i;
    }
  }
  const std::string plain = digits + "e" + std::to_string(exponent);
  const double magnitude = std::strtod(plain.c_str(), nullptr);
  scan.value = negative ? -magnitude : magnitude;
  return scan;
}

}  // namespace

std::string ArgumentsOf(const char* command_line) {
  if (!command_line) return std::string();
  const char* p = command_line;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return std::string(p);
}

char ModeLetter(const std::string& arguments) {
  if (arguments.size() < 2) return 0;
  const char c = arguments[1];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

double LeadingNumber(const std::string& text) {
  return ScanNumber(text, SkipBlanks(text, 0)).value;
}

bool ReadWholeNumber(const std::string& text, double* value) {
  const NumberScan scan = ScanNumber(text, SkipBlanks(text, 0));
  if (!scan.found || SkipBlanks(text, scan.end) != text.size()) return false;
  *value = scan.value;
  return true;
}

int64_t PreviewParentHandle(const std::string& arguments) {
  if (arguments.size() < 4) return 0;
  const double handle = RoundHalfEven(LeadingNumber(arguments.substr(3)));
  // Also refuses the infinities of an overflowing exponent.
  if (!(handle >= std::numeric_limits<int32_t>::min() && handle <= std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int64_t>(handle);
}
