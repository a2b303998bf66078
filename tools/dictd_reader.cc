#include "tools/dictd_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace tavro2 {
namespace {

constexpr std::uint64_t kMaxDictdNumber = std::uint64_t{1} << 48;

int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::string_view trimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Lines of a text split at LF, each without its LF and a CR before it.
std::vector<std::string_view> splitLf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool isAllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "N. rest" with N the given number; `rest` gets the text after "N. ".
bool startsWithSenseNumber(std::string_view line, std::size_t number, std::string_view& rest) {
  const std::string prefix = std::to_string(number) + ". ";
  if (line.substr(0, prefix.size()) != prefix) return false;
  rest = line.substr(prefix.size());
  return true;
}

// " 3." and the like: the mark between two glosses of one sense.
bool isGlossMark(std::string_view line) {
  line = trimView(line);
  return line.size() >= 2 && line.back() == '.' && isAllDigits(line.substr(0, line.size() - 1));
}

// Drops a trailing " 2." (the number of the first gloss of a gloss list).
std::string_view withoutGlossNumber(std::string_view s) {
  s = trimView(s);
  if (s.empty() || s.back() != '.') return s;
  std::size_t i = s.size() - 1;
  while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
  if (i == s.size() - 1 || i == 0 || s[i - 1] != ' ') return s;
  return trimView(s.substr(0, i - 1));
}

std::optional<EditionDate> dateAfter(std::string_view text, std::string_view label) {
  std::size_t at = text.find(label);
  while (at != std::string_view::npos) {
    std::string_view rest = trimView(text.substr(at + label.size()));
    int y = 0, m = 0, d = 0;
    char s1 = 0, s2 = 0;
    const std::string head(rest.substr(0, 10));
    if (std::sscanf(head.c_str(), "%4d%c%2d%c%2d", &y, &s1, &m, &s2, &d) == 5 && s1 == s2 &&
        (s1 == '.' || s1 == '-') && y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= 31)
      return EditionDate{y, m, d};
    at = text.find(label, at + 1);
  }
  return std::nullopt;
}

// "//ɹʊn// //ɹʌn//" or "/ˈæ.dəm/ /[ˈæɾm̩]/": each opens with one or two
// slashes and closes with as many before a space or the end (a phrase's
// transcription holds spaces of its own).
std::vector<std::string> splitPronunciations(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty() && text.front() == '/') {
    const std::string_view mark = text.starts_with("//") ? "//" : "/";
    std::size_t close = text.find(mark, mark.size());
    while (close != std::string_view::npos && close + mark.size() < text.size() &&
           text[close + mark.size()] != ' ')
      close = text.find(mark, close + 1);
    if (close == std::string_view::npos) break;
    out.emplace_back(text.substr(0, close + mark.size()));
    text = trimView(text.substr(close + mark.size()));
  }
  return out;
}

}  // namespace

std::optional<std::uint64_t> decodeDictdNumber(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int v = digitValue(c);
    if (v < 0) return std::nullopt;
    value = value * 64 + static_cast<std::uint64_t>(v);
    if (value > kMaxDictdNumber) return std::nullopt;  // also keeps the multiplication in range
  }
  return value;
}

DictdIndex parseDictdIndex(std::string_view text) {
  DictdIndex index;
  for (std::string_view line : splitLf(text)) {
    if (trimView(line).empty()) continue;
    const std::size_t t1 = line.find('\t');
    const std::size_t t2 = t1 == std::string_view::npos ? t1 : line.find('\t', t1 + 1);
    if (t2 == std::string_view::npos || line.find('\t', t2 + 1) != std::string_view::npos) {
      ++index.badLines;
      continue;
    }
    const auto offset = decodeDictdNumber(line.substr(t1 + 1, t2 - t1 - 1));
    const auto length = decodeDictdNumber(line.substr(t2 + 1));
    if (!offset || !length) {
      ++index.badLines;
      continue;
    }
    index.lines.push_back({std::string(line.substr(0, t1)), *offset, *length});
  }
  return index;
}

