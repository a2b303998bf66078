#include "app/ini_file.h"

#include <optional>
#include <utility>
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

// Calls visit(line) for each line in order; visit returns false to stop.
template <class Visit>
void forEachLine(std::string_view text, Visit&& visit) {
  std::size_t pos = 0;
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) pos = kUtf8Bom.size();
  while (pos < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      visit(Line{pos, text.size(), text.size()});
      return;
    }
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    if (!visit(Line{pos, end, next})) return;
    pos = next;
  }
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view trimmed) {
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const auto close = trimmed.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(trimmed.substr(1, close - 1));
}

// Calls visit(line, name, value) for each key line of the first section
// named `section`, in file order; name and value are trimmed, the value's
// quotes still on. Returns the section's header or last non-blank line, or
// nothing when there is no such section.
template <class Visit>
std::optional<Line> forEachKey(std::string_view text, std::string_view section, Visit&& visit) {
  std::optional<Line> last;
  bool inSection = false;
  forEachLine(text, [&](const Line& line) {
    const std::string_view content = trim(text.substr(line.start, line.end - line.start));
    if (content.empty()) return true;
    if (const auto name = sectionName(content)) {
      if (last) return false;  // only the first section of the name counts
      inSection = equalsFolded(*name, section);
      if (inSection) last = line;
      return true;
    }
    if (!inSection) return true;
    last = line;
    const auto eq = content.find('=');
    const std::string_view name = trim(content.substr(0, eq));
    if (!name.empty())
      visit(line, name, eq == std::string_view::npos ? std::string_view() : trim(content.substr(eq + 1)));
    return true;
  });
  return last;
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

std::int32_t parseProfileInteger(std::string_view text) {
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

IniFile::Snapshot IniFile::read() const {
  Snapshot snapshot;
  const auto text = readFileBytes(path_, nullptr, kMaxSettingsBytes);
  if (!text) return snapshot;
  forEachKey(*text, section_, [&](const Line&, std::string_view name, std::string_view value) {
    snapshot.keys_.emplace_back(name, unquote(value));
  });
  return snapshot;
}

std::optional<std::string> IniFile::Snapshot::readString(std::string_view key) const {
  key = trim(key);
  for (const auto& [name, value] : keys_)
    if (equalsFolded(name, key)) return value;  // the first key of a name counts
  return std::nullopt;
}

std::int32_t IniFile::Snapshot::readInteger(std::string_view key, std::int32_t defaultValue) const {
  const auto value = readString(key);
  if (!value || value->empty()) return defaultValue;
  return parseProfileInteger(*value);
}

bool IniFile::Snapshot::readBoolean(std::string_view key, bool defaultValue) const {
  const auto value = readString(key);
  if (!value || value->empty()) return defaultValue;
  return parseProfileInteger(*value) != 0;
}

std::optional<std::string> IniFile::readString(std::string_view key) const {
  return read().readString(key);
}

std::int32_t IniFile::readInteger(std::string_view key, std::int32_t defaultValue) const {
  return read().readInteger(key, defaultValue);
}

bool IniFile::readBoolean(std::string_view key, bool defaultValue) const {
  return read().readBoolean(key, defaultValue);
}

bool IniFile::writeInteger(std::string_view key, std::int32_t value) {
  return writeString(key, std::to_string(value));
}

bool IniFile::writeBoolean(std::string_view key, bool value) {
  return writeString(key, value ? "1" : "0");
}

bool IniFile::writeString(std::string_view key, std::string_view value) {
  key = trim(key);
  if (key.empty() || key.find_first_of("=\r\n") != std::string_view::npos ||
      value.find_first_of("\r\n") != std::string_view::npos || section_.empty())
    return false;

  bool missing = false;
  auto old = readFileBytes(path_, &missing, kMaxSettingsBytes);
  if (!old && !missing) return false;
  const std::string text = old ? std::move(*old) : std::string();
  std::optional<Line> keyLine;
  std::string_view keyName;
  const std::optional<Line> sectionEnd =
      forEachKey(text, section_, [&](const Line& line, std::string_view name, std::string_view) {
        if (!keyLine && equalsFolded(name, key)) {
          keyLine = line;
          keyName = name;
        }
      });
  // The file's last line has no line end when its text (past a BOM) ends in
  // anything but CR or LF.
  const std::string_view body =
      std::string_view(text).substr(text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0);
  const bool lastLineOpen = !body.empty() && body.back() != '\r' && body.back() != '\n';

  std::string out;
  out.reserve(text.size() + key.size() + value.size() + section_.size() + 8);
  if (keyLine) {
    out.append(text, 0, keyLine->start);
    out.append(keyName).append("=").append(value);
    out.append(text, keyLine->end, std::string::npos);
  } else if (sectionEnd) {
    out.append(text, 0, sectionEnd->next);
    if (sectionEnd->next == sectionEnd->end) out.append(kCrLf);  // the file's last line had no line end
    out.append(key).append("=").append(value).append(kCrLf);
    out.append(text, sectionEnd->next, std::string::npos);
  } else {
    out = text;
    if (lastLineOpen) out.append(kCrLf);
    out.append("[").append(section_).append("]").append(kCrLf);
    out.append(key).append("=").append(value).append(kCrLf);
  }
  return writeFileAtomically(path_, out);
}

}  // namespace tavro2
