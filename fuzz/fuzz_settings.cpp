// libFuzzer target for the numbers in the settings file: any value text
// either leaves the setting as it was or stores the floor of the whole number
// it holds, inside -32768..32767; empty text stores 0.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings.h"
#include "shell_args.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  constexpr int16_t kBefore = 12345;
  int16_t value = kBefore;
  ReadSettingsNumber(text, &value);
  if (text.empty()) {
    if (value != 0) std::abort();
    return 0;
  }
  double number = 0;
  const bool whole = ReadWholeNumber(text, &number);
  if (whole && std::isnan(number)) std::abort();
  const double floor = whole ? std::floor(number) : 0;
  const bool in_range = whole && floor >= -32768.0 && floor <= 32767.0;
  if (value != (in_range ? static_cast<int16_t>(floor) : kBefore)) std::abort();
  return 0;
}
