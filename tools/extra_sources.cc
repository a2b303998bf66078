#include "tools/extra_sources.h"

#include <algorithm>
#include <optional>

#include "engine/cp1252.h"
#include "tools/dictd_reader.h"
#include "tools/text_fields.h"

namespace tavro2 {
namespace {

bool isComment(std::string_view line) {
  line = trimBlanks(line);
  return line.empty() || line.front() == '#';
}

std::optional<WordnetSynset> parseSynset(std::string_view line) {
  const auto fields = splitAt(line, "\t");
  if (fields.size() != 5 || fields[1].size() != 1 ||
      std::string_view("nvar").find(fields[1][0]) == std::string_view::npos)
    return std::nullopt;
  WordnetSynset s;
  s.pos = fields[1][0];
  s.gloss = trimBlanks(fields[3]);
  for (std::string_view item : splitAt(fields[2], "|")) {
    const auto parts = splitAt(item, "#");
    WordnetLemma l;
    if (parts.size() != 3 || trimBlanks(parts[0]).empty() || !readCount(parts[1], l.sense) ||
        !readCount(parts[2], l.tags))
      return std::nullopt;
    l.lemma = trimBlanks(parts[0]);
    s.english.push_back(std::move(l));
  }
  for (std::string_view item : splitAt(fields[4], "|")) {
    const auto parts = splitAt(item, "#");
    WordnetWord w;
    if (parts.size() > 2 || trimBlanks(parts[0]).empty() ||
        (parts.size() == 2 && !readCount(parts[1], w.count)))
      return std::nullopt;
    w.word = trimBlanks(parts[0]);
    s.indonesian.push_back(std::move(w));
  }
  return s;
}

std::optional<FunctionWord> parseFunctionWord(std::string_view line) {
  const auto fields = splitAt(line, "|");
  if (fields.size() != 4) return std::nullopt;
  FunctionWord w;
  w.headword = trimBlanks(fields[0]);
  w.marker = trimBlanks(fields[1]);
  w.gloss = trimBlanks(fields[3]);
  for (std::string_view term : splitAt(fields[2], ","))
    if (!trimBlanks(term).empty()) w.terms.emplace_back(trimBlanks(term));
  if (w.headword.empty() || w.terms.empty() || w.marker.find(' ') != std::string::npos)
    return std::nullopt;
  return w;
}

// Every line that is no comment through `parse`; the lines it refuses are counted.
template <typename Parse>
auto parseLines(std::string_view text, std::size_t& badLines, Parse parse) {
  std::vector<typename decltype(parse(text))::value_type> out;
  badLines = 0;
  for (std::string_view line : textLines(text)) {
    if (isComment(line)) continue;
    if (auto item = parse(line)) {
      out.push_back(std::move(*item));
    } else {
      ++badLines;
    }
  }
  return out;
}

}  // namespace

std::vector<WordnetSynset> parseWordnetJoin(std::string_view text, std::size_t& badLines) {
  return parseLines(text, badLines, parseSynset);
}

std::vector<FunctionWord> parseFunctionWords(std::string_view text, std::size_t& badLines) {
  return parseLines(text, badLines, parseFunctionWord);
}

void VerbFrames::parse(std::string_view text, std::size_t& badLines) {
  badLines = 0;
  for (std::string_view line : textLines(text)) {
    if (isComment(line)) continue;
    const auto fields = splitAt(line, "\t");
    const std::string_view lemma = fields.size() == 2 ? trimBlanks(fields[0]) : std::string_view();
    if (lemma.empty() || fields[1].empty() ||
        fields[1].find_first_not_of("itb-") != std::string_view::npos) {
      ++badLines;
      continue;
    }
    letters_[foldAscii(lemma)] = fields[1];
  }
}

char VerbFrames::kind(std::string_view lemma, int sense) const {
  const auto it = letters_.find(foldAscii(lemma));
  if (it == letters_.end() || sense < 1 || static_cast<std::size_t>(sense) > it->second.size())
    return 0;
  const char letter = it->second[static_cast<std::size_t>(sense) - 1];
  return letter == '-' ? 0 : letter;
}

char VerbFrames::synsetKind(const WordnetSynset& synset) const {
  if (synset.pos != 'v') return 0;
  bool known = false;
  for (const WordnetLemma& l : synset.english) {
    const char k = kind(l.lemma, l.sense);
    if (k && k != 'i') return 0;
    known = known || k;
  }
  return known ? 'i' : 0;
}

bool VerbFrames::onlyIntransitive(std::string_view lemma) const {
  const auto it = letters_.find(foldAscii(lemma));
  return it != letters_.end() &&
         std::all_of(it->second.begin(), it->second.end(), [](char c) { return c == 'i'; });
}

std::string_view wordnetMarker(char pos, char verbKind) {
  switch (pos) {
    case 'n': return "kb";
    case 'v': return verbKind == 'i' ? "kki" : "kkt";
    case 'a': return "ks";
    default: return "kk";
  }
}

namespace {

// A file read whole (a gzip'd one inflated) and parsed.
template <typename Item>
bool readList(const std::string& path, std::vector<Item> (*parse)(std::string_view, std::size_t&),
              std::vector<Item>& out, std::size_t& badLines, std::string& error) {
  std::string text;
  if (!readDictdText(path, text, error)) return false;
  out = parse(text, badLines);
  return true;
}

}  // namespace

bool readWordnetJoin(const std::string& path, std::vector<WordnetSynset>& out,
                     std::size_t& badLines, std::string& error) {
  return readList(path, &parseWordnetJoin, out, badLines, error);
}

bool readFunctionWords(const std::string& path, std::vector<FunctionWord>& out,
                       std::size_t& badLines, std::string& error) {
  return readList(path, &parseFunctionWords, out, badLines, error);
}

bool readVerbFrames(const std::string& path, VerbFrames& out, std::size_t& badLines,
                    std::string& error) {
  std::string text;
  if (!readDictdText(path, text, error)) return false;
  out.parse(text, badLines);
  return true;
}

}  // namespace tavro2
