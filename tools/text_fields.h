// Lines and fields of the builder's plain-text sources (the WordNet join,
// the word lists, the frequency lists and the tag counts).
#pragma once

#include <charconv>
#include <string_view>
#include <vector>

namespace tavro2 {

inline std::vector<std::string_view> splitAt(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(sep);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + sep.size());
  }
}

// Spaces and tabs off both ends.
inline std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A small non-negative number; nothing for anything else.
inline bool readCount(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Lines end in LF or CR LF.
inline std::vector<std::string_view> textLines(std::string_view text) {
  std::vector<std::string_view> out = splitAt(text, "\n");
  for (std::string_view& line : out)
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return out;
}

}  // namespace tavro2
