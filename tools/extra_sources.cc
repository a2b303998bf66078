#include "tools/extra_sources.h"

#include <charconv>

#include "tools/dictd_reader.h"

namespace tavro2 {
namespace {

std::vector<std::string_view> splitAt(std::string_view text, std::string_view sep) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(sep);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + sep.size());
  }
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A small non-negative number; nothing for anything else.
bool readCount(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

// Lines end in LF or CR LF.
std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out = splitAt(text, "\n");
  for (std::string_view& line : out)
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return out;
}

bool isComment(std::string_view line) {
  line = trim(line);
  return line.empty() || line.front() == '#';
}

}  // namespace

std::vector<WordnetSynset> ParseWordnetJoin(std::string_view text, std::size_t& badLines) {
  std::vector<WordnetSynset> out;
  badLines = 0;
  for (std::string_view line : lines(text)) {
    if (isComment(line)) continue;
    const auto fields = splitAt(line, "\t");
    WordnetSynset s;
    bool good = fields.size() == 5 && fields[1].size() == 1 &&
                std::string_view("nvar").find(fields[1][0]) != std::string_view::npos;
    if (good) {
      s.pos = fields[1][0];
      s.gloss = trim(fields[3]);
      for (std::string_view item : splitAt(fields[2], "|")) {
        const auto parts = splitAt(item, "#");
        WordnetLemma l;
        if (parts.size() != 3 || trim(parts[0]).empty() || !readCount(parts[1], l.sense) ||
            !readCount(parts[2], l.tags)) {
          good = false;
          break;
        }
        l.lemma = trim(parts[0]);
        s.english.push_back(std::move(l));
      }
      for (std::string_view item : good ? splitAt(fields[4], "|") : std::vector<std::string_view>{}) {
        const auto parts = splitAt(item, "#");
        WordnetWord w;
        if (parts.size() > 2 || trim(parts[0]).empty() ||
            (parts.size() == 2 && !readCount(parts[1], w.count))) {
          good = false;
          break;
        }
        w.word = trim(parts[0]);
        s.indonesian.push_back(std::move(w));
      }
    }
    if (!good) {
      ++badLines;
      continue;
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<FunctionWord> ParseFunctionWords(std::string_view text, std::size_t& badLines) {
  std::vector<FunctionWord> out;
  badLines = 0;
  for (std::string_view line : lines(text)) {
    if (isComment(line)) continue;
    const auto fields = splitAt(line, "|");
    FunctionWord w;
    if (fields.size() == 4) {
      w.headword = trim(fields[0]);
      w.marker = trim(fields[1]);
      w.gloss = trim(fields[3]);
      for (std::string_view term : splitAt(fields[2], ","))
        if (!trim(term).empty()) w.terms.emplace_back(trim(term));
    }
    if (w.headword.empty() || w.terms.empty() || w.marker.find(' ') != std::string::npos) {
      ++badLines;
      continue;
    }
    out.push_back(std::move(w));
  }
  return out;
}

bool ReadWordnetJoin(const std::string& path, std::vector<WordnetSynset>& out,
                     std::size_t& badLines, std::string& error) {
  std::string text;
  if (!ReadDictdText(path, text, error)) return false;
  out = ParseWordnetJoin(text, badLines);
  return true;
}

bool ReadFunctionWords(const std::string& path, std::vector<FunctionWord>& out,
                       std::size_t& badLines, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, text, error)) return false;
  out = ParseFunctionWords(text, badLines);
  return true;
}

}  // namespace tavro2
