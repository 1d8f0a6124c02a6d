#include "engine/log_file.h"

#include <cstdio>

#include "engine/records/record_format.h"
#include "sys/text.h"

const char* LogFileName(TRunMode runMode) {
  return IsUninstallSide(runMode) ? record_format::kUninstallLog : record_format::kInstallLog;
}

std::string RecordFolder(const std::string& uninstDir, bool uninstDirExists, const std::string& ownDir) {
  return LowerAscii(WithTrailingBackslash(uninstDirExists ? uninstDir : ownDir));
}

namespace {

// Writes each line and a CR LF; false when a write failed.
bool PutLines(FILE* file, const std::vector<std::string>& lines) {
  bool written = true;
  for (const std::string& line : lines)
    written = written && std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
              std::fwrite("\r\n", 1, 2, file) == 2;
  return written;
}

// Copies the spill's bytes into file; false when one could not be read or written.
bool PutSpill(FILE* file, const LogSpill& spill) {
  if (spill.Bytes == 0) return true;
  FILE* source = std::fopen(spill.Path.c_str(), "rb");
  if (!source) return false;
  char buffer[65536];
  uint64_t left = spill.Bytes;
  while (left > 0) {
    const size_t part = left < sizeof buffer ? static_cast<size_t>(left) : sizeof buffer;
    if (std::fread(buffer, 1, part, source) != part || std::fwrite(buffer, 1, part, file) != part) break;
    left -= part;
  }
  std::fclose(source);
  return left == 0;
}

}  // namespace

bool SpillLogLines(LogSpill& spill, std::vector<std::string>& lines) {
  if (lines.empty()) return true;
  FILE* file = std::fopen(spill.Path.c_str(), spill.Bytes == 0 ? "wb" : "r+b");
  if (!file) return false;
  bool written = std::fseek(file, static_cast<long>(spill.Bytes), SEEK_SET) == 0 && PutLines(file, lines);
  const long end = std::ftell(file);
  written = std::fclose(file) == 0 && written && end >= 0;
  if (!written) return false;
  spill.Bytes = static_cast<uint64_t>(end);
  lines.clear();
  return true;
}

bool AppendLogFile(const std::string& path, std::vector<std::string>& lines, LogSpill* spill) {
  const bool spilled = spill && spill->Bytes > 0;
  if (lines.empty() && !spilled) return true;
  bool existed = false;
  if (FILE* probe = std::fopen(path.c_str(), "rb")) {
    existed = true;
    std::fclose(probe);
  }
  FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  // Line by line through the file's buffer: a copy of the whole log would
  // double its memory at the end of a run.
  bool written = (!spilled || PutSpill(file, *spill)) && PutLines(file, lines);
  if (existed) written = written && std::fwrite("\r\n", 1, 2, file) == 2;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return false;
  lines.clear();
  if (spilled) {
    std::remove(spill->Path.c_str());
    spill->Bytes = 0;
  }
  return true;
}
