#include "engine/query_text.h"

#include <algorithm>

#include "engine/cp1252.h"

namespace tavro2 {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The first (length - k) characters; empty when k is the length or more.
std::string minus(std::string_view w, std::size_t k) {
  return k >= w.size() ? std::string() : std::string(w.substr(0, w.size() - k));
}

}  // namespace

std::string_view trimView(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

std::string trim(std::string_view text) { return std::string(trimView(text)); }

std::string lower(std::string_view text) { return foldAscii(text); }

std::string filterLetters(std::string_view text, std::size_t limit) {
  auto letter = [text](std::size_t i) {
    return i < text.size() && isLetter1252(static_cast<unsigned char>(text[i]));
  };
  std::string out;
  out.reserve(std::min(text.size(), limit));
  for (std::size_t i = 0; i < text.size() && out.size() <= limit; ++i) {
    const char c = text[i];
    if (c == ' ' || letter(i)) {
      out.push_back(c);
    } else if ((c == '-' || c == '\'' || c == '\x92') && i > 0 && letter(i - 1) && letter(i + 1)) {
      out.push_back(c == '-' ? '-' : '\'');
    }
  }
  return out;
}

std::vector<std::string> baseFormCandidates(std::string_view w) {
  std::vector<std::string> out;
  const std::size_t L = w.size();
  auto ends = [w](std::string_view s) { return w.ends_with(s); };

  // 1
  if (ends("ier") || ends("ied") || ends("ily")) out.push_back(minus(w, 3) + "y");
  // 2
  if (ends("ly")) out.push_back(minus(w, 2));
  // 3: "ings" words never end in "ing", so the two stems exclude each other.
  // A stem ending in a doubled letter is tried whole first: "calling" is
  // "call" (not "cal"), "running" is "run" once "runn" is not found.
  // A plural in "ings" is first the plural of its "-ing" noun: "buildings"
  // are buildings (bangunan), not forms of the verb build; the verb comes
  // after, for "ings" nouns the dictionary lacks.
  if (ends("ings")) out.push_back(minus(w, 1));
  if (ends("ing") || ends("ings")) {
    const std::string s = minus(w, ends("ing") ? 3 : 4);
    if (s.size() >= 2 && s[s.size() - 1] == s[s.size() - 2]) {
      out.push_back(s);
      out.push_back(minus(s, 1));
      out.push_back(s + "e");
    } else {
      out.push_back(s + "e");
      out.push_back(s);
    }
  }
  // 4: the letters at positions L-3 and L-2 (1-based) exist only from L = 4.
  // With a doubled letter the whole stem comes first: "added" is "add",
  // "stopped" is "stop" once "stopp" is not found.
  if (ends("ed")) {
    if (L >= 4 && w[L - 4] == w[L - 3]) {
      out.push_back(minus(w, 2));
      out.push_back(minus(w, 3));
    } else {
      out.push_back(minus(w, 1));
      out.push_back(minus(w, 2));
    }
  }
  // 5 ("ings" words have this one already)
  if (ends("s") && !ends("ings")) out.push_back(minus(w, 1));
  // 6
  if (ends("iest")) out.push_back(minus(w, 4) + "y");
  // 7
  for (std::string_view e : {"ries", "cies", "ties", "bies", "fies", "lies"}) {
    if (ends(e)) {
      out.push_back(minus(w, 3) + "y");
      break;
    }
  }
  // 8
  if (ends("er")) out.push_back(minus(w, 2));
  // 9
  if (ends("es")) {
    out.push_back(minus(w, 2));
    out.push_back(minus(w, 1));
  }
  // 10
  if (ends("ment")) out.push_back(minus(w, 4));
  return out;
}

}  // namespace tavro2
