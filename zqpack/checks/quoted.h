// A text of an INI file (Windows-1252) in double quotes, in UTF-8 for messages.
#pragma once

#include <string>

#include "sys/code_pages.h"

inline std::string Quoted(const std::string& text) { return "\"" + AnsiToUtf8(text) + "\""; }
