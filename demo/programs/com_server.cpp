// The demo product's COM server: registers its class (per user) with its
// own path as the in-process server, and removes it again.
#include <windows.h>

#include <string>

namespace {

HMODULE self = nullptr;
const char kClassKey[] = "Software\\Classes\\CLSID\\{6B1C2A7E-4F0D-4C3B-9E51-2D7A0C8F1E35}";

HRESULT Register() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  HKEY key = nullptr;
  const std::string server = std::string(kClassKey) + "\\InprocServer32";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, server.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return E_FAIL;
  const LONG status = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), lstrlenA(path) + 1);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() { return Register(); }

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  const std::string server = std::string(kClassKey) + "\\InprocServer32";
  RegDeleteKeyA(HKEY_CURRENT_USER, server.c_str());
  return RegDeleteKeyA(HKEY_CURRENT_USER, kClassKey) == ERROR_SUCCESS ? S_OK : S_FALSE;
}
