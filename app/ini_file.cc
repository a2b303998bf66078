#include "app/ini_file.h"

#include <vector>

#include "app/atomic_file.h"
#include "engine/cp1252.h"

namespace tavro2 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}


// One line of the file: its text is [start, end), its line end [end, next).
struct Line {
  std::size_t start;
  std::size_t end;
  std::size_t next;
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) pos = kUtf8Bom.size();
  while (pos < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.push_back({pos, text.size(), text.size()});
      break;
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view trimmed) {
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const auto close = trimmed.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(trimmed.substr(1, close - 1));
}

// Where a key stands in the file text, as reading and writing both see it.
struct Place {
  bool sectionFound = false;
  std::size_t lastSectionLine = 0;  // the header or the section's last non-blank line
  bool keyFound = false;
  std::size_t keyLine = 0;
  std::string_view name;   // as the file spells it
  std::string_view value;  // trimmed, quotes still on
};

Place locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view content =
        trim(text.substr(lines[i].start, lines[i].end - lines[i].start));
    if (content.empty()) continue;
    if (const auto name = sectionName(content)) {
      if (place.sectionFound) break;  // only the first section of the name counts
      inSection = equalsFolded(*name, section);
      if (inSection) {
        place.sectionFound = true;
        place.lastSectionLine = i;
      }
      continue;
    }
    if (!inSection) continue;
    place.lastSectionLine = i;
    if (place.keyFound) continue;
    const auto eq = content.find('=');
    const std::string_view name = trim(content.substr(0, eq));
    if (!name.empty() && equalsFolded(name, key)) {
      place.keyFound = true;
      place.keyLine = i;
      place.name = name;
      place.value =
          eq == std::string_view::npos ? std::string_view() : trim(content.substr(eq + 1));
    }
  }
  return place;
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::int32_t ParseProfileInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    const char prefix = text[i + 1];  // lower case only, as Windows has it
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  // Unsigned arithmetic wraps, which keeps exactly the low 32 bits.
  std::uint32_t total = 0;
  for (; i < text.size(); ++i) {
    const int digit = digitValue(text[i]);
    if (digit >= static_cast<int>(base)) break;
    total = total * base + static_cast<std::uint32_t>(digit);
  }
  if (negative) total = 0u - total;
  return static_cast<std::int32_t>(total);
}

IniFile::IniFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::string(trim(section))) {}

const std::string& IniFile::path() const { return path_; }

std::optional<std::string> IniFile::ReadString(std::string_view key) const {
  const auto text = readFileBytes(path_);
  if (!text) return std::nullopt;
  const Place place = locate(*text, splitLines(*text), section_, trim(key));
  if (!place.keyFound) return std::nullopt;
  return std::string(unquote(place.value));
}

std::int32_t IniFile::ReadInteger(std::string_view key, std::int32_t defaultValue) const {
  const auto value = ReadString(key);
  if (!value || value->empty()) return defaultValue;
  return ParseProfileInteger(*value);
}

bool IniFile::ReadBoolean(std::string_view key, bool defaultValue) const {
  const auto value = ReadString(key);
  if (!value || value->empty()) return defaultValue;
  return ParseProfileInteger(*value) != 0;
}

bool IniFile::WriteInteger(std::string_view key, std::int32_t value) {
  return WriteString(key, std::to_string(value));
}

bool IniFile::WriteBoolean(std::string_view key, bool value) {
  return WriteString(key, value ? "1" : "0");
}

bool IniFile::WriteString(std::string_view key, std::string_view value) {
  key = trim(key);
  if (key.empty() || key.find_first_of("=\r\n") != std::string_view::npos ||
      value.find_first_of("\r\n") != std::string_view::npos || section_.empty())
    return false;

  bool missing = false;
  auto old = readFileBytes(path_, &missing);
  if (!old && !missing) return false;
  const std::string text = old ? std::move(*old) : std::string();
  const std::vector<Line> lines = splitLines(text);
  const Place place = locate(text, lines, section_, key);

  std::string out;
  out.reserve(text.size() + key.size() + value.size() + section_.size() + 8);
  if (place.keyFound) {
    const Line& line = lines[place.keyLine];
    out.append(text, 0, line.start);
    out.append(place.name).append("=").append(value);
    out.append(text, line.end, std::string::npos);
  } else if (place.sectionFound) {
    const Line& line = lines[place.lastSectionLine];
    out.append(text, 0, line.next);
    if (line.next == line.end) out.append(kCrLf);  // the file's last line had no line end
    out.append(key).append("=").append(value).append(kCrLf);
    out.append(text, line.next, std::string::npos);
  } else {
    out = text;
    if (!lines.empty() && lines.back().next == lines.back().end) out.append(kCrLf);
    out.append("[").append(section_).append("]").append(kCrLf);
    out.append(key).append("=").append(value).append(kCrLf);
  }
  return WriteFileAtomically(path_, out);
}

}  // namespace tavro2
