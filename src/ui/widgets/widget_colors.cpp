#include "ui/widgets/widget_colors.h"

#include <map>

#include "ui/widgets/styled_button.h"
#include "ui/widgets/styled_edit.h"

namespace {

const char kWindowColor[] = "ZQWindowColor";
const char kTextColor[] = "ZQTextColor";
// Marks a stored colour, so that black is told apart from no colour at all.
constexpr UINT_PTR kStored = 0x80000000u;

void StoreColor(HWND window, const char* name, COLORREF color) {
  SetPropA(window, name, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(color) | kStored));
}

COLORREF StoredColor(HWND window, const char* name, COLORREF fallback) {
  const auto value = reinterpret_cast<UINT_PTR>(GetPropA(window, name));
  return value & kStored ? static_cast<COLORREF>(value & ~kStored) : fallback;
}

LRESULT LabelColors(HWND parent, HDC dc, HWND label) {
  SetTextColor(dc, LabelTextColor(label));
  SetBkColor(dc, WindowColor(parent));
  return reinterpret_cast<LRESULT>(SolidBrush(WindowColor(parent)));
}

}  // namespace

HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[color];
  if (!brush) brush = CreateSolidBrush(color);
  return brush;
}

void SetWindowColor(HWND window, COLORREF color) {
  StoreColor(window, kWindowColor, color);
  InvalidateRect(window, nullptr, TRUE);
}

COLORREF WindowColor(HWND window) { return StoredColor(window, kWindowColor, GetSysColor(COLOR_BTNFACE)); }

void SetLabelTextColor(HWND label, COLORREF color) {
  StoreColor(label, kTextColor, color);
  InvalidateRect(label, nullptr, TRUE);
}

COLORREF LabelTextColor(HWND label) { return StoredColor(label, kTextColor, RGB(0, 0, 0)); }

bool HandleWidgetMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const auto dc = reinterpret_cast<HDC>(wParam);
  const auto child = reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(parent, &client);
      FillRect(dc, &client, SolidBrush(WindowColor(parent)));
      result = 1;
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HBRUSH brush = nullptr;
      if (StyledEditColors(child, dc, brush))
        result = reinterpret_cast<LRESULT>(brush);
      else if (message == WM_CTLCOLORSTATIC)
        result = LabelColors(parent, dc, child);
      else
        return false;
      return true;
    }
    case WM_DRAWITEM:
      result = TRUE;
      return DrawStyledButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  }
  return false;
}
