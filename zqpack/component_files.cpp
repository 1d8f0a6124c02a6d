#include "component_files.h"

#include <zlib.h>

#include <stdexcept>

#include "member_listing.h"
#include "sys/code_pages.h"
#include "sys/text.h"

namespace {

const size_t kLocalHeaderSize = 30;
// A descriptor is a few kilobytes; this bounds what a damaged directory can ask for.
const uint32_t kTextLimit = 16u << 20;

uint16_t Word(const std::vector<uint8_t>& data, size_t at) {
  return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

// The member's data, stored or deflated.
std::string MemberText(const Component& component, const ZipDirEntry& entry) {
  const std::vector<uint8_t>& archive = component.Archive;
  const auto fail = [&]() -> std::string {
    throw std::runtime_error(component.Source + ": " + AnsiToUtf8(entry.FileName) + " cannot be read back");
  };
  const size_t header = entry.LocalHeaderOffset;
  if (header + kLocalHeaderSize > archive.size()) return fail();
  const size_t start = header + kLocalHeaderSize + Word(archive, header + 26) + Word(archive, header + 28);
  if (start + entry.CompressedSize > archive.size() || entry.Encrypted || entry.UncompressedSize > kTextLimit)
    return fail();
  const uint8_t* data = archive.data() + start;
  if (entry.Method == 0) return std::string(reinterpret_cast<const char*>(data), entry.CompressedSize);
  if (entry.Method != Z_DEFLATED) return fail();
  std::string text(entry.UncompressedSize, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return fail();
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = entry.CompressedSize;
  stream.next_out = reinterpret_cast<Bytef*>(&text[0]);
  stream.avail_out = static_cast<uInt>(text.size());
  const int result = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  if (result != Z_STREAM_END || stream.avail_out != 0) return fail();
  return text;
}

}  // namespace

ComponentFiles ReadComponentFiles(const Component& component) {
  ComponentFiles files;
  files.Folder = component.Source;
  while (files.Folder.size() > 1 && files.Folder.back() == '/') files.Folder.pop_back();
  MemberListing listing;
  ReadMemberListing(component.Archive.data(), component.Archive.size(), listing);
  for (size_t i = 0; i < listing.Directory.Entries.size(); ++i) {
    const ZipDirEntry& entry = listing.Directory.Entries[i];
    const std::string& name = entry.FileName;
    const ListedName& listed = listing.Names[i];
    if (listed.Fidelity != nfExact) files.InexactNames.push_back({listed.Shown, listed.Fidelity, AnsiToUtf8(name)});
    const size_t slash = name.find('\\');
    if (slash == std::string::npos || name.back() == '\\') continue;
    const std::string member = name.substr(slash + 1);
    files.Members.push_back(member);
    if (SameText(member, "ver.ini")) files.Descriptor = MemberText(component, entry);
    if (component.HasInstallSettings && SameText(member, "install.ini"))
      files.InstallSettings = MemberText(component, entry);
  }
  files.HasInstallSettings = component.HasInstallSettings;
  files.MisnamedBase = component.MisnamedBase;
  return files;
}
