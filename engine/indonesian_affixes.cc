#include "engine/indonesian_affixes.h"

#include <algorithm>

namespace tavro2 {

namespace {

constexpr std::size_t kMinRoot = 3;

bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// `s` without its ending `e` when what stays is long enough.
bool strip(std::string_view s, std::string_view e, std::string_view& out) {
  if (!s.ends_with(e) || s.size() < e.size() + kMinRoot) return false;
  out = s.substr(0, s.size() - e.size());
  return true;
}

// The roots of a suffix-free stem: the stem, then without a prefix.
void addPrefixRoots(std::string_view s, std::vector<std::string>& out) {
  out.emplace_back(s);
  auto rest = [&](std::size_t n) { return s.size() >= n + kMinRoot ? s.substr(n) : ""; };
  for (std::string_view p : {"di", "ter", "ke", "se", "ber", "be", "per"})
    if (s.starts_with(p) && !rest(p.size()).empty()) out.emplace_back(rest(p.size()));
  for (std::string_view m : {"me", "pe"}) {
    if (!s.starts_with(m)) continue;
    const std::string_view r = s.substr(2);
    auto add = [&](std::string_view prefix, std::string_view root) {
      if (root.size() + prefix.size() >= kMinRoot)
        out.push_back(std::string(prefix) + std::string(root));
    };
    if (r.starts_with("nge") && r.size() >= 3 + kMinRoot) {
      add("", r.substr(3));  // mengecat -> cat
    } else if (r.starts_with("ng") && r.size() > 2) {
      const std::string_view root = r.substr(2);
      add("", root);                         // mengambil -> ambil
      if (isVowel(root[0])) add("k", root);  // mengirim -> kirim
    } else if (r.starts_with("ny") && r.size() > 2 && isVowel(r[2])) {
      add("s", r.substr(2));  // menyapu -> sapu
    } else if ((r.starts_with("m") || r.starts_with("n")) && r.size() > 1) {
      // Before a vowel mem- and men- stand for a dropped p or t (memakai ->
      // pakai, menulis -> tulis) or keep the root's own nasal (memakan ->
      // makan); before a consonant they are the prefix alone (membaca ->
      // baca, mendengar -> dengar).
      const std::string_view root = r.substr(1);
      if (isVowel(root[0])) {
        add(r[0] == 'm' ? "p" : "t", root);
        add(r.substr(0, 1), root);
      } else {
        add("", root);
      }
    } else if (!r.empty() && std::string_view("lrwy").find(r[0]) != std::string_view::npos) {
      add("", r);  // melihat -> lihat
    }
  }
}

}  // namespace

std::vector<std::string> indonesianRootCandidates(std::string_view word) {
  std::vector<std::string> out;
  if (word.size() < kMinRoot + 2 ||
      !std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
    return out;
  // Suffix-free stems: the word, without a particle, without a possessive;
  // each of those also without -kan or -an, and without -i.
  std::vector<std::string_view> bare = {word};
  std::string_view s;
  for (std::string_view e : {"lah", "kah", "pun"})
    if (strip(word, e, s)) bare.push_back(s);
  for (std::size_t i = 0, n = bare.size(); i < n; ++i)
    for (std::string_view e : {"nya", "ku", "mu"})
      if (strip(bare[i], e, s)) bare.push_back(s);
  // The order to try them: without -kan or -an first (tampilan -> tampil),
  // then the bare stems, and without -i last, since many roots end in i
  // (memakai -> pakai, not maka).
  std::vector<std::string_view> stems;
  for (auto it = bare.rbegin(); it != bare.rend(); ++it) {
    if (strip(*it, "kan", s)) stems.push_back(s);  // -kan before -an
    if (strip(*it, "an", s)) stems.push_back(s);
  }
  stems.insert(stems.end(), bare.rbegin(), bare.rend());
  for (auto it = bare.rbegin(); it != bare.rend(); ++it)
    if (strip(*it, "i", s)) stems.push_back(s);

  std::vector<std::string> all;
  for (std::string_view stem : stems) addPrefixRoots(stem, all);
  for (std::string& c : all) {
    if (out.size() == kMaxAffixCandidates) break;
    if (c.size() >= kMinRoot && c != word && std::find(out.begin(), out.end(), c) == out.end())
      out.push_back(std::move(c));
  }
  return out;
}

}  // namespace tavro2
