// A text of an INI file (Windows-1252) in double quotes, in UTF-8 for messages.
#pragma once

#include <string>

#include "oem_text.h"

inline std::string Quoted(const std::string& text) { return "\"" + Latin1ToUtf8(text) + "\""; }
