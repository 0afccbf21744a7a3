// The screensaver argument string: the mode letter and the preview handle.
#pragma once

#include <cstdint>
#include <string>

// The argument string of a command line: what follows the program's own name
// (quoted or not) and all the blanks after it. Null gives the empty string.
std::string ArgumentsOf(const char* command_line);

// The second character of the upper-cased argument string (/s, /S and -s all
// give 'S'); 0 when the string has fewer than two characters.
char ModeLetter(const std::string& arguments);

// The number at the start of the text, read the way the shell's runtime reads
// one: leading blanks skipped, an optional sign, digits with an optional
// fraction and exponent; reading stops at the first character that cannot
// continue the number. No number gives 0.
double LeadingNumber(const std::string& text);

// Whether the whole text, blanks around it allowed, is one number in the same
// syntax; if so, *value receives it.
bool ReadWholeNumber(const std::string& text, double* value);

// The preview's parent window handle: the number that starts at the fourth
// character of the argument string ("/p 1234", "/P:1234"), rounded to the
// nearest integer (halves to even). 0 when there is none or it does not fit
// in 32 bits.
int64_t PreviewParentHandle(const std::string& arguments);
