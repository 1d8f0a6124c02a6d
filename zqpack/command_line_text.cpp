#include "command_line_text.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>

std::string CommandLineText(const char* argument) {
  const int wide = MultiByteToWideChar(CP_ACP, 0, argument, -1, nullptr, 0);
  if (wide <= 1) return std::string();
  std::vector<wchar_t> text(static_cast<size_t>(wide));
  MultiByteToWideChar(CP_ACP, 0, argument, -1, text.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.pop_back();  // the terminating NUL
  return utf8;
}
#else
std::string CommandLineText(const char* argument) { return argument; }
#endif
