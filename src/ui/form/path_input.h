// The rules of the installation folder box. Platform-free.
#pragma once

#include <string>

// Whether a character typed into the folder box is kept: unless Ctrl is
// held, the double quote and # * + / < > ? | are dropped.
bool KeepsFolderChar(char typed, bool ctrlHeld);

// The folder box's text for the folder chosen in the browser (with a
// trailing backslash): the product's folder inside it, unless the chosen
// folder is the product's folder already.
std::string ChosenFolderText(const std::string& chosen, const std::string& productName);
