// The installer's look applied to a window: the exact colours and fonts on
// the controls it restyles, and nothing on the others.
#include "ui/install_style.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_edit.h"
#include "ui/widgets/widget_colors.h"

namespace {

HWND Child(HWND parent, const char* windowClass, DWORD style) {
  return CreateWindowExA(0, windowClass, "Text", WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 20, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

std::string FaceOf(HWND window) {
  LOGFONTA font = {};
  auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!handle || !GetObjectA(handle, sizeof font, &font)) return "<system>";
  return font.lfFaceName;
}

TEST(InstallStyle, RestylesLabelsButtonsEditsAndStatusBarsOnly) {
  InitCommonControls();  // the status bar's class
  HWND form = CreateWindowExA(0, "STATIC", "Form", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  HWND label = Child(form, "STATIC", SS_LEFT);
  HWND ownLabel = Child(form, "STATIC", SS_LEFT);
  HFONT courier = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
  SendMessageA(ownLabel, WM_SETFONT, reinterpret_cast<WPARAM>(courier), FALSE);
  SetWindowLongPtrA(ownLabel, GWLP_USERDATA, 7);  // a tag: keeps its own font
  HWND icon = Child(form, "STATIC", SS_ICON);
  HWND plainButton = Child(form, "BUTTON", BS_PUSHBUTTON);
  HWND button = CreateStyledButton(form, "&Weiter", 10, 0, 0, 80, 23);
  HWND edit = CreateStyledEdit(form, 11, 0, 30, 200, 21);
  HWND status = Child(form, STATUSCLASSNAMEA, 0);

  ApplyInstallStyle(label);  // not a form: nothing happens
  EXPECT_EQ(FaceOf(label), "<system>");
  ApplyInstallStyle(form);

  EXPECT_EQ(WindowColor(form), RGB(236, 233, 216));
  EXPECT_EQ(FaceOf(label), "Tahoma");
  EXPECT_EQ(LabelTextColor(label), RGB(0, 0, 0));
  EXPECT_EQ(FaceOf(ownLabel), "Courier New");
  EXPECT_EQ(FaceOf(icon), "<system>");
  EXPECT_EQ(FaceOf(plainButton), "<system>");
  EXPECT_EQ(FaceOf(status), "Tahoma");

  LOGFONTA font = {};
  GetObjectA(InstallStyleFont(), sizeof font, &font);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));  // 8 points
  ReleaseDC(nullptr, screen);

  const ButtonLook look = GetButtonLook(button);
  EXPECT_EQ(FaceOf(button), "Tahoma");
  EXPECT_EQ(look.Style, 9);  // the XP style
  EXPECT_EQ(look.FontColor, RGB(0, 0, 0));
  EXPECT_EQ(look.Color, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(look.HighlightColor, RGB(112, 160, 252));
  EXPECT_EQ(look.HotTrackColor, RGB(255, 172, 0));

  const EditLook editLook = GetEditLook(edit);
  EXPECT_EQ(FaceOf(edit), "Tahoma");
  EXPECT_EQ(editLook.DisabledColor, RGB(236, 233, 216));
  EXPECT_EQ(editLook.DisabledTextColor, RGB(0, 0, 0));
  EXPECT_EQ(editLook.FocusColor, RGB(243, 247, 254));
  EXPECT_EQ(editLook.FocusTextColor, RGB(0, 0, 0));
  EXPECT_EQ(editLook.XPFrameColor, RGB(212, 208, 200));
  EXPECT_EQ(editLook.Border, 1);  // flat
  EXPECT_EQ(editLook.FlatBorderColor, RGB(212, 208, 200));

  // The edit box answers its parent's colour request by its state.
  HDC dc = GetDC(edit);
  HBRUSH brush = nullptr;
  EnableWindow(edit, FALSE);
  ASSERT_TRUE(StyledEditColors(edit, dc, brush));
  EXPECT_EQ(GetBkColor(dc), RGB(236, 233, 216));
  EnableWindow(edit, TRUE);
  ShowWindow(form, SW_SHOW);
  SetFocus(edit);
  StyledEditColors(edit, dc, brush);
  EXPECT_EQ(GetBkColor(dc), RGB(243, 247, 254));
  ReleaseDC(edit, dc);
  EXPECT_FALSE(StyledEditColors(plainButton, dc, brush));

  DestroyWindow(form);
  DeleteObject(courier);
}

}  // namespace
