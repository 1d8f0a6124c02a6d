// A single-line edit box with colours of its own while it has the focus and
// while it is disabled, and a one-pixel frame in a colour of its own.
#pragma once

#include <windows.h>

// Frame kinds of the widget set: the system's frame, a flat frame in the
// flat border colour, or a frame in the XP frame colour.
enum EditBorder { sccbSystem = 0, sccbFlat = 1, sccbXP = 2 };

struct EditLook {
  HFONT Font = nullptr;  // the system's font when none
  COLORREF FontColor = RGB(0, 0, 0);
  COLORREF Color = GetSysColor(COLOR_WINDOW);
  COLORREF DisabledColor = GetSysColor(COLOR_BTNFACE);
  COLORREF DisabledTextColor = GetSysColor(COLOR_GRAYTEXT);
  COLORREF FocusColor = GetSysColor(COLOR_WINDOW);
  COLORREF FocusTextColor = RGB(0, 0, 0);
  COLORREF XPFrameColor = GetSysColor(COLOR_BTNSHADOW);
  int Border = sccbSystem;
  COLORREF FlatBorderColor = GetSysColor(COLOR_BTNSHADOW);
};

extern const char kStyledEditClass[];

// A visible edit box that scrolls sideways, a tab stop, with the control id.
HWND CreateStyledEdit(HWND parent, int id, int left, int top, int width, int height);
bool IsStyledEdit(HWND window);
EditLook GetEditLook(HWND edit);
void SetEditLook(HWND edit, const EditLook& look);

// Sets the text and background colour of a styled edit box for its parent's
// WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC; false for any other window.
bool StyledEditColors(HWND edit, HDC dc, HBRUSH& brush);
