// Turning a fuzzer's bytes into the texts and lines the parsers take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::string AsText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The text split at each line feed.
inline std::vector<std::string> AsLines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  return lines;
}
