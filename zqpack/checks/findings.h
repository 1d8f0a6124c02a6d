// What the checks of a product's descriptors found, each as one line
// "file:section:key: error: message (line N)". Platform-free.
#pragma once

#include <string>
#include <vector>

// Where a finding lies: the file as the publisher names it, the section and
// the key as written (Windows-1252), and the line (0: the file as a whole).
struct Place {
  std::string File, Section, Key;
  int Line = 0;
};

struct Finding {
  bool Error = false;
  Place Where;
  std::string Message;  // UTF-8
};

class Findings {
 public:
  void Error(const Place& where, const std::string& message) { list_.push_back({true, where, message}); }
  void Warning(const Place& where, const std::string& message) { list_.push_back({false, where, message}); }

  const std::vector<Finding>& List() const { return list_; }
  bool HasErrors() const;
  // Orders the findings by file (in the order the files first appear) and
  // line, keeping the order of findings on one line.
  void SortByPlace();

 private:
  std::vector<Finding> list_;
};

// The finding as one line of UTF-8 text, without a line end.
std::string FormatFinding(const Finding& finding);
