// Our widgets are superclasses of the system's controls: they keep the
// control's behaviour and add their own look.
#pragma once

#include <windows.h>

// Registers className as a copy of the system class baseClass with procedure
// as its window procedure; baseProcedure receives the system class's own
// procedure, to which procedure hands every message it does not handle.
// Registering twice is harmless.
void RegisterSuperclass(const char* baseClass, const char* className, WNDPROC procedure, WNDPROC& baseProcedure);

// Whether window belongs to the window class className.
bool IsOfClass(HWND window, const char* className);
