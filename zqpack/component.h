// One component of an installer: a folder zipped with itself as the single
// top folder, or a ready ZIP archive taken as it is.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct Component {
  std::string Source;               // as given on the command line
  std::string TopFolder;            // the archive's one top folder, as stored
  bool HasInstallSettings = false;  // holds uninst/install.ini
  bool MisnamedBase = false;        // holds install.ini in a top folder of another name
  std::vector<uint8_t> Archive;
};

// The folder's entries in name order.
std::vector<std::filesystem::directory_entry> SortedFolderEntries(const std::filesystem::path& folder);

// The whole file; raises std::runtime_error naming the file when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Writes the bytes of text as the whole file; raises std::runtime_error naming
// the file when it cannot be written.
void WriteWholeFile(const std::filesystem::path& path, const std::string& text);

// Told the length of each file as it is packed (or of a ready archive).
using PackedBytes = std::function<void(uint64_t)>;

// Packs the folder or reads the archive at path and checks its members.
// Raises std::runtime_error with a message for the user.
Component LoadComponent(const std::string& path, const PackedBytes& packed = nullptr);

// Checks the component's archive: readable, every member in one top folder,
// ver.ini directly in it. Fills TopFolder and HasInstallSettings.
void CheckComponentArchive(Component& component);
