#include "engine/sequences/with_ole.h"

#include <windows.h>

#include <ole2.h>

#include "engine/install_object.h"
#include "engine/run_report.h"

namespace {

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

}  // namespace

bool WithOle(TInstallObject& object, const std::function<void()>& work) {
  const OleScope ole;
  if (!ole) {
    LogError(object, "OLE Bibliothek  ", "initialisiert");
    return false;
  }
  work();
  return true;
}
