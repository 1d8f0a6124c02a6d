// Reading install.ini (or, for the automatic completion, error_inst.ini):
// the product, its registry keys, the installation folder and whether a base
// installation is present.
#pragma once

#include <string>

class TInstallObject;

// Reads install.ini or error_inst.ini into Settings (which must exist).
int ReadInstallSettings(TInstallObject& object, const std::string& path);
