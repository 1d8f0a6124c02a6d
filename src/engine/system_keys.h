// Names the installer shares with the system: the uninstaller's file name and
// the registry keys through which the system runs it.
#pragma once

// The uninstaller copy; started under this name without a switch, the
// program does nothing. Each product has its own, in a folder named after the
// product below this folder of the Windows folder.
constexpr char kUninstallerName[] = "zquninst.exe";
constexpr char kUninstallersFolder[] = "zquninst";
// The system's list of installed programs: one key per product below it.
constexpr char kUninstallKeys[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The entry that completes an installation at the next start of the system:
// a value named after the product, or this name for a product without one.
constexpr char kRunOnceKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kRunOnceValue[] = "Quotaline";
