#include "member_listing.h"

#include <algorithm>

#include "archive/member_names.h"
#include "sys/code_pages.h"

namespace {

// Bytes beyond ASCII that form valid UTF-8 are rarely meant as a legacy code page.
bool LooksLikeUtf8(const std::string& name) {
  return ValidUtf8(name) == name && std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; });
}

}  // namespace

int ReadMemberListing(const uint8_t* data, size_t size, MemberListing& listing) {
  MemorySource source(data, size);
  ReadZipDirectory(source, ZipDirectoryOptions{true, nullptr}, listing.Directory);
  for (ZipDirEntry& entry : listing.Directory.Entries) {
    std::string name;
    const bool exact =
        ConvertStoredName(cpAuto, entry.FileName, entry.Flags, entry.MadeBy, GermanWindowsConversions(), name);
    switch (StoredNameEncoding(cpAuto, entry.Flags, static_cast<uint8_t>(entry.MadeBy >> 8),
                               static_cast<uint8_t>(entry.MadeBy))) {
      case neOem:
        listing.Names.push_back({exact ? nfExact : nfLookAlike, OemToUtf8(entry.FileName)});
        break;
      case neUtf8:
        listing.Names.push_back({exact ? nfExact : nfUnwritable, ValidUtf8(entry.FileName)});
        break;
      case neAsStored:
        if (LooksLikeUtf8(name))
          listing.Names.push_back({nfUnmarkedUtf8, name});
        else
          listing.Names.push_back({nfExact, AnsiToUtf8(name)});
        break;
    }
    entry.FileName = name;
  }
  return listing.Directory.Error;
}
