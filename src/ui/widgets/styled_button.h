// A push button that draws itself: in the XP style a rounded face with a
// hot-track frame while the mouse is over it and a highlight frame when it
// is the default or has the focus; otherwise the system's classic button.
#pragma once

#include <windows.h>

// Button styles of the widget set; only the XP style draws its own face.
enum ButtonStyle { scbsClassic = 0, scbsXP = 9 };

struct ButtonLook {
  HFONT Font = nullptr;  // the system's font when none
  COLORREF FontColor = RGB(0, 0, 0);
  int Style = scbsClassic;
  COLORREF Color = GetSysColor(COLOR_BTNFACE);
  COLORREF HighlightColor = GetSysColor(COLOR_HIGHLIGHT);
  COLORREF HotTrackColor = GetSysColor(COLOR_HOTLIGHT);
};

extern const char kStyledButtonClass[];

// A visible push button, a tab stop, with the caption ("&" marks its
// accelerator) and the control id.
HWND CreateStyledButton(HWND parent, const char* caption, int id, int left, int top, int width, int height);
bool IsStyledButton(HWND window);
ButtonLook GetButtonLook(HWND button);
void SetButtonLook(HWND button, const ButtonLook& look);
// Whether the button is drawn and answers as the default button.
void SetDefaultButton(HWND button, bool isDefault);
bool IsDefaultButton(HWND button);

// Draws a styled button for its parent's WM_DRAWITEM; false for any other item.
bool DrawStyledButton(const DRAWITEMSTRUCT& item);
