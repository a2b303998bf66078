// The settings-file accessor: reads and writes integer keys of one section of
// a Windows initialization file with the same file text and the same reading
// rules as GetPrivateProfileIntA / WritePrivateProfileStringA.
//
// File text. Lines end at CR LF, LF or a lone CR. A line whose trimmed text
// starts with '[' and holds a ']' opens a section named by the text between
// '[' and the last ']'. Any other non-blank line inside a section is a key
// line: the name is the text before the first '=', the value the text after
// it (a line without '=' is a key with an empty value). Section and key names
// match without regard to ASCII case; names and values lose their surrounding
// blanks (space, tab, VT, FF). A value wholly enclosed in a pair of matching
// single or double quotes loses them. Only the first section of a name, and
// in it the first key of a name, counts, for reading and for writing alike.
// Lines before the first section belong to none. A UTF-8 byte-order mark at
// the very start is skipped when reading and kept when writing.
//
// The accessor holds no file state: every read reads the file afresh (a
// Snapshot reads it once for many keys) and every write rewrites it through
// WriteFileAtomically, changing only the one line it writes (or adding lines)
// and keeping every other byte. A file larger than kMaxSettingsBytes, or one
// that is no regular file, reads as absent and is never rewritten.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavro2 {

// A settings file is a few hundred bytes; this leaves room for any
// hand-edited one.
inline constexpr std::size_t kMaxSettingsBytes = std::size_t{1} << 20;

class IniFile {  // stands in for GetPrivateProfileIntA / WritePrivateProfileStringA
 public:
  explicit IniFile(std::string path, std::string section = "General");

  // The section's keys as one read of the file found them; its reads follow
  // the rules of IniFile's own (which each take a snapshot of their own).
  class Snapshot {
   public:
    std::int32_t readInteger(std::string_view key, std::int32_t defaultValue) const;
    bool readBoolean(std::string_view key, bool defaultValue) const;
    std::optional<std::string> readString(std::string_view key) const;

   private:
    friend class IniFile;
    std::vector<std::pair<std::string, std::string>> keys_;  // file order, quotes removed
  };
  Snapshot read() const;

  // The key's value parsed by ParseProfileInteger; the default when the file,
  // the section or the key is absent, the file cannot be read, or the value
  // (after removing quotes) is empty.
  std::int32_t readInteger(std::string_view key, std::int32_t defaultValue) const;
  // ReadInteger's value, non-zero being true; the default in the same cases.
  bool readBoolean(std::string_view key, bool defaultValue) const;
  // The value text with its quotes removed; nothing in the cases above where
  // ReadInteger gives the default, except that an empty value is "".
  std::optional<std::string> readString(std::string_view key) const;

  // Writes the key as decimal text ("1" / "0" for booleans). An existing key
  // line becomes name=value, keeping the name as the file spells it and its
  // line end; a new key goes on a new line after the last non-blank line of
  // the section; a missing section is appended at the end as "[section]"
  // CR LF "Key=Value" CR LF (a new file is exactly that). Returns false, and
  // changes nothing, when the system refused the write or the existing file
  // could not be read (writing then would lose its other lines).
  [[nodiscard]] bool writeInteger(std::string_view key, std::int32_t value);
  [[nodiscard]] bool writeBoolean(std::string_view key, bool value);  // "1" / "0"
  // As above with any value text; false as well for an empty key, a key
  // holding '=', or a key or value holding a line break.
  [[nodiscard]] bool writeString(std::string_view key, std::string_view value);

  const std::string& path() const;
  const std::string& section() const { return section_; }

 private:
  std::string path_;
  std::string section_;
};

// Integer of a profile value as Windows reads it: leading characters of code
// 32 or less skipped, one optional '+' or '-', an optional lower-case "0x",
// "0o" or "0b" prefix (hexadecimal, octal, binary; decimal otherwise), then
// digits of that base up to the first character that is not one. Only the
// low 32 bits are kept, so "4294967297" reads 1 and "-5" the pattern of -5.
// Text without digits reads 0 ("abc" 0, "12abc" 12).
std::int32_t parseProfileInteger(std::string_view text);

}  // namespace tavro2
