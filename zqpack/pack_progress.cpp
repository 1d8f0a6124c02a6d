#include "pack_progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Often enough to look alive, seldom enough to cost nothing.
const std::chrono::milliseconds kInterval(100);

}  // namespace

PackProgress::PackProgress(std::ostream& out, bool shown, size_t components)
    : out_(out), shown_(shown), components_(components) {}

void PackProgress::Packed(uint64_t bytes) {
  bytes_ += bytes;
  if (std::chrono::steady_clock::now() - shownAt_ >= kInterval) Show();
}

void PackProgress::ComponentDone() {
  ++done_;
  Show();
}

PackProgress::~PackProgress() {
  if (shown_) out_ << "\n" << std::flush;
}

void PackProgress::Show() {
  if (!shown_) return;
  out_ << "\rzqpack: " << done_ << " of " << components_ << " components packed, " << bytes_ << " bytes" << std::flush;
  shownAt_ = std::chrono::steady_clock::now();
}

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}
