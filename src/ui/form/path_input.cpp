#include "ui/form/path_input.h"

#include <cstring>

#include "sys/path_text.h"
#include "sys/text.h"

bool KeepsFolderChar(char typed, bool ctrlHeld) {
  return ctrlHeld || typed == '\0' || std::strchr("\"#*+/<>?|", typed) == nullptr;
}

std::string ChosenFolderText(const std::string& chosen, const std::string& productName) {
  const std::string folder = WithoutTrailingBackslash(chosen);
  if (SameText(FileNamePart(folder), productName)) return folder;
  return chosen + productName;
}
