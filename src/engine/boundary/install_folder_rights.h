// The rights on a new installation's folder: an elevated run later starts,
// loads and registers what lies there, so ordinary users may change nothing
// in it.
#pragma once

#include <string>
#include <vector>

class TInstallObject;

// Makes the folder of a new elevated installation one that only
// administrators and the system can change, as Program Files is: a folder
// this run created (created) or an empty one gets that list of rights
// unless it lies below Program Files, whose list it inherits; a folder with
// files in it that others may change is refused (logged). True when the
// folder may take the installation.
bool SecureInstallFolder(const TInstallObject& object, const std::string& folder, bool created);

// Creates a new elevated installation's missing folder with its protected
// list of rights from the start (its missing parents as the system makes
// them), adding what it made to created; false when it cannot be made. Other
// runs leave the folder to the caller.
bool CreateInstallFolder(const TInstallObject& object, const std::string& folder, std::vector<std::string>& created);
