#include "ui/widgets/styled_edit.h"

#include "ui/widgets/superclass.h"
#include "ui/widgets/widget_colors.h"

const char kStyledEditClass[] = "TStyledEdit";

namespace {

const char kData[] = "ZQEdit";
WNDPROC g_baseProcedure = nullptr;

EditLook* Data(HWND edit) { return IsStyledEdit(edit) ? static_cast<EditLook*>(GetPropA(edit, kData)) : nullptr; }

// Draws the one-pixel frame over the non-client border; false for the system's frame.
bool PaintFrame(HWND edit, const EditLook& look) {
  if (look.Border == sccbSystem) return false;
  HDC dc = GetWindowDC(edit);
  RECT frame;
  GetWindowRect(edit, &frame);
  OffsetRect(&frame, -frame.left, -frame.top);
  FrameRect(dc, &frame, SolidBrush(look.Border == sccbFlat ? look.FlatBorderColor : look.XPFrameColor));
  ReleaseDC(edit, dc);
  return true;
}

void Repaint(HWND edit) { RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); }

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  EditLook* look = WidgetData<EditLook>(edit, message, kData);
  switch (message) {
    case WM_NCPAINT:
      if (look && PaintFrame(edit, *look)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      // The colours depend on the focus and on the enabled state.
      const LRESULT result = CallWindowProcW(g_baseProcedure, edit, message, wParam, lParam);
      Repaint(edit);
      return result;
    }
  }
  return CallWindowProcW(g_baseProcedure, edit, message, wParam, lParam);
}

}  // namespace

HWND CreateStyledEdit(HWND parent, int id, int left, int top, int width, int height) {
  RegisterSuperclass("EDIT", kStyledEditClass, EditProc, g_baseProcedure);
  return CreateWindowExA(0, kStyledEditClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, left,
                         top, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

bool IsStyledEdit(HWND window) { return IsOfClass(window, kStyledEditClass); }

EditLook GetEditLook(HWND edit) {
  const EditLook* look = Data(edit);
  return look ? *look : EditLook();
}

void SetEditLook(HWND edit, const EditLook& look) {
  if (EditLook* data = Data(edit)) {
    *data = look;
    if (look.Font) SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(look.Font), FALSE);
    Repaint(edit);
  }
}

bool StyledEditColors(HWND edit, HDC dc, HBRUSH& brush) {
  const EditLook* look = Data(edit);
  if (!look) return false;
  COLORREF back = look->Color, text = look->FontColor;
  if (!IsWindowEnabled(edit)) {
    back = look->DisabledColor;
    text = look->DisabledTextColor;
  } else if (GetFocus() == edit) {
    back = look->FocusColor;
    text = look->FocusTextColor;
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  brush = SolidBrush(back);
  return true;
}
