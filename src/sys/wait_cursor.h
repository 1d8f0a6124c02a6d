// The hourglass cursor for the length of a scope. Scopes nest: only the
// outermost one saves the cursor and restores it.
#pragma once

#include <windows.h>

class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  static int Depth();

 private:
  static int depth_;
  static HCURSOR saved_;
};
