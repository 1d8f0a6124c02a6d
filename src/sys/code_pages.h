// The two code pages of the German Windows the installer is made for, OEM 850
// and ANSI 1252, and UTF-8 between them. Platform-free: tools that build
// installers on other systems name files as that Windows will.
#pragma once

#include <string>

// Converts a UTF-8 name to code page 850; false when it is malformed or holds
// a character that code page lacks.
bool Utf8ToOem(const std::string& utf8, std::string& oem);

// Converts to Windows-1252 as Windows does, with a look-alike for each
// character that code page lacks; false when there was one.
bool Oem850ToAnsi(const std::string& oem, std::string& ansi);
// Converts to Windows-1252, "?" for each character that code page lacks (and
// for each byte of a malformed UTF-8 sequence); false when there was one.
bool Utf8ToAnsi(const std::string& utf8, std::string& ansi);

// The code page 850 text in UTF-8, for display.
std::string OemToUtf8(const std::string& oem);

// The text with "?" for each byte of a malformed UTF-8 sequence, for display.
std::string ValidUtf8(const std::string& text);

// A Windows-1252 text (the installer's names and message texts) in UTF-8, for display.
std::string AnsiToUtf8(const std::string& ansi);
// The same in UTF-16, as Windows resources hold texts.
std::u16string AnsiToUtf16(const std::string& ansi);
