// Records the tests write by hand, sealed as the installer seals the records
// it writes itself, so that the installer acts on them.
#pragma once

#include <string>

// Seals the record file as it now is; false when it cannot.
bool SealHandWrittenRecord(const std::string& path);