bool inflateGzip(std::string_view gz, std::string& out, std::string& error, std::size_t maxOutput) {
  out.clear();
  if (gz.size() > UINT32_MAX) {  // one zlib call takes at most 4 GiB of input
    error = "the compressed dictionary is too large";
    return false;
  }
  z_stream zs{};
  if (inflateInit2(&zs, 15 + 16) != Z_OK) {  // 15 + 16: gzip wrapper only
    error = "zlib cannot start";
    return false;
  }
  std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&zs, inflateEnd);
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gz.data()));
  zs.avail_in = static_cast<uInt>(gz.size());
  char buf[65536];
  for (;;) {
    zs.next_out = reinterpret_cast<Bytef*>(buf);
    zs.avail_out = sizeof buf;
    const int r = inflate(&zs, Z_NO_FLUSH);
    const std::size_t produced = sizeof buf - zs.avail_out;
    if (out.size() + produced > maxOutput) {
      error = "the compressed dictionary expands beyond " + std::to_string(maxOutput) + " bytes";
      return false;
    }
    out.append(buf, produced);
    if (r == Z_STREAM_END) {
      const std::size_t used = gz.size() - zs.avail_in;
      // Another gzip member may follow; anything else (padding) ends the text.
      if (gz.size() - used < 2 || static_cast<unsigned char>(gz[used]) != 0x1F ||
          static_cast<unsigned char>(gz[used + 1]) != 0x8B)
        return true;
      if (inflateReset(&zs) != Z_OK) {
        error = "zlib cannot restart";
        return false;
      }
      continue;
    }
    if (r == Z_OK) continue;
    if (r == Z_BUF_ERROR && zs.avail_in == 0) {
      error = "the compressed dictionary is cut short";
    } else {
      error = "the compressed dictionary is damaged";
    }
    return false;
  }
}

bool readWholeFile(const std::string& path, std::string& out, std::string& error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) {
    error = "cannot open " + path;
    return false;
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
    if (out.size() + n > kMaxDictdText) {
      error = path + " is larger than " + std::to_string(kMaxDictdText) + " bytes";
      return false;
    }
    out.append(buf, n);
  }
  if (std::ferror(f.get())) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool readDictdText(const std::string& path, std::string& out, std::string& error) {
  std::string raw;
  if (!readWholeFile(path, raw, error)) return false;
  if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0x1F &&
      static_cast<unsigned char>(raw[1]) == 0x8B) {
    if (!inflateGzip(raw, out, error)) {
      error = path + ": " + error;
      return false;
    }
    return true;
  }
  out = std::move(raw);
  return true;
}

bool isDictdHeaderKey(std::string_view key) {
  return key.starts_with("00database") || key.starts_with("00-database");
}

DictdEntry parseDictdEntry(std::string_view text) {
  DictdEntry entry;
  std::vector<std::string_view> lines = splitLf(text);
  while (!lines.empty() && trimView(lines.back()).empty()) lines.pop_back();
  if (lines.empty()) return entry;

  // Headword line: headword, then pronunciations "/.../" (the rest of the line
  // up to the part of speech begins with " /" and ends with "/"), then "<pos>".
  std::string_view head = trimView(lines[0]);
  if (!head.empty() && head.back() == '>') {
    const std::size_t lt = head.rfind(" <");
    if (lt != std::string_view::npos) {
      entry.partOfSpeech = std::string(trimView(head.substr(lt + 2, head.size() - lt - 3)));
      head = trimView(head.substr(0, lt));
    }
  }
  if (!head.empty() && head.back() == '/') {
    const std::size_t pron = head.find(" /");
    if (pron != std::string_view::npos) {
      entry.pronunciations = splitPronunciations(trimView(head.substr(pron)));
      head = trimView(head.substr(0, pron));
    }
  }
  entry.headword = std::string(head);

  const bool numbered = lines.size() > 1 && lines[1].starts_with("1. ");
  std::vector<bool> hasGlossList;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    std::string_view rest;
    if (numbered && startsWithSenseNumber(line, entry.senses.size() + 1, rest)) {
      entry.senses.push_back({std::string(rest), {}});
      hasGlossList.push_back(false);
    } else if (entry.senses.empty()) {
      entry.senses.push_back({std::string(trimView(line)), {}});
      hasGlossList.push_back(false);
    } else if (isGlossMark(line)) {
      hasGlossList.back() = true;
    } else if (!trimView(line).empty()) {
      entry.senses.back().glosses.emplace_back(trimView(line));
    }
  }
  for (std::size_t i = 0; i < entry.senses.size(); ++i) {
    std::string& t = entry.senses[i].translations;
    t = std::string(hasGlossList[i] ? withoutGlossNumber(t) : trimView(t));
  }
  return entry;
}

std::optional<EditionDate> findEditionDate(std::string_view headerText) {
  for (std::string_view label : {"Edition:", "Publication date:", "ver. "})
    if (auto d = dateAfter(headerText, label)) return d;
  return std::nullopt;
}

}  // namespace tavro2
