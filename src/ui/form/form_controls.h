// The control ids of the installer window, by which tests and the window
// itself find its controls.
#pragma once

extern const char kInstallFormClass[];  // "TFormInstall"

enum InstallFormControl {
  idLabel1 = 101,
  idEditInstallPath = 102,
  idButtonDir = 103,
  idLabelMsg = 104,
  idProgressBar = 105,
  idBevel1 = 106,
  idButtonInstall = 107,
};

// The window's private messages: start the initialisation; act as a click
// on the install button.
constexpr unsigned WM_INSTALLINIT = 0x0400 + 100;
constexpr unsigned WM_INSTALLSTART = 0x0400 + 101;
