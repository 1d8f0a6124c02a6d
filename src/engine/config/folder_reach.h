// Whether a run can reach the folders it works with: a folder with a letter
// the code page lacks goes by its short name, and without one the run ends
// before it changes anything.
#pragma once

#include <string>

#include "engine/install_object.h"

// Logs each folder the run reaches through its short name, with its full name.
void LogShortenedFolders(const TInstallObject& object);

// The first folder the run mode needs that the A functions cannot reach
// (its "?" form); empty when there is none.
std::string UnreachableFolder(const TInstallObject& object, int runMode);

// The log's lines on a folder the A functions cannot reach: which, and what to do.
void LogUnreachableFolder(const TInstallObject& object, const std::string& folder);
