#include "tools/text_1252.h"

#include <algorithm>

#include "engine/cp1252.h"

namespace tavro2 {
namespace {

// Plain letters for U+0100..U+017F; '*' marks the few that need two
// characters (see standIn) or that 1252 holds itself.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "Ii**JjKkkLlLlLlL"
    "lLlNnNnNn***OoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

struct Greek {
  char32_t cp;
  const char* name;
};
constexpr Greek kGreek[] = {
    {0x0391, "Alpha"}, {0x0392, "Beta"},    {0x0393, "Gamma"},  {0x0394, "Delta"},
    {0x03A0, "Pi"},    {0x03A3, "Sigma"},   {0x03A9, "Omega"},  {0x03B1, "alpha"},
    {0x03B2, "beta"},  {0x03B3, "gamma"},   {0x03B4, "delta"},  {0x03B5, "epsilon"},
    {0x03B8, "theta"}, {0x03BB, "lambda"},  {0x03BC, "mu"},     {0x03C0, "pi"},
    {0x03C1, "rho"},   {0x03C3, "sigma"},   {0x03C4, "tau"},    {0x03C6, "phi"},
    {0x03C9, "omega"},
};

// The closest plain text for a code point that 1252 lacks, or nullptr.
// The result may be empty (marks that only modify the letter before them).
const char* standIn(char32_t cp) {
  static thread_local char one[2];
  auto single = [](char c) {
    one[0] = c;
    one[1] = 0;
    return static_cast<const char*>(one);
  };
  if (cp >= 0x0100 && cp <= 0x017F) {
    switch (cp) {
      case 0x0132: return "IJ";
      case 0x0133: return "ij";
      case 0x0149: return "'n";
      case 0x014A: return "NG";
      case 0x014B: return "ng";
      default: return single(kLatinExtendedA[cp - 0x0100]);
    }
  }
  if (cp >= 0x01CD && cp <= 0x01DC) return single("AaIiOoUuUuUuUuUu"[cp - 0x01CD]);  // pinyin
  if (cp >= 0x0218 && cp <= 0x021B) return single("SsTt"[cp - 0x0218]);  // comma below
  if (cp >= 0x0300 && cp <= 0x036F) return "";  // combining accents: keep the base letter
  if (cp >= 0x2080 && cp <= 0x2089) return single(static_cast<char>('0' + (cp - 0x2080)));
  if (cp >= 0x2074 && cp <= 0x2079) return single(static_cast<char>('0' + (cp - 0x2070)));
  switch (cp) {
    case 0x0180: return "b";
    case 0x0111: return "d";
    case 0x02B9: case 0x02BB: case 0x02BC: case 0x02BD: case 0x2032: return "'";
    case 0x02BA: case 0x2033: return "\"";
    case 0x2010: case 0x2011: case 0x2012: case 0x2015: case 0x2043: case 0x2212: return "-";
    case 0x2044: case 0x2215: return "/";
    case 0x2070: return "0";
    case 0x200B: case 0x200C: case 0x200D: case 0x2060: case 0xFEFF: case 0x00AD: return "";
    default: break;
  }
  for (const Greek& g : kGreek)
    if (g.cp == cp) return g.name;
  return nullptr;
}

bool isSpaceCode(char32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp < 0xA1) || (cp >= 0x2000 && cp <= 0x200A) ||
         cp == 0x2028 || cp == 0x2029 || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

// Strict UTF-8: the next code point, or nothing for a malformed sequence.
std::optional<char32_t> nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  int extra;
  char32_t cp, min;
  if ((b & 0xE0) == 0xC0) {
    extra = 1, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, cp = b & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) return std::nullopt;  // cut short
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += extra + 1;
  return cp;
}

}  // namespace

std::string join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

void addUnique(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

std::string collapseSpaces(std::string_view s) {
  std::string out;
  bool space = false;
  for (char c : s) {
    if (c == ' ') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

// An Indonesian term (already 1252) as a headword of dataid.dat or
// datapr.dat: bracketed optional parts dropped ("(orang) brengsek" ->
// "brengsek"), a lone word's "!" or "?" dropped, A-Z lowered. Empty when
// nothing usable is left.
std::string indonesianHeadword(std::string_view term) {
  std::string text;
  int depth = 0;
  for (char c : term) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      text += c;
    }
  }
  if (depth > 0) text = std::string(term);  // unbalanced: keep the term as written
  text = collapseSpaces(text);
  if (text.find(' ') == std::string::npos)
    while (!text.empty() && (text.back() == '!' || text.back() == '?')) text.pop_back();
  if (text.find('=') != std::string::npos) return {};
  if (std::none_of(text.begin(), text.end(),
                   [](char c) { return isAlnum1252(static_cast<unsigned char>(c)); }))
    return {};
  return foldAscii(text);
}

std::optional<std::string> plainText1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto cp = nextCodePoint(utf8, i);
    if (!cp) return std::nullopt;
    if (isSpaceCode(*cp)) {
      out += ' ';
      continue;
    }
    const char c = cp1252Of(*cp);
    if (c != '?' || *cp == U'?') {
      out += c;
      continue;
    }
    const char* plain = standIn(*cp);
    if (!plain) return std::nullopt;
    out += plain;
  }
  return collapseSpaces(out);
}

std::string sortKey1252(std::string_view text) {
  // Plain letters for 0xC0..0xFF; two-letter ones are spelled out below.
  static constexpr std::string_view kLatin1 =
      "aaaaaa*ceeeeiiiidnooooo\xD7ouuuuy**aaaaaa*ceeeeiiiidnooooo\xF7ouuuuy*y";
  static_assert(kLatin1.size() == 64);
  std::string key;
  key.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') {
      key += static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC6 || c == 0xE6) {
      key += "ae";
    } else if (c == 0xDE || c == 0xFE) {
      key += "th";
    } else if (c == 0xDF) {
      key += "ss";
    } else if (c >= 0xC0) {
      key += kLatin1[c - 0xC0];
    } else if (c == 0x8A || c == 0x9A) {
      key += 's';
    } else if (c == 0x8E || c == 0x9E) {
      key += 'z';
    } else if (c == 0x8C || c == 0x9C) {
      key += "oe";
    } else if (c == 0x9F) {
      key += 'y';
    } else {
      key += ch;
    }
  }
  return key;
}

}  // namespace tavro2
