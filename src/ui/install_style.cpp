#include "ui/install_style.h"

#include <commctrl.h>

#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_edit.h"
#include "ui/widgets/superclass.h"
#include "ui/widgets/widget_colors.h"

namespace {

const COLORREF kFontColor = RGB(0, 0, 0);
const COLORREF kButtonHighlight = RGB(112, 160, 252);
const COLORREF kButtonHotTrack = RGB(255, 172, 0);
const COLORREF kEditDisabled = RGB(236, 233, 216);
const COLORREF kEditFocus = RGB(243, 247, 254);
const COLORREF kEditFrame = RGB(212, 208, 200);

// Static controls that show text; icons, bitmaps, frames and owner-drawn ones are no labels.
bool IsLabel(HWND window) {
  if (!IsOfClass(window, "Static")) return false;
  const LONG type = GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

void SetFont(HWND window) { SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(InstallStyleFont()), TRUE); }

BOOL CALLBACK StyleChild(HWND child, LPARAM) {
  StyleLabel(child);
  StyleButton(child);
  StyleEdit(child);
  StyleStatusBar(child);
  return TRUE;
}

}  // namespace

HFONT CreatePointFont(const char* face, int points) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HFONT InstallStyleFont() {
  static const HFONT font = CreatePointFont("Tahoma", 8);
  return font;
}

void ApplyInstallStyle(HWND form) {
  if (!IsWindow(form) || (GetWindowLongA(form, GWL_STYLE) & WS_CHILD)) return;
  SetWindowColor(form, kInstallBackground);
  EnumChildWindows(form, StyleChild, 0);
}

void StyleLabel(HWND label) {
  if (!IsLabel(label) || GetWindowLongPtrA(label, GWLP_USERDATA) != 0) return;
  SetFont(label);
  SetLabelTextColor(label, kFontColor);
}

void StyleButton(HWND button) {
  if (!IsStyledButton(button)) return;
  ButtonLook look;
  look.Font = InstallStyleFont();
  look.FontColor = kFontColor;
  look.Style = scbsXP;
  look.Color = GetSysColor(COLOR_BTNFACE);
  look.HighlightColor = kButtonHighlight;
  look.HotTrackColor = kButtonHotTrack;
  SetButtonLook(button, look);
}

void StyleEdit(HWND edit) {
  if (!IsStyledEdit(edit)) return;
  EditLook look = GetEditLook(edit);
  look.Font = InstallStyleFont();
  look.FontColor = kFontColor;
  look.DisabledColor = kEditDisabled;
  look.DisabledTextColor = kFontColor;
  look.FocusColor = kEditFocus;
  look.FocusTextColor = kFontColor;
  look.XPFrameColor = kEditFrame;
  look.Border = sccbFlat;
  look.FlatBorderColor = kEditFrame;
  SetEditLook(edit, look);
}

void StyleStatusBar(HWND statusBar) {
  if (!IsOfClass(statusBar, STATUSCLASSNAMEA)) return;
  SetFont(statusBar);
  SendMessageA(statusBar, SB_SETBKCOLOR, 0, static_cast<LPARAM>(WindowColor(GetParent(statusBar))));
}
