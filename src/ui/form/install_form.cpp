// The installer window's frame: creating it and its controls, its window
// procedure and message loop, and its end.
#include "ui/form/install_form.h"

#include <commctrl.h>

#include "ui/install_style.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_edit.h"
#include "ui/widgets/widget_colors.h"

const char kInstallFormClass[] = "TFormInstall";

namespace {

constexpr int kClientWidth = 332, kClientHeight = 195;
const DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | WS_CLIPCHILDREN;
const DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

void RegisterFormClass(WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kInstallFormClass;
  RegisterClassA(&windowClass);
}

// The bevel's top line, as an etched edge, on the window's background.
void DrawBevel(const DRAWITEMSTRUCT& item, HWND form) {
  RECT line = item.rcItem;
  FillRect(item.hDC, &line, SolidBrush(WindowColor(form)));
  DrawEdge(item.hDC, &line, EDGE_ETCHED, BF_TOP);
}

}  // namespace

TFormInstall::TFormInstall(const RunOptions& options) : options_(options) { FormCreate(); }

TFormInstall::~TFormInstall() {
  if (IsWindow(window_)) DestroyWindow(window_);
  if (formFont_) DeleteObject(formFont_);
}

void TFormInstall::FormCreate() {
  RegisterFormClass(WindowProc);
  formFont_ = CreatePointFont("MS Sans Serif", 8);
  RECT outer = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  if (options_.Invisible) {
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kInstallFormClass, "Installation...", WS_POPUP, 3000, 0, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), this);
  } else {
    window_ = CreateWindowExA(kFormExStyle, kInstallFormClass, "Installation...", kFormStyle,
                              (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                              width, height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  }
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), FALSE);
  CreateControls();
  if (!options_.Invisible) ApplyInstallStyle(window_);

  session_ = std::make_unique<RunSession>(options_, [this] { OnReport(); });
  session_->Engine().OwnerWindow = window_;
  session_->Engine().Asker = &questions_;
  PostMessageA(window_, WM_INSTALLINIT, 0, 0);
}

void TFormInstall::CreateControls() {
  const auto child = [this](const char* windowClass, const char* text, DWORD style, int id, int left, int top,
                            int width, int height) {
    HWND control =
        CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), FALSE);
    return control;
  };
  child("STATIC", "Installationsverzeichnis:", SS_LEFT, idLabel1, 19, 12, 200, 13);
  editInstallPath_ = CreateStyledEdit(window_, idEditInstallPath, 19, 36, 275, 21);
  buttonDir_ = CreateStyledButton(window_, "...", idButtonDir, 298, 37, 23, 20);
  labelMsg_ = child("STATIC", "Bitte warten Installationsinformationen werden ermittelt...", SS_LEFT | SS_NOPREFIX,
                    idLabelMsg, 19, 69, 297, 33);
  progressBar_ = child(PROGRESS_CLASSA, "", PBS_SMOOTH, idProgressBar, 19, 115, 275, 23);
  child("STATIC", "", SS_OWNERDRAW, idBevel1, 0, 151, 337, 9);
  buttonInstall_ = CreateStyledButton(window_, "&Installieren", idButtonInstall, 221, 163, 100, 23);
  for (HWND control : {editInstallPath_, buttonDir_, buttonInstall_})
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_), FALSE);
  SendMessageA(progressBar_, PBM_SETRANGE32, 0, ReportCollector::kProgressMax);
  SendMessageA(progressBar_, PBM_SETSTEP, 1, 0);
  EnableWindow(editInstallPath_, FALSE);
  EnableWindow(buttonDir_, FALSE);
  EnableWindow(buttonInstall_, FALSE);
}

RunOutcome TFormInstall::Run() {
  MSG message;
  // Read whole, so that the folder box gets letters the code page lacks.
  while (IsWindow(window_) && GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return outcome_;
}

void TFormInstall::Dispatch(MSG& message) {
  if (PreviewKey(message)) return;
  if (IsWindow(window_) && IsDialogMessageW(window_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void TFormInstall::PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

LRESULT CALLBACK TFormInstall::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<TFormInstall*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* form = reinterpret_cast<TFormInstall*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return form ? form->Handle(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TFormInstall::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleWidgetMessage(window_, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INSTALLINIT:
      InstallInit();
      return 0;
    case WM_INSTALLSTART:
      ButtonInstallClick();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == idButtonInstall) ButtonInstallClick();
      if (LOWORD(wParam) == idButtonDir) ButtonDirClick();
      return 0;
    case WM_DRAWITEM:
      if (wParam == idBevel1) DrawBevel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), window_);
      return TRUE;
    case WM_CLOSE:
      if (FormCloseQuery()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      FormDestroy();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void TFormInstall::FormDestroy() {
  outcome_ = session_->Outcome();
  session_.reset();  // deletes the run's temporary files
}
