#include "component.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "archive/zip_messages.h"
#include "engine/config/product_files.h"
#include "file_times.h"
#include "member_listing.h"
#include "sys/code_pages.h"
#include "sys/text.h"
#include "zip_writer.h"

namespace fs = std::filesystem;

namespace {

const char kDescriptor[] = "ver.ini";

[[noreturn]] void Fail(const std::string& component, const std::string& what) {
  throw std::runtime_error(component + ": " + what);
}

DosTime ModificationTime(const fs::path& path) {
  DosTime time;
  std::time_t seconds = 0;
  if (!ReadWriteTime(path, seconds)) return time;
  const std::tm* local = std::localtime(&seconds);
  if (!local || local->tm_year < 80) return time;
  time.Time = static_cast<uint16_t>(local->tm_hour << 11 | local->tm_min << 5 | local->tm_sec / 2);
  time.Date = static_cast<uint16_t>((local->tm_year - 80) << 9 | (local->tm_mon + 1) << 5 | local->tm_mday);
  return time;
}

std::string OemName(const std::string& source, const std::string& utf8) {
  std::string oem;
  if (!Utf8ToOem(utf8, oem)) Fail(source, "the name \"" + utf8 + "\" cannot be stored in code page 850");
  return oem;
}

// The folder's members below prefix, folders before their contents, in name order.
void AddFolderContents(ZipWriter& zip, const std::string& source, const fs::path& folder, const std::string& prefix,
                       const PackedBytes& packed) {
  for (const fs::directory_entry& child : SortedFolderEntries(folder)) {
    const std::string name = prefix + OemName(source, child.path().filename().u8string());
    if (child.is_directory()) {
      zip.AddFolder(name + "/", ModificationTime(child.path()));
      AddFolderContents(zip, source, child.path(), name + "/", packed);
    } else {
      const std::vector<uint8_t> data = ReadWholeFile(child.path());
      zip.AddFile(name, data, ModificationTime(child.path()));
      if (packed) packed(data.size());
    }
  }
}

// The folder zipped with itself as the single top folder.
std::vector<uint8_t> PackFolder(const std::string& source, const PackedBytes& packed) {
  const fs::path folder = fs::absolute(fs::path(source)).lexically_normal();
  const fs::path named = folder.has_filename() ? folder : folder.parent_path();
  const std::string top = OemName(source, named.filename().u8string());
  ZipWriter zip;
  zip.AddFolder(top + "/", ModificationTime(named));
  AddFolderContents(zip, source, named, top + "/", packed);
  return zip.Finish();
}

}  // namespace

std::vector<fs::directory_entry> SortedFolderEntries(const fs::path& folder) {
  std::vector<fs::directory_entry> entries(fs::directory_iterator(folder), fs::directory_iterator{});
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
  return entries;
}

std::vector<uint8_t> ReadWholeFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error(path.u8string() + ": cannot be read (" + std::strerror(errno) + ")");
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw std::runtime_error(path.u8string() + ": read error");
  return data;
}

void WriteWholeFile(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) throw std::runtime_error(path.u8string() + ": cannot be written");
}

void CheckComponentArchive(Component& component) {
  MemberListing listing;
  if (ReadMemberListing(component.Archive.data(), component.Archive.size(), listing) != 0)
    Fail(component.Source, "not a readable ZIP archive: " + AnsiToUtf8(ZipMessageText(listing.Directory.Error)));
  bool hasDescriptor = false;
  for (const ZipDirEntry& entry : listing.Directory.Entries) {
    const std::string& name = entry.FileName;
    const size_t slash = name.find('\\');
    const std::string top = name.substr(0, slash);
    if (component.TopFolder.empty()) component.TopFolder = top;
    if (slash == std::string::npos || slash == 0 || !SameText(top, component.TopFolder))
      Fail(component.Source, "every member must lie in one top folder, but \"" + AnsiToUtf8(name) +
                                 "\" does not; repack the files under a folder named after the component, or give "
                                 "zqpack the folder itself");
    if (entry.Encrypted)
      Fail(component.Source, "the member \"" + AnsiToUtf8(name) +
                                 "\" is encrypted, which the installer refuses: pack it without a password");
    const std::string rest = name.substr(slash + 1);
    hasDescriptor = hasDescriptor || SameText(rest, kDescriptor);
    if (SameText(rest, "install.ini"))
      (SameText(top, kBaseComponent) ? component.HasInstallSettings : component.MisnamedBase) = true;
  }
  if (!hasDescriptor) Fail(component.Source, "no ver.ini directly in the component's top folder");
}

Component LoadComponent(const std::string& path, const PackedBytes& packed) {
  std::error_code error;
  Component component;
  component.Source = path;
  if (fs::is_directory(path, error)) {
    component.Archive = PackFolder(path, packed);
  } else if (fs::is_regular_file(path, error)) {
    component.Archive = ReadWholeFile(path);
    if (packed) packed(component.Archive.size());
  } else {
    Fail(path, "no such folder or ZIP file");
  }
  CheckComponentArchive(component);
  return component;
}
