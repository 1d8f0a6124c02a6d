#include "ui/widgets/superclass.h"

void RegisterSuperclass(const char* baseClass, const char* className, WNDPROC procedure, WNDPROC& baseProcedure) {
  WNDCLASSA windowClass = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &windowClass)) return;
  GetClassInfoA(nullptr, baseClass, &windowClass);
  baseProcedure = windowClass.lpfnWndProc;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className;
  windowClass.style &= ~CS_GLOBALCLASS;
  RegisterClassA(&windowClass);
}

bool IsOfClass(HWND window, const char* className) {
  char name[64] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, className) == 0;
}
