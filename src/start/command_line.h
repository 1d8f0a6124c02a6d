// Turning the process command line into run options. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "engine/run_options.h"

// Splits a command line into arguments: blanks separate them, double quotes
// group blanks into an argument and are themselves dropped. The program name
// (the first argument) is included.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Derives the run options from the program's own path and its arguments
// (without the program name), applying every switch in order.
RunOptions ParseRunOptions(const std::string& ownPath, const std::vector<std::string>& arguments);
