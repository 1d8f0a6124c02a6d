// The installer's look, applied in one pass: the window's background colour
// and one set of fonts and colours for its labels, buttons, edit boxes and
// status bars.
#pragma once

#include <windows.h>

const COLORREF kInstallBackground = RGB(236, 233, 216);

// A font of the face at the size in points on this screen; the caller deletes it.
HFONT CreatePointFont(const char* face, int points);
// The Tahoma 8 point font of every restyled control; kept for the life of the process.
HFONT InstallStyleFont();

// Restyles a top-level window and each control on it; anything else is left alone.
void ApplyInstallStyle(HWND form);

// Restyle one control each; a null window or a control of another class is left alone.
void StyleLabel(HWND label);  // a label whose tag (user data) is not 0 keeps its own font
void StyleButton(HWND button);
void StyleEdit(HWND edit);
void StyleStatusBar(HWND statusBar);
