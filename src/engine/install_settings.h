// The settings of one installation run, read from install.ini or error_inst.ini.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct InstallSettings {
  std::string InstallerVersion;  // recorded by the previous installation
  bool BaseMissing = false;      // no base installation of the product yet
  bool Update = false;           // this package updates an existing installation
  bool DeleteShared = false;     // uninstalling deletes shared files
  std::string UninstTitle;
  std::string RunProg;
  std::string RunProgWait;
  std::string RegUser;     // the product's key in the user hive
  std::string RegMachine;  // the product's key in the machine hive
  uint16_t MinDiskSpace = 0;  // megabytes
  std::vector<std::string> Links;
  std::vector<std::string> Groups;
  std::vector<std::string> CommonFiles;
  bool DotNetPresent = false;
};
