#include "archive/payload_layout.h"

#include <cstring>

std::vector<uint32_t> UsedArchiveSizes(const uint8_t (&table)[kSizeTableSize]) {
  std::vector<uint32_t> sizes;
  for (uint32_t n = 0; n < kMaxArchives; ++n) {
    const uint8_t* p = table + 4 * n;
    const uint32_t size = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
    if (size == 0) break;
    sizes.push_back(size);
  }
  return sizes;
}

void FillSizeTable(const std::vector<uint32_t>& sizes, uint8_t (&table)[kSizeTableSize]) {
  std::memset(table, 0, sizeof table);
  for (size_t n = 0; n < sizes.size() && n < kMaxArchives; ++n)
    for (int byte = 0; byte < 4; ++byte) table[4 * n + byte] = static_cast<uint8_t>(sizes[n] >> (8 * byte));
}
