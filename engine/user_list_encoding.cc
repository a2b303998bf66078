#include "engine/user_list_encoding.h"

#include <algorithm>

#include "engine/cp1252.h"

namespace tavro2 {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

std::size_t utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;  // no overlong forms
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  return n;
}

bool isValidUtf8(std::string_view s) {
  while (!s.empty()) {
    const std::size_t n = utf8SequenceLength(s);
    if (n == 0) return false;
    s.remove_prefix(n);
  }
  return true;
}

UserListFormat detectUserListFormat(std::string_view bytes) {
  UserListFormat format;
  format.byteOrderMark = bytes.starts_with(kByteOrderMark);
  const bool nonAscii = std::any_of(bytes.begin(), bytes.end(),
                                    [](char c) { return static_cast<unsigned char>(c) > 127; });
  format.utf8 = format.byteOrderMark || (nonAscii && isValidUtf8(bytes));
  format.lfLineEnds =
      bytes.find('\r') == std::string_view::npos && bytes.find('\n') != std::string_view::npos;
  return format;
}

std::string userListTo1252(std::string bytes) {
  const UserListFormat format = detectUserListFormat(bytes);
  if (format.byteOrderMark) bytes.erase(0, kByteOrderMark.size());
  if (format.utf8) bytes = utf8To1252(bytes);
  if (format.lfLineEnds) std::replace(bytes.begin(), bytes.end(), '\n', '\r');
  return bytes;
}

}  // namespace tavro2
