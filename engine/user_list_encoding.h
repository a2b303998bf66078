// The two kinds of text file a user word list may be.
//
// Windows text, as the editor has always written it: Windows-1252 bytes,
// lines ending in CR LF (or CR). Linux text, as a Linux editor writes it:
// UTF-8, lines ending in LF. A file is taken as UTF-8 when it starts with a
// byte-order mark, or when it is valid UTF-8 and holds a byte above 127 (a
// Windows-1252 text with accents is almost never valid UTF-8 by chance; a
// pure ASCII text reads the same either way). Its lone LFs end lines only
// when it holds no CR at all, so a Windows file reads exactly as before.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavro2 {

struct UserListFormat {
  bool utf8 = false;
  bool byteOrderMark = false;  // UTF-8 with EF BB BF in front
  bool lfLineEnds = false;     // LF ends lines (there is no CR)
};

UserListFormat detectUserListFormat(std::string_view bytes);

// The length of the well-formed UTF-8 sequence at the start of `s` (no
// overlong forms, surrogates or code points above U+10FFFF), or 0.
std::size_t utf8SequenceLength(std::string_view s);
bool isValidUtf8(std::string_view s);

// A list file's bytes as the readers take them: Windows-1252 (characters it
// cannot hold become '?'), lines ending in CR or CR LF.
std::string userListTo1252(std::string bytes);

}  // namespace tavro2
