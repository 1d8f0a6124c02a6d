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
  // Line by line through the file's buffer: a copy of the whole log would
  // double its memory at the end of a run.
  bool written = true;
  const auto put = [&](const std::string& text) {
    written = written && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  };
  for (const std::string& line : lines) {
    put(line);
    put("\r\n");
  }
  if (existed) put("\r\n");
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return false;
  lines.clear();
  return true;
}
