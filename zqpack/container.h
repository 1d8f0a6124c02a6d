// The installer file: the program image padded to its slot, the unzip library
// padded to its slot, the archive size table and the archives back to back.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "component.h"

// Raises std::runtime_error when the pieces cannot make an installer.
void CheckContainerParts(const std::vector<uint8_t>& image, const std::vector<uint8_t>& library,
                         const std::vector<Component>& components);

// Writes the installer to output through a temporary file beside it, so that
// a failure leaves no partial output. Raises std::runtime_error.
void WriteContainer(const std::string& output, const std::vector<uint8_t>& image, const std::vector<uint8_t>& library,
                    const std::vector<Component>& components);

// Prints the lengths, the size table and every archive's members.
// Raises std::runtime_error for a file that is no installer.
void ListContainer(const std::string& path, std::ostream& out);
