#include "engine/log_file.h"

#include <cstdio>

#include "sys/text.h"

const char* LogFileName(TRunMode runMode) {
  return IsUninstallSide(runMode) ? "zquninstall.log" : "zqinstall.log";
}

std::string RecordFolder(const std::string& uninstDir, bool uninstDirExists, const std::string& ownDir) {
  return LowerAscii(WithTrailingBackslash(uninstDirExists ? uninstDir : ownDir));
}

bool AppendLogFile(const std::string& path, std::vector<std::string>& lines) {
  if (lines.empty()) return true;
  bool existed = false;
  if (FILE* probe = std::fopen(path.c_str(), "rb")) {
    existed = true;
    std::fclose(probe);
  }
  FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  std::string block;
  for (const std::string& line : lines) block += line + "\r\n";
  if (existed) block += "\r\n";
  const bool written = std::fwrite(block.data(), 1, block.size(), file) == block.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return false;
  lines.clear();
  return true;
}
