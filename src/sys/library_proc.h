// Typed entry points of a loaded library.
#pragma once

#include <windows.h>

// The entry point name of module as a function of type Proc, or null.
template <typename Proc>
Proc LibraryProc(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
