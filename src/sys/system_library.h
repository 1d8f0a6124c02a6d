// Libraries of the system come from the system folder only: an installer is
// run from download folders that anyone can write to, and a DLL planted
// there must never be loaded into it.
#pragma once

#include <windows.h>

// Restricts the default DLL search of the process to the system folder and
// takes the current folder out of it, where the system offers that.
void RestrictDllSearch();

// Loads the library of that name from the system folder; null when it is
// not there. The library stays loaded for the life of the process.
HMODULE LoadSystemLibrary(const char* name);

// Loads a library by its full path together with the libraries it needs
// from its own folder (a COM server's dependencies), and from the system
// folder.
HMODULE LoadLibraryWithItsFolder(const char* path);
