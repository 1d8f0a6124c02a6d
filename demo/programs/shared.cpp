// The demo product's shared library, installed once into the maker's common
// folder and counted in the system's list of shared files.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall QuotalineSharedVersion() { return 2; }
