// Deletions the system carries out at its next start: a running program
// cannot delete its own file, nor the folder that holds it.
#pragma once

#include <string>

// Asks the system to delete the file, or the folder once empty, at its next
// start (administrators only); false when the system refuses.
bool DeleteAtRestart(const std::string& path);
// Takes back every deletion asked for at the next start of folder and of
// anything below it, so that what a new run puts there stays.
void KeepAtRestart(const std::string& folder);
