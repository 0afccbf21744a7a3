// The shell's two kinds of text: UI texts are UTF-8 in the code and shown
// through the wide functions, so they read right on any code page; paths and
// the settings keep the system's ANSI bytes.
#pragma once

#include <string>

// UTF-8 to UTF-16; text that is not valid UTF-8 is taken in the ANSI code page.
std::wstring WidenUtf8(const std::string& utf8);
// The same for a design's text, where null stands for none.
std::wstring WidenUtf8(const char* utf8);

// ANSI code page to UTF-16.
std::wstring WidenAnsi(const std::string& ansi);

// UTF-16 to the ANSI code page. False when a character has no ANSI form: such
// a text would name another file once narrowed.
bool NarrowToAnsi(const std::wstring& wide, std::string* ansi);
