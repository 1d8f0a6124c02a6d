// Unpacking the component archives into the working folder.
#pragma once

#include <string>
#include <vector>

class TInstallObject;

// Unpacks every archive into baseFolder, stopping at the first failure.
int ExtractArchives(TInstallObject& object, const std::string& baseFolder, const std::vector<std::string>& archives);
