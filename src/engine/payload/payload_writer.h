// Writing the payload out of the installer's own file: the uninstaller image,
// the unzip library and one archive file per component.
#pragma once

#include <string>

class TInstallObject;

// Writes the uninstaller image, the unzip library and the archives out of
// the installer file (OwnShortPath) into workFolder.
int WriteData(TInstallObject& object, const std::string& workFolder);
