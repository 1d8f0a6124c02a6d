#include "ui/widgets/styled_button.h"

#include "ui/widgets/superclass.h"
#include "ui/widgets/widget_colors.h"

const char kStyledButtonClass[] = "TStyledButton";

namespace {

const char kData[] = "ZQButton";
const COLORREF kBorder = RGB(0, 60, 116);
const COLORREF kDisabledBorder = RGB(201, 199, 186);
const COLORREF kDisabledText = RGB(161, 161, 146);
WNDPROC g_baseProcedure = nullptr;

struct ButtonData {
  ButtonLook Look;
  bool Hot = false;
  bool Default = false;
};

ButtonData* Data(HWND button) {
  return IsStyledButton(button) ? static_cast<ButtonData*>(GetPropA(button, kData)) : nullptr;
}

COLORREF Darker(COLORREF color) {
  return RGB(GetRValue(color) * 7 / 8, GetGValue(color) * 7 / 8, GetBValue(color) * 7 / 8);
}

void TrackLeave(HWND button) {
  TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
  TrackMouseEvent(&track);
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonData* data = WidgetData<ButtonData>(button, message, kData);
  switch (message) {
    case WM_MOUSEMOVE:
      if (data && !data->Hot) {
        data->Hot = true;
        TrackLeave(button);
        InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      if (data) data->Hot = false;
      InvalidateRect(button, nullptr, FALSE);
      break;
    case WM_GETDLGCODE:
      return DLGC_BUTTON | (data && data->Default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
      // The dialog manager moves the default mark this way; the button stays owner-drawn.
      if (data) data->Default = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      wParam = (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW;
      InvalidateRect(button, nullptr, FALSE);
      break;
    case WM_ENABLE:
      InvalidateRect(button, nullptr, FALSE);
      break;
  }
  return CallWindowProcW(g_baseProcedure, button, message, wParam, lParam);
}

void DrawXPFace(HDC dc, RECT face, const ButtonData& data, UINT state) {
  const bool enabled = !(state & ODS_DISABLED);
  const COLORREF fill = state & ODS_SELECTED ? Darker(data.Look.Color) : data.Look.Color;
  HPEN pen = CreatePen(PS_SOLID, 1, enabled ? kBorder : kDisabledBorder);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, SolidBrush(fill));
  RoundRect(dc, face.left, face.top, face.right, face.bottom, 5, 5);
  // The frame inside the border: hot while the mouse is over the button,
  // highlighted for the default button and the one with the focus.
  COLORREF frame = CLR_INVALID;
  if (enabled && data.Hot)
    frame = data.Look.HotTrackColor;
  else if (enabled && (data.Default || (state & ODS_FOCUS)))
    frame = data.Look.HighlightColor;
  if (frame != CLR_INVALID) {
    HPEN framePen = CreatePen(PS_SOLID, 2, frame);
    SelectObject(dc, framePen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, face.left + 2, face.top + 2, face.right - 1, face.bottom - 1, 3, 3);
    SelectObject(dc, pen);
    DeleteObject(framePen);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void DrawCaption(HDC dc, HWND button, RECT face, const ButtonData& data, UINT state) {
  char caption[128] = {};
  GetWindowTextA(button, caption, sizeof caption);
  HFONT font = data.Look.Font ? data.Look.Font : reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state & ODS_DISABLED ? kDisabledText : data.Look.FontColor);
  if (state & ODS_SELECTED) OffsetRect(&face, 1, 1);
  DrawTextA(dc, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | (state & ODS_NOACCEL ? DT_HIDEPREFIX : 0));
  if (oldFont) SelectObject(dc, oldFont);
}

}  // namespace

HWND CreateStyledButton(HWND parent, const char* caption, int id, int left, int top, int width, int height) {
  RegisterSuperclass("BUTTON", kStyledButtonClass, ButtonProc, g_baseProcedure);
  return CreateWindowExA(0, kStyledButtonClass, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, left, top,
                         width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

bool IsStyledButton(HWND window) { return IsOfClass(window, kStyledButtonClass); }

ButtonLook GetButtonLook(HWND button) {
  const ButtonData* data = Data(button);
  return data ? data->Look : ButtonLook();
}

void SetButtonLook(HWND button, const ButtonLook& look) {
  if (ButtonData* data = Data(button)) {
    data->Look = look;
    if (look.Font) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(look.Font), FALSE);
    InvalidateRect(button, nullptr, FALSE);
  }
}

void SetDefaultButton(HWND button, bool isDefault) {
  SendMessageA(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool IsDefaultButton(HWND button) {
  const ButtonData* data = Data(button);
  return data && data->Default;
}

bool DrawStyledButton(const DRAWITEMSTRUCT& item) {
  const ButtonData* data = item.CtlType == ODT_BUTTON ? Data(item.hwndItem) : nullptr;
  if (!data) return false;
  RECT face = item.rcItem;
  FillRect(item.hDC, &face, SolidBrush(WindowColor(GetParent(item.hwndItem))));
  if (data->Look.Style == scbsXP) {
    DrawXPFace(item.hDC, face, *data, item.itemState);
  } else {
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (item.itemState & ODS_SELECTED ? DFCS_PUSHED : 0));
  }
  DrawCaption(item.hDC, item.hwndItem, face, *data, item.itemState);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    InflateRect(&face, -4, -4);
    DrawFocusRect(item.hDC, &face);
  }
  return true;
}
