// How a wide text is narrowed to the system's ANSI code page. With UTF-8
// (65001) as that code page the platform refuses the whole conversion when
// given the no-best-fit flag or a used-default pointer; there every character
// has a form, and only broken UTF-16 (a lone surrogate) is refused.
#pragma once

constexpr unsigned kCodePageUtf8 = 65001;           // CP_UTF8
constexpr unsigned long kNoBestFitChars = 0x400;    // WC_NO_BEST_FIT_CHARS
constexpr unsigned long kErrorOnInvalidChars = 0x80;  // WC_ERR_INVALID_CHARS

struct NarrowingRule {
  unsigned long flags;
  bool ask_default_used;  // pass the used-default pointer: a character without a form refuses the text
};

NarrowingRule NarrowingFor(unsigned code_page);
