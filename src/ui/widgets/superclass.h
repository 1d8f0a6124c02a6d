// Our widgets are superclasses of the system's controls: they keep the
// control's behaviour and add their own look.
#pragma once

#include <windows.h>

// Registers className as a copy of the system class baseClass with procedure
// as its window procedure; baseProcedure receives the system class's own
// procedure, to which procedure hands every message it does not handle with
// CallWindowProcW. The class is a Unicode one, so that an edit box keeps
// letters the code page lacks. Registering twice is harmless.
void RegisterSuperclass(const char* baseClass, const char* className, WNDPROC procedure, WNDPROC& baseProcedure);

// Whether window belongs to the window class className.
bool IsOfClass(HWND window, const char* className);

// The widget's own data, kept under the property name from the window's
// creation (WM_NCCREATE) to its destruction (WM_NCDESTROY, when it is freed
// and null is returned); call it first for every message.
template <typename Data>
Data* WidgetData(HWND window, UINT message, const char* name) {
  auto* data = static_cast<Data*>(GetPropA(window, name));
  if (message == WM_NCCREATE) SetPropA(window, name, data = new Data);
  if (message == WM_NCDESTROY) {
    RemovePropA(window, name);
    delete data;
    data = nullptr;
  }
  return data;
}
