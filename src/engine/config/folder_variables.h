// The folders of this machine that the placeholders stand for.
#pragma once

#include "engine/config/placeholders.h"
#include "sys/shell_folders.h"

// Determines the folder variables, each shell folder by its chain of sources
// (first non-empty answer wins), each non-empty one with a trailing backslash.
FolderVariables DetermineFolderVariables(const FolderSources& sources = SystemFolderSources());
