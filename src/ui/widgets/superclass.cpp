#include "ui/widgets/superclass.h"

#include "sys/wide_text.h"

void RegisterSuperclass(const char* baseClass, const char* className, WNDPROC procedure, WNDPROC& baseProcedure) {
  const std::wstring base = AnsiToWide(baseClass), name = AnsiToWide(className);
  WNDCLASSW windowClass = {};
  if (GetClassInfoW(GetModuleHandleW(nullptr), name.c_str(), &windowClass)) return;
  GetClassInfoW(nullptr, base.c_str(), &windowClass);
  baseProcedure = windowClass.lpfnWndProc;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name.c_str();
  windowClass.style &= ~CS_GLOBALCLASS;
  RegisterClassW(&windowClass);
}

bool IsOfClass(HWND window, const char* className) {
  char name[64] = {};
  return window && GetClassNameA(window, name, sizeof name) && lstrcmpiA(name, className) == 0;
}
