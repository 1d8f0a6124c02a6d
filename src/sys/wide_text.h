// Texts between the system's UTF-16 and the installer's narrow strings: the
// ANSI code page the A functions use, and UTF-8 for what must keep every letter.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& ansi);
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// The text in the ANSI code page, "?" for each letter the code page lacks,
// never a look-alike; false when there was one.
bool WideToAnsi(const std::wstring& wide, std::string& ansi);

// The text without blanks and control characters at either end.
std::wstring TrimWide(const std::wstring& text);

// The path without one trailing backslash.
std::wstring WithoutTrailingBackslash(std::wstring path);
