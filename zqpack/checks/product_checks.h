// The checks zqpack runs over a product's components before it builds an
// installer: every ver.ini and the install.ini read as the installer reads
// them, and every mistake the installer would meet on a customer's machine
// reported here instead. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "checks/findings.h"

// What the checks see of one component.
struct ComponentFiles {
  std::string Folder;                // the component as the publisher named it (UTF-8)
  std::vector<std::string> Members;  // its files below the top folder, "\"-separated, Windows-1252
  std::string Descriptor;            // the text of its ver.ini
  bool HasInstallSettings = false;   // it is the uninst component with install.ini
  std::string InstallSettings;       // the text of that install.ini
};

Findings CheckProduct(const std::vector<ComponentFiles>& components);
