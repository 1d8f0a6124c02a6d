#include "sys/system_error.h"

#include <stdexcept>

#include "sys/text.h"

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  return Trim(text);
}

void ThrowLastError(const char* step) {
  const DWORD code = GetLastError();
  throw std::runtime_error(std::string(step) + ": " + SystemErrorText(code));
}
