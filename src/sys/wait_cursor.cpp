#include "sys/wait_cursor.h"

int WaitCursor::depth_ = 0;
HCURSOR WaitCursor::saved_ = nullptr;

WaitCursor::WaitCursor() {
  if (depth_++ == 0) saved_ = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

WaitCursor::~WaitCursor() {
  if (--depth_ == 0) SetCursor(saved_);
}

int WaitCursor::Depth() { return depth_; }
