// The run options of this process's command line, read in full.
#pragma once

#include "engine/run_options.h"

// The options as ParseRunOptions takes them from the arguments in UTF-8 (the
// ANSI command line has a look-alike for each letter the code page lacks);
// the record file then as the A functions reach it.
RunOptions CommandLineOptions();
