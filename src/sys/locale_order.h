// The system's locale-aware text order, as the platform sorts string lists.
#pragma once

#include <string>

// Whether a sorts before b in the user's locale, case ignored.
bool LocaleLessText(const std::string& a, const std::string& b);
