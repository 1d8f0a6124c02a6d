// Quotaline Viewer, the demo product's program: a small window that shows
// its version and the data folder of its app.ini. Started with /pruefen
// (as the installer's [RunProg] starts it) it only checks that its shared
// library loads and ends.
#include <windows.h>

#include <string>

namespace {

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1);
}

std::string DataPath() {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA("options", "DataPath", "(nicht gesetzt)", value, MAX_PATH,
                           (OwnFolder() + "app.ini").c_str());
  return value;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const std::string text = "Quotaline Viewer 2.0\r\nDaten: " + DataPath();
    RECT client;
    GetClientRect(window, &client);
    InflateRect(&client, -12, -12);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text.c_str(), -1, &client, DT_LEFT | DT_WORDBREAK);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  if (std::string(commandLine).find("/pruefen") != std::string::npos) {
    char common[MAX_PATH] = {};
    GetEnvironmentVariableA("CommonProgramFiles", common, MAX_PATH);
    return LoadLibraryA((std::string(common) + "\\Zelo\\qlshared.dll").c_str()) ? 0 : 1;
  }
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "TQuotalineMain";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "TQuotalineMain", "Quotaline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                360, 160, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
