// The product's own uninstaller: its folder below the Windows folder, the
// copy an installation puts there, the command and restart entry that start
// it, the clear-up record beside it, and its removal once the product is gone.
#pragma once

#include <string>

class TInstallObject;

// The folder of the product's uninstaller, with a trailing backslash.
std::string UninstallerFolder(const std::string& winDir, const std::string& productName);
// The product's uninstaller copy.
std::string UninstallerPath(const TInstallObject& object);
// The product's uninstaller as a command starts it: in short form where it
// can be had, in double quotes where it holds a blank.
std::string UninstallerCommand(const TInstallObject& object);
// The name of the product's restart entry: the name of its uninstaller's folder.
std::string RestartValueName(const std::string& productName);
// The restart entry of the uninstaller at that path: its folder's name, or
// the old shared name for an uninstaller outside the products' folders.
std::string RestartValueOf(const std::string& uninstaller);
// Puts the uninstaller image into the product's folder; a removal at the
// next start that an earlier uninstallation asked for is taken back.
void InstallUninstaller(const TInstallObject& object);
// A new installation has nothing to clear up: the product's clear-up record
// goes, with the one an earlier version left in the Windows folder for it.
void ForgetClearupRecord(TInstallObject& object);
// At the end of an uninstallation or clear-up started from the product's
// folder: once no uninstall entry names that uninstaller and no clear-up
// record waits beside it, the folder and all in it go at the next start.
void RetireUninstaller(const TInstallObject& object);
