#include "file_times.h"

#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <sys/utime.h>
#else
#include <utime.h>
#endif

bool ReadWriteTime(const std::filesystem::path& path, std::time_t& seconds) {
#ifdef _WIN32
  struct _stat64 status;
  if (_wstat64(path.c_str(), &status) != 0) return false;
#else
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return false;
#endif
  seconds = static_cast<std::time_t>(status.st_mtime);
  return true;
}

bool SetWriteTime(const std::filesystem::path& path, std::time_t seconds) {
#ifdef _WIN32
  struct __utimbuf64 times = {seconds, seconds};
  return _wutime64(path.c_str(), &times) == 0;
#else
  struct utimbuf times = {seconds, seconds};
  return utime(path.c_str(), &times) == 0;
#endif
}
