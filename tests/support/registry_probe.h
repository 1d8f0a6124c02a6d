// Looking at the registry from a test, independently of what is tested.
#pragma once

#include <string>
#include <vector>

bool RegistryKeyExists(const std::string& path);
// The string value, or "<none>" when it cannot be read.
std::string RegistryText(const std::string& key, const std::string& name);
// The files and folders the system deletes at its next start, in lower case.
std::vector<std::string> PendingDeletions();
