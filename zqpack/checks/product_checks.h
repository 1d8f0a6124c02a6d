// The checks zqpack runs over a product's components before it builds an
// installer: every ver.ini and the install.ini read as the installer reads
// them, and every mistake the installer would meet on a customer's machine
// reported here instead. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "checks/findings.h"

// How faithfully a member's stored name reaches the disk.
enum NameFidelity {
  nfExact,
  nfUnmarkedUtf8,  // UTF-8 that the archive does not mark so: written as its bytes read in Windows-1252
  nfLookAlike,     // stored in the OEM code page with characters Windows-1252 lacks: Windows writes look-alikes
  nfUnwritable,    // stored in UTF-8 with such characters: written as "?", which no file name may hold
};

struct InexactName {
  std::string Member;  // as stored, in UTF-8
  NameFidelity Fidelity;
  std::string Written;  // as Windows writes it, in UTF-8
};

// What the checks see of one component.
struct ComponentFiles {
  std::string Folder;                     // the component as the publisher named it (UTF-8)
  std::vector<std::string> Members;       // its files below the top folder, "\"-separated, Windows-1252
  std::vector<InexactName> InexactNames;  // with the top folder
  std::string Descriptor;                 // the text of its ver.ini
  bool HasInstallSettings = false;        // it is the uninst component with install.ini
  bool MisnamedBase = false;              // it holds install.ini in a top folder of another name
  std::string InstallSettings;            // the text of that install.ini
};

Findings CheckProduct(const std::vector<ComponentFiles>& components);
// What is missing when no component holds uninst/install.ini, and, when a
// component holds install.ini under another top folder, the name it needs.
std::string MissingSettingsText(const std::string& misnamedBase);
