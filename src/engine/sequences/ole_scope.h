// OLE on this thread for the length of a scope, around the registrations.
#pragma once

#include <ole2.h>

class OleScope {
 public:
  OleScope() : initialized_(OleInitialize(nullptr) == S_OK) {}
  ~OleScope() {
    if (initialized_) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  explicit operator bool() const { return initialized_; }

 private:
  bool initialized_;
};
