// libFuzzer target for the screensaver argument string: any command line
// gives arguments that are its own tail, a mode letter from them, and a
// preview handle that fits in 32 bits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "shell_args.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);  // the command line ends at a NUL
  const std::string arguments = ArgumentsOf(line.c_str());
  const size_t length = std::strlen(line.c_str());
  if (arguments.size() > length || line.compare(length - arguments.size(), arguments.size(), arguments) != 0)
    std::abort();
  const char letter = ModeLetter(arguments);
  if ((arguments.size() < 2) != (letter == 0)) std::abort();
  if (letter >= 'a' && letter <= 'z') std::abort();
  const int64_t handle = PreviewParentHandle(arguments);
  if (handle < std::numeric_limits<int32_t>::min() || handle > std::numeric_limits<int32_t>::max()) std::abort();
  // A whole number reads the same as the number that starts the text.
  double whole = 0;
  if (ReadWholeNumber(line, &whole) && !(whole == LeadingNumber(line))) std::abort();
  if (std::isnan(LeadingNumber(line))) std::abort();
  return 0;
}
