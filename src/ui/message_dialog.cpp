#include "ui/message_dialog.h"

#include <windows.h>

#include <cstddef>

#include "sys/path_text.h"
#include "ui/install_style.h"
#include "ui/widgets/styled_button.h"
#include "ui/widgets/widget_colors.h"

namespace {

const char kClassName[] = "TMyMessageForm";
constexpr int kHelpId = 100;  // the Help button closes nothing

struct ButtonInfo {
  const char* Name;
  const char* Caption;
  int Result;
};

const ButtonInfo kButtons[kMessageButtonCount] = {
    {"Yes", "&Ja", mrYes},
    {"No", "&Nein", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Abbrechen", mrCancel},
    {"Abort", "&Abbrechen", mrAbort},
    {"Retry", "&Wiederholen", mrRetry},
    {"Ignore", "&Ignorieren", mrIgnore},
    {"All", "&Alles", mrAll},
    {"NoToAll", "&Alle Nein", mrNoToAll},
    {"YesToAll", "A&lle Ja", mrYesToAll},
    {"Help", "&Hilfe", mrNone},
};

struct KindInfo {
  const char* Caption;
  int Icon;  // system icon, or 0
};

const KindInfo kKinds[] = {
    {"Warnung", 32515}, {"Fehler", 32513}, {"Information", 32516}, {"Bestätigen", 32514}, {nullptr, 0},
};

// The state of the one dialog that shows.
struct DialogState {
  int Result = -1;
  int DefaultId = 0;
  int CancelResult = mrCancel;
};

int ControlId(MessageButton button) { return button == mbHelp ? kHelpId : kButtons[button].Result; }

// Enter presses the button that has the focus, else the default button.
LRESULT DefaultId(HWND window, const DialogState* state) {
  HWND focus = GetFocus();
  if (IsStyledButton(focus) && GetParent(focus) == window) return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  return state && state->DefaultId ? MAKELRESULT(state->DefaultId, DC_HASDEFID) : 0;
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT handled = 0;
  if (HandleWidgetMessage(window, message, wParam, lParam, handled)) return handled;
  switch (message) {
    case WM_COMMAND:
      if (!state || HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) == kHelpId) break;
      // Escape arrives as IDCANCEL even where no Cancel button stands.
      state->Result =
          LOWORD(wParam) == IDCANCEL && !GetDlgItem(window, IDCANCEL) ? state->CancelResult : LOWORD(wParam);
      return 0;
    case DM_GETDEFID:
      return DefaultId(window, state);
    case WM_CLOSE:
      if (state) state->Result = mrCancel;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HFONT MessageFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    // Systems before Vista know the structure without its last member only.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof metrics.lfMessageFont;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  }
  lstrcpynA(metrics.lfMessageFont.lfFaceName, "Tahoma", LF_FACESIZE);
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

// The average character of the font and the size of the message drawn with
// word breaks into half the screen width.
void Measure(HFONT font, const std::string& message, SIZE& average, SIZE& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32A(dc, letters, 52, &average);
  average.cx /= 52;
  RECT bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(dc, message.c_str(), -1, &bounds, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  text = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

std::string ApplicationTitle() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string name = FileNamePart(path);
  return name.substr(0, name.size() - FileExtension(name).size());
}

HWND Child(HWND parent, const char* windowClass, const char* text, DWORD style, const LayoutRect& place, int id,
           HFONT font) {
  HWND child = CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, place.Left, place.Top, place.Width,
                               place.Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void RegisterDialogClass() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DialogProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // fails harmlessly when registered already
}

// Runs the dialog's own message loop until a button or the close box ends it.
int RunModal(HWND window, DialogState& state) {
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (state.Result < 0 && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
  if (owner) EnableWindow(owner, TRUE);
  return state.Result < 0 ? mrCancel : state.Result;
}

// The dialog's frame, centred on the screen unless top and left place it.
HWND CreateDialogWindow(const std::string& caption, const MessageLayout& layout, bool stayOnTop, int top, int left) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | (stayOnTop ? WS_EX_TOPMOST : 0);
  RECT outer = {0, 0, layout.ClientWidth, layout.ClientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  const int x = left >= 0 ? left : GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int y = top >= 0 ? top : GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  return CreateWindowExA(exStyle, kClassName, caption.c_str(), style, x, y, width, height, GetActiveWindow(), nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The buttons of the layout in the installer's look and the dialog's own
// font; returns the default one, which takes the focus.
HWND AddButtons(HWND window, const MessageLayout& layout, HFONT font, DialogState& state) {
  if (layout.CancelButton >= 0) state.CancelResult = kButtons[layout.CancelButton].Result;
  HWND focus = nullptr;
  for (const MessageLayout::Button& button : layout.Buttons) {
    const bool isDefault = button.Id == layout.DefaultButton;
    const LayoutRect& place = button.Place;
    HWND control = CreateStyledButton(window, kButtons[button.Id].Caption, ControlId(button.Id), place.Left, place.Top,
                                      place.Width, place.Height);
    StyleButton(control);
    ButtonLook look = GetButtonLook(control);
    look.Font = font;
    SetButtonLook(control, look);
    SetDefaultButton(control, isDefault);
    if (isDefault) {
      state.DefaultId = ControlId(button.Id);
      focus = control;
    }
  }
  return focus;
}

// The icon of the kind, the message and the buttons; returns the control that takes the focus.
HWND AddControls(HWND window, const std::string& message, const KindInfo& info, const MessageLayout& layout, HFONT font,
                 DialogState& state) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowColor(window, kInstallBackground);
  if (info.Icon) {
    HWND icon = Child(window, "STATIC", "", SS_ICON, layout.Icon, -1, font);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, MAKEINTRESOURCEA(info.Icon))), 0);
  }
  Child(window, "STATIC", message.c_str(), SS_LEFT | SS_NOPREFIX, layout.Text, -1, font);
  return AddButtons(window, layout, font, state);
}

}  // namespace

int MyMessageDlgPosHelp(const std::string& message, MessageKind kind, uint16_t buttons, bool stayOnTop,
                        const std::string& /*helpFile*/, int top, int left, int /*helpContext*/) {
  DialogState state;
  RegisterDialogClass();
  HFONT font = MessageFont();
  SIZE average, text;
  Measure(font, message, average, text);
  const KindInfo& info = kKinds[kind];
  const MessageLayout layout = LayOutMessage(average.cx, average.cy, text.cx, text.cy, info.Icon != 0, buttons);
  HWND window = CreateDialogWindow(info.Caption ? info.Caption : ApplicationTitle(), layout, stayOnTop, top, left);
  int result = mrCancel;
  if (window) {
    HWND focus = AddControls(window, message, info, layout, font, state);
    if (focus) SetFocus(focus);
    result = RunModal(window, state);
    DestroyWindow(window);
  }
  DeleteObject(font);
  return result;
}

int MyMessageDlg(const std::string& message, MessageKind kind, uint16_t buttons, bool stayOnTop, int helpContext) {
  return MyMessageDlgPosHelp(message, kind, buttons, stayOnTop, "", -1, -1, helpContext);
}

bool DialogQuestions::Confirm(const std::string& text) {
  return MyMessageDlg(text, mkWarning, ButtonBit(mbOK) | ButtonBit(mbCancel), false, 0) == mrOk;
}
