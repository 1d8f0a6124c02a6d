// A file's last write time in whole seconds since 1970, read and set exactly
// as the file system keeps it: the file clock of C++17 has no exact
// conversion to the system clock, and an inexact one moves a time across the
// two-second steps of a ZIP member's time.
#pragma once

#include <ctime>
#include <filesystem>

bool ReadWriteTime(const std::filesystem::path& path, std::time_t& seconds);
bool SetWriteTime(const std::filesystem::path& path, std::time_t seconds);
