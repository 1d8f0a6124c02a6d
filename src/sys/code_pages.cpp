#include "sys/code_pages.h"

#include <utility>

namespace {

// The characters of OEM code page 850 from 0x80 to 0xFF.
const char32_t kOem850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// The characters of Windows-1252 from 0x80 to 0x9F; the five bytes it leaves
// undefined stand for the control characters of the same value, as on Windows.
const char32_t kAnsi1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t OemCharacter(unsigned char byte) { return byte < 0x80 ? byte : kOem850[byte - 0x80]; }

char32_t AnsiCharacter(unsigned char byte) { return byte < 0x80 || byte >= 0xA0 ? byte : kAnsi1252[byte - 0x80]; }

// The byte of Windows-1252 for the character; false when it has none.
bool AnsiByte(char32_t codePoint, char& byte) {
  size_t index = 0;
  if (codePoint >= 0x80 && codePoint < 0xA0) return false;
  if (codePoint >= 0x100) {
    while (index < 32 && kAnsi1252[index] != codePoint) ++index;
    if (index == 32) return false;
    codePoint = 0x80 + index;
  }
  byte = static_cast<char>(codePoint);
  return true;
}

// Adds the character's Windows-1252 byte, or "?"; false for "?".
bool AppendAnsi(std::string& ansi, char32_t codePoint) {
  char byte = '?';
  const bool exact = AnsiByte(codePoint, byte);
  ansi += byte;
  return exact;
}

void AppendUtf8(std::string& utf8, char32_t codePoint) {
  if (codePoint < 0x80) {
    utf8 += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    utf8 += static_cast<char>(0xC0 | codePoint >> 6);
    utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    utf8 += static_cast<char>(0xE0 | codePoint >> 12);
    utf8 += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i] and steps over it; false for a malformed one.
bool NextCodePoint(const std::string& text, size_t& i, char32_t& codePoint) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return false;
  codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return false;
    codePoint = codePoint << 6 | (byte(i + k) & 0x3F);
  }
  // Overlong forms and surrogates are malformed: an overlong "/" is no separator.
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < smallest[length] || (codePoint >= 0xD800 && codePoint < 0xE000) || codePoint > 0x10FFFF) return false;
  i += length;
  return true;
}

}  // namespace

bool Utf8ToOem(const std::string& utf8, std::string& oem) {
  oem.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    if (!NextCodePoint(utf8, i, codePoint)) return false;
    if (codePoint < 0x80) {
      oem += static_cast<char>(codePoint);
      continue;
    }
    size_t index = 0;
    while (index < 128 && kOem850[index] != codePoint) ++index;
    if (index == 128) return false;
    oem += static_cast<char>(0x80 + index);
  }
  return true;
}

namespace {

// The look-alike Windows writes in Windows-1252 for each character of code
// page 850 that Windows-1252 lacks (its best fit for this pair of code
// pages): shades and vertical lines as a broken bar, corners and crossings as
// "+", horizontals as "-", the dotless i as "i". Keyed by the OEM byte.
const std::pair<unsigned char, char> kBestFit[] = {
    {0xB0, '\xA6'}, {0xB1, '\xA6'}, {0xB2, '\xA6'}, {0xB3, '\xA6'}, {0xB4, '\xA6'}, {0xB9, '\xA6'}, {0xBA, '\xA6'},
    {0xBB, '+'},    {0xBC, '+'},    {0xBF, '+'},    {0xC0, '+'},    {0xC1, '-'},    {0xC2, '-'},    {0xC3, '+'},
    {0xC4, '-'},    {0xC5, '+'},    {0xC8, '+'},    {0xC9, '+'},    {0xCA, '-'},    {0xCB, '-'},    {0xCC, '\xA6'},
    {0xCD, '-'},    {0xCE, '+'},    {0xD5, 'i'},    {0xD9, '+'},    {0xDA, '+'},    {0xDB, '\xA6'}, {0xDC, '_'},
    {0xDF, '\xAF'}, {0xF2, '='},    {0xFE, '\xA6'},
};

char BestFit(unsigned char oem) {
  for (const auto& [byte, lookAlike] : kBestFit)
    if (byte == oem) return lookAlike;
  return '?';
}

}  // namespace

bool Oem850ToAnsi(const std::string& oem, std::string& ansi) {
  ansi.clear();
  bool exact = true;
  for (const char c : oem) {
    char byte = 0;
    if (AnsiByte(OemCharacter(static_cast<unsigned char>(c)), byte)) {
      ansi += byte;
    } else {
      ansi += BestFit(static_cast<unsigned char>(c));
      exact = false;
    }
  }
  return exact;
}

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
  ansi.clear();
  bool exact = true;
  for (size_t i = 0; i < utf8.size();) {
    char32_t codePoint = 0;
    if (!NextCodePoint(utf8, i, codePoint)) {
      ansi += '?';
      exact = false;
      ++i;
      continue;
    }
    exact = AppendAnsi(ansi, codePoint) && exact;
  }
  return exact;
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string utf8;
  for (const char c : ansi) AppendUtf8(utf8, AnsiCharacter(static_cast<unsigned char>(c)));
  return utf8;
}

std::u16string AnsiToUtf16(const std::string& ansi) {
  std::u16string utf16;
  // Windows-1252 lies in the first plane: one code unit a character.
  for (const char c : ansi) utf16 += static_cast<char16_t>(AnsiCharacter(static_cast<unsigned char>(c)));
  return utf16;
}

std::string OemToUtf8(const std::string& oem) {
  std::string utf8;
  for (const char c : oem) AppendUtf8(utf8, OemCharacter(static_cast<unsigned char>(c)));
  return utf8;
}

std::string ValidUtf8(const std::string& text) {
  std::string valid;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    char32_t codePoint = 0;
    if (NextCodePoint(text, i, codePoint))
      valid.append(text, start, i - start);
    else
      valid += '?', ++i;
  }
  return valid;
}
