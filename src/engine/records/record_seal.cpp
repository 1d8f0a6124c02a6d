#include "engine/records/record_seal.h"

#include <windows.h>

#include "sys/file_digest.h"
#include "sys/file_system.h"
#include "sys/registry.h"
#include "sys/resolved_path.h"
#include "sys/text.h"

namespace {

// One name for every spelling of the record's path.
std::string SealName(const std::string& path) { return ResolvedPath(path); }

}  // namespace

bool SealRecord(const std::string& path) {
  const std::string name = SealName(path), digest = FileSha256(path);
  if (name.empty() || digest.empty()) return false;
  return RegWriteString(kRecordSealKey, name, digest);
}

bool RecordSealed(const std::string& path) {
  const std::string name = SealName(path);
  std::string sealed;
  if (name.empty() || !RegReadString(kRecordSealKey, name, sealed) || sealed.empty()) return false;
  return FileSha256(path) == sealed;
}

void ForgetRecordSeal(const std::string& path) {
  const std::string name = SealName(path);
  if (!name.empty()) RegDeleteEntry(kRecordSealKey, name, false);
}

bool IsRecordName(const std::string& fileName) {
  return SameText(fileName, "uninst.ini") || SameText(fileName, "error_inst.ini");
}

bool DeleteRecord(const std::string& path) {
  DeleteFileA(path.c_str());
  if (FileExists(path)) return false;
  ForgetRecordSeal(path);
  return true;
}
