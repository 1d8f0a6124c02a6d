// zqpack's texts are UTF-8; Windows hands a program its arguments in the
// ANSI code page.
#pragma once

#include <string>

// The command-line argument in UTF-8.
std::string CommandLineText(const char* argument);
