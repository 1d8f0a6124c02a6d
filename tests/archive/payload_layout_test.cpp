// The certificate entry of a signed installer's image, cleared for the
// uninstaller copy of the image alone.
#include "archive/payload_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An image with a PE32 header at 0x80 whose certificate entry names offset, size.
std::vector<uint8_t> Image(uint32_t offset, uint32_t size, uint16_t magic = 0x10B) {
  std::vector<uint8_t> image(4096, 0);
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, 0x80);
  Put32(image, 0x80, 0x00004550);
  image[0x98] = magic & 0xFF;
  image[0x99] = magic >> 8;
  Put32(image, 0x98 + 128, offset);
  Put32(image, 0x98 + 132, size);
  return image;
}

TEST(PayloadLayout, TheCertificateEntryBehindTheImageIsCleared) {
  std::vector<uint8_t> behind = Image(5000, 1200);
  EXPECT_TRUE(ClearOuterCertificateEntry(behind.data(), behind.size()));
  EXPECT_EQ(behind, Image(0, 0));
  // Inside the image, absent, no PE32 header, or too short: left alone.
  for (std::vector<uint8_t> kept : {Image(3000, 100), Image(0, 0), Image(5000, 100, 0x20B)}) {
    const std::vector<uint8_t> before = kept;
    EXPECT_FALSE(ClearOuterCertificateEntry(kept.data(), kept.size()));
    EXPECT_EQ(kept, before);
  }
  std::vector<uint8_t> far = Image(5000, 100);
  Put32(far, 0x3C, 0xFFFFFF00);  // a header offset beyond the bytes
  EXPECT_FALSE(ClearOuterCertificateEntry(far.data(), far.size()));
  EXPECT_FALSE(ClearOuterCertificateEntry(far.data(), 10));
}

}  // namespace
