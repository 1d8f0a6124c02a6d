// Programs of the product: closing the running ones before anything changes,
// and starting the ones install.ini names at the end of an installation.
#pragma once

#include <string>
#include <vector>

class TInstallObject;

// Closes the windows of the [close] lines; false when one stays open.
bool ClosePrograms(TInstallObject& object, const std::vector<std::string>& lines, bool close);
// Starts the [RunProg] program and then waits for the [RunProgWait] one.
void RunProg(TInstallObject& object);
