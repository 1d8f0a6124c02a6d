// System error texts for messages.
#pragma once

#include <windows.h>

#include <string>

// The system's text for the error code, without its trailing line break.
std::string SystemErrorText(DWORD code);

// Throws std::runtime_error with "<step>: " and the text of the thread's last error.
[[noreturn]] void ThrowLastError(const char* step);
