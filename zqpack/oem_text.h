// Member names for archives that Windows tools and the installer read: the
// OEM code page 850, as MS-DOS hosts store them. Platform-free.
#pragma once

#include <string>

// Converts a UTF-8 name to code page 850; false when it is malformed or holds
// a character that code page lacks.
bool Utf8ToOem(const std::string& utf8, std::string& oem);

// The code page 850 name in UTF-8, for display.
std::string OemToUtf8(const std::string& oem);

// The code page 850 name in Windows-1252, as the installer's unzip library
// names the extracted file ("?" for a character that code page lacks).
std::string OemToLatin1(const std::string& oem);

// A text of the installer's message tables (Windows-1252 umlauts, which equal
// Latin-1) in UTF-8, for display.
std::string Latin1ToUtf8(const std::string& text);

// A Windows-1252 text (install.ini's values) in UTF-8.
std::string AnsiToUtf8(const std::string& ansi);
