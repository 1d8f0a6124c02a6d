// The file version of a Windows program's version resource, read from the
// program's bytes as the system's version functions read it, so that zqpack
// knows on any system what the installer will show and write. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

#include "sys/version.h"

// The file offset and length of the image's first version resource (its
// first language); false when the bytes are no PE image or it has none.
bool LocateVersionResource(const std::vector<uint8_t>& image, uint64_t& offset, uint32_t& size);
// The file version of that resource.
bool ReadImageVersion(const std::vector<uint8_t>& image, VersionRecord& version);
