// The colours of our windows and labels, and the messages through which a
// parent window paints its styled children: every window that holds styled
// controls passes its messages through HandleWidgetMessage first.
#pragma once

#include <windows.h>

// A solid brush of the colour; brushes are kept for the life of the process.
HBRUSH SolidBrush(COLORREF color);

// The background colour of a window (the system's button face unless set).
void SetWindowColor(HWND window, COLORREF color);
COLORREF WindowColor(HWND window);

// The text colour of a label (black unless set).
void SetLabelTextColor(HWND label, COLORREF color);
COLORREF LabelTextColor(HWND label);

// Paints the parent's background and answers its children's colour and
// drawing requests; false for messages it leaves to the caller.
bool HandleWidgetMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
