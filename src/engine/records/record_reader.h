// Reading the uninstall record back for an uninstall or clear-up run, and
// keeping its list of folders to clear up.
#pragma once

#include <string>
#include <vector>

class TInstallObject;

// Reads the uninstall record at path into Uninstall (which must exist) and
// the folder fields; source, when given, is the file read in its place.
int ReadUninstallData(TInstallObject& object, const std::string& path, const std::string& source = "");
// Reads the record's folders to clear up, its product and its registry keys.
int ReadClearupData(TInstallObject& object, const std::string& path, const std::string& source = "");
// Reports as clear-up folders those folders of the files that lie in the installation folder.
void WriteClearupData(TInstallObject& object, const std::vector<std::string>& files);
// Removes the clear-up folders from an existing record of the installation.
void RemoveClearupInfo(TInstallObject& object);
