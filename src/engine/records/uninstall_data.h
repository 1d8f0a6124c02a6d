// The uninstall record read back for an uninstall or clear-up run.
#pragma once

#include <string>
#include <vector>

struct UninstallData {
  std::string Name;
  std::string InstallPath;
  std::string RegUser;
  std::string RegMachine;
  std::string Version;
  bool DeleteShared = false;
  std::vector<std::string> ComFiles;
  std::vector<std::string> CommonFiles;
  std::vector<std::string> InstalledFiles;
  std::vector<std::string> RegistryValues;  // key=value lines
  std::vector<std::string> Directories;
  // The folders installations of the product created; empty in a record of an
  // earlier version, which did not keep them.
  std::vector<std::string> CreatedFolders;
  // The keys above the product's keys (its maker's) that an installation created.
  std::vector<std::string> CreatedKeys;
  std::vector<std::string> Groups;
  std::vector<std::string> Links;        // key=value lines
  std::vector<std::string> DotNetFiles;  // key=value lines
  bool DotNetPresent = false;
  std::string DotNetDir;
};
