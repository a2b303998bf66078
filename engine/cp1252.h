// Windows-1252, the single-byte character set of every text Tavro2 keeps.
//
// One 256-entry classification table decides what a letter and a digit are,
// so that query cleaning, whole-word matching and every test agree. The only
// case folding anywhere in the program is A-Z to a-z (see foldAscii).
#pragma once

#include <string>
#include <string_view>

namespace tavro2 {

// Letters: A-Z, a-z, 0x83, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA,
// 0xB5, 0xBA, 0xC0-0xD6, 0xD8-0xF6, 0xF8-0xFF. Digits: 0-9 only.
bool isLetter1252(unsigned char c);
bool isAlnum1252(unsigned char c);
// Capitals: A-Z and the accented capitals 0xC0-0xDE (not 0xD7, the sign x).
inline bool isCapital1252(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

// A-Z to a-z; every other byte unchanged.
inline char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string foldAscii(std::string_view text);

// Equality with A-Z folded to a-z (the one case-insensitive comparison).
bool equalsFolded(std::string_view a, std::string_view b);

// The Unicode code point of a byte. The five bytes that 1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as
// Windows does.
char32_t unicodeOf1252(unsigned char c);

// Byte for a code point, or '?' when 1252 cannot hold it.
char cp1252Of(char32_t cp);

// UTF-8 <-> 1252 for the edges (command line, tests). Malformed UTF-8 bytes
// and characters outside 1252 become '?'.
std::string utf8To1252(std::string_view utf8);
// Appends cp as UTF-8; a surrogate or a value past U+10FFFF becomes U+FFFD.
void appendUtf8(std::string& out, char32_t cp);
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace tavro2
