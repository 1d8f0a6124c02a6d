// Program groups in the user's Programs menu and shell shortcuts, created
// from install.ini and removed again from the uninstall record. What stood
// before the installation is neither recorded nor removed.
#pragma once

class TInstallObject;

// Creates the program groups and shortcuts of install.ini; openFolders
// shows each new group in the shell.
void CreateLinks(TInstallObject& object, bool openFolders);
// Removes the recorded shortcuts and then the recorded groups left empty.
void RemoveLinks(TInstallObject& object);
