// Reading zqpack's options one by one, with a message that names each
// mistake: an unknown option (and the known one it is closest to), a value
// that is missing, an option given twice. Platform-free.
#pragma once

#include <string>
#include <vector>

// Takes the value after the option at argv[i] into target and steps past
// it; the message when there is none (the end, or another option next) or
// the option was given already.
std::string TakeOptionValue(int argc, char** argv, int& i, std::string& target);
// The message for an argument that looks like an option but is none of known.
std::string UnknownOption(const std::string& argument, const std::vector<std::string>& known);
