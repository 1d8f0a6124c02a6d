// Reading the component descriptors (ver.ini) of an install run into
// component entries with expanded, sorted work lists.
#pragma once

#include <string>
#include <vector>

#include "engine/config/install_settings.h"
#include "engine/config/placeholders.h"

class TInstallObject;

// Expands and sorts one list section read from the component descriptor in descriptorFolder.
void ExpandComponentSection(const TInstallObject& object, std::vector<std::string>& lines,
                            const std::string& descriptorFolder, LineExpansion expansion);
// A [copy] line "source=target", split at its last "=" (a trailing one
// ignored) and trimmed.
CopyEntry CopyEntryOf(const std::string& line);
// Reads every descriptor named in TempFiles into Settings->Components, in
// the order of their paths (TempFiles is sorted so).
int ProcessInstInis(TInstallObject& object);
// Reads one descriptor; a component whose .NET runtime is missing is left out.
int ReadComponent(TInstallObject& object, const std::string& path);
