#include "ansi_narrowing.h"

NarrowingRule NarrowingFor(unsigned code_page) {
  if (code_page == kCodePageUtf8) return {kErrorOnInvalidChars, false};
  return {kNoBestFitChars, true};
}
