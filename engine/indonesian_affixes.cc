#include "engine/indonesian_affixes.h"

#include <algorithm>
#include <optional>

namespace tavro2 {

namespace {

constexpr std::size_t kMinRoot = 3;

struct Clitic {
  std::string_view text;
  std::string_view meaning;
};
constexpr Clitic kEnclitics[] = {
    {"nya", "his, her, its; the"}, {"ku", "my; me"}, {"mu", "your; you"}};
constexpr Clitic kParticles[] = {{"lah", "emphasis"}, {"kah", "a question"}, {"pun", "even, also"}};
constexpr Clitic kProclitics[] = {{"ku", "I"}, {"kau", "you"}};

bool isLowerWord(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A stem of kMinRoot letters or more, the enclitic after it and the particle
// (or none) after that: rumahnyalah is rumah, -nya, -lah.
struct EncliticForm {
  std::string_view stem;
  const Clitic* enclitic = nullptr;
  const Clitic* particle = nullptr;
};

std::optional<EncliticForm> encliticForm(std::string_view word) {
  EncliticForm f{word};
  for (const Clitic& p : kParticles) {
    if (f.stem.ends_with(p.text)) {
      f.stem.remove_suffix(p.text.size());
      f.particle = &p;
      break;
    }
  }
  for (const Clitic& e : kEnclitics) {
    if (f.stem.ends_with(e.text) && f.stem.size() >= e.text.size() + kMinRoot) {
      f.stem.remove_suffix(e.text.size());
      f.enclitic = &e;
      return f;
    }
  }
  return std::nullopt;
}

// ku- or kau- and a root of kMinRoot letters or more that is no clitic
// itself (kaulah is kau + -lah, not kau- + lah).
struct ProcliticForm {
  const Clitic* proclitic;
  std::string_view root;
};

std::optional<ProcliticForm> procliticForm(std::string_view word) {
  for (const Clitic& p : kProclitics) {
    if (!word.starts_with(p.text) || word.size() < p.text.size() + kMinRoot) continue;
    const std::string_view root = word.substr(p.text.size());
    const auto same = [root](const Clitic& c) { return c.text == root; };
    if (std::any_of(std::begin(kEnclitics), std::end(kEnclitics), same) ||
        std::any_of(std::begin(kParticles), std::end(kParticles), same))
      continue;
    return ProcliticForm{&p, root};
  }
  return std::nullopt;
}

// A full reduplication, half-half, its second half perhaps with an enclitic.
struct Reduplication {
  std::string_view half;
  std::optional<EncliticForm> clitics;
};

std::optional<Reduplication> reduplication(std::string_view word) {
  const std::size_t at = word.find('-');
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view first = word.substr(0, at), second = word.substr(at + 1);
  if (first.size() < kMinRoot || !isLowerWord(first) || !isLowerWord(second)) return std::nullopt;
  if (second == first) return Reduplication{first, std::nullopt};
  if (const auto f = encliticForm(second); f && f->stem == first) return Reduplication{first, f};
  return std::nullopt;
}

// " + -nya (his, her, its; the)", then the particle's.
std::string encliticNote(const EncliticForm& f) {
  std::string note;
  for (const Clitic* c : {f.enclitic, f.particle})
    if (c) note.append(" + -").append(c->text).append(" (").append(c->meaning).append(")");
  return note;
}

// The part-of-speech markers of an entry's translation, in order: the first
// word of each "; " group that is one.
std::vector<std::string_view> partsOfSpeech(std::string_view translation) {
  static constexpr std::string_view kMarkers[] = {"kb", "kkt", "kki", "ks", "kd", "kk"};
  std::vector<std::string_view> out;
  for (std::size_t at = 0; at < translation.size();) {
    const std::size_t end = std::min(translation.find("; ", at), translation.size());
    const std::string_view group = translation.substr(at, end - at);
    const std::string_view first = group.substr(0, group.find(' '));
    if (std::find(std::begin(kMarkers), std::end(kMarkers), first) != std::end(kMarkers))
      out.push_back(first);
    at = end + 2;
  }
  return out;
}

// What a reduplicated word means, by the first part-of-speech marker of its
// root's entry: nouns become plural or varied, adjectives and adverbs
// intensified, verbs repeated or done at leisure. Empty for another marker
// or none.
std::string_view reduplicationMeaning(std::string_view translation) {
  const std::vector<std::string_view> markers = partsOfSpeech(translation);
  const std::string_view first = markers.empty() ? std::string_view() : markers[0];
  if (first == "kb") return "more than one, or all kinds of";
  if (first == "ks" || first == "kk") return "really, truly; or as an adverb";
  if (first == "kkt" || first == "kki") return "again and again, or at leisure";
  return {};
}

bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// The syllables of a word, by its vowels; ai, au, ei and oi are one.
std::size_t syllables(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!isVowel(s[i])) continue;
    ++n;
    const std::string_view pair = s.substr(i, 2);
    if (pair == "ai" || pair == "au" || pair == "ei" || pair == "oi") ++i;
  }
  return n;
}

// `s` without its ending `e` when what stays is long enough.
bool strip(std::string_view s, std::string_view e, std::string_view& out) {
  if (!s.ends_with(e) || s.size() < e.size() + kMinRoot) return false;
  out = s.substr(0, s.size() - e.size());
  return true;
}

// The roots of a suffix-free stem: the stem (unless `withStem` is false),
// then without a prefix.
void addPrefixRoots(std::string_view s, std::vector<std::string>& out, bool withStem = true) {
  if (withStem) out.emplace_back(s);
  auto rest = [&](std::size_t n) { return s.size() >= n + kMinRoot ? s.substr(n) : ""; };
  for (std::string_view p : {"di", "ter", "ke", "se", "ber", "be", "per"}) {
    const std::string_view root = s.starts_with(p) ? rest(p.size()) : "";
    if (root.empty()) continue;
    // be- is ber- before r and before a first syllable in er (berumah,
    // bekerja, beternak); bekasi is no be- + kasi, berzakat no be- + rzakat.
    const bool rVowel = root[0] == 'r' && root.size() > 1 && isVowel(root[1]);
    if (p == "be" && !rVowel && root.substr(1, 2) != "er") continue;
    out.emplace_back(root);
  }
  for (std::string_view m : {"me", "pe"}) {
    if (!s.starts_with(m)) continue;
    const std::string_view r = s.substr(2);
    auto add = [&](std::string_view prefix, std::string_view root) {
      if (root.size() + prefix.size() >= kMinRoot)
        out.push_back(std::string(prefix) + std::string(root));
    };
    if (r.starts_with("ng") && r.size() > 2) {
      // Before a vowel the root may have lost its k (mengambil -> ambil,
      // mengirim -> kirim). A short remainder more often has: up to three
      // letters or one syllable, the k first (pengodean -> kode, not ode).
      const std::string_view root = r.substr(2);
      const bool kFirst = isVowel(root[0]) && (root.size() <= 3 || syllables(root) == 1);
      if (kFirst) add("k", root);
      add("", root);
      if (isVowel(root[0]) && !kFirst) add("k", root);
      // menge- also stands before a root of one syllable (mengecat -> cat)
      // and before ke- (mengetengahkan -> tengah), tried last: mengekor is
      // ekor, mengelola kelola.
      if (r.starts_with("nge") && r.size() >= 3 + kMinRoot) add("", r.substr(3));
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
  std::vector<std::string> all;
  // ber- before a noun in -an comes first (berbahan -> bahan, not bah;
  // berpendidikan -> pendidikan, not pendidik).
  if (word.starts_with("ber") && word.ends_with("an")) all.emplace_back(word.substr(3));
  for (std::string_view stem : stems) addPrefixRoots(stem, all);
  // -i goes with a verb's prefix (ditandai, menyukai, perbaiki); another
  // word ending in i is mostly a root or a name of its own (praktisi,
  // bekasi), tried without a prefix only.
  for (auto it = bare.rbegin(); it != bare.rend(); ++it) {
    if (!strip(*it, "i", s)) continue;
    const bool verb =
        s.starts_with("me") || s.starts_with("di") || s.starts_with("ter") || s.starts_with("per");
    addPrefixRoots(s, all, verb);
  }
  for (std::string& c : all) {
    if (out.size() == kMaxAffixCandidates) break;
    if (c.size() >= kMinRoot && c != word && std::find(out.begin(), out.end(), c) == out.end())
      out.push_back(std::move(c));
  }
  return out;
}

std::vector<std::string> indonesianCliticRoots(std::string_view word) {
  std::vector<std::string> out;
  if (const auto r = reduplication(word)) {
    if (r->clitics) out.push_back(std::string(r->half) + "-" + std::string(r->half));
    out.emplace_back(r->half);
    return out;
  }
  if (!isLowerWord(word)) return out;
  if (const auto f = encliticForm(word)) out.emplace_back(f->stem);
  if (const auto p = procliticForm(word); p && (out.empty() || out[0] != p->root))
    out.emplace_back(p->root);
  return out;
}

bool indonesianRootFits(std::string_view word, std::string_view root,
                        std::string_view rootTranslation) {
  const auto p = procliticForm(word);
  if (!p || p->root != root) return true;
  const std::vector<std::string_view> markers = partsOfSpeech(rootTranslation);
  return std::any_of(markers.begin(), markers.end(),
                     [](std::string_view m) { return m == "kkt" || m == "kki"; });
}

std::string indonesianFormNote(std::string_view word, std::string_view root,
                               std::string_view rootTranslation) {
  std::string note(root);
  if (const auto r = reduplication(word); r && r->half == root) {
    if (r->clitics) return note + ", repeated," + encliticNote(*r->clitics);
    const std::string_view meaning = reduplicationMeaning(rootTranslation);
    note += ", repeated";
    if (!meaning.empty()) note.append(" (").append(meaning).append(")");
    return note;
  }
  if (const auto f = encliticForm(word); f && f->stem == root) return note + encliticNote(*f);
  if (const auto p = procliticForm(word); p && p->root == root) {
    const Clitic& c = *p->proclitic;
    return std::string(c.text) + "- (" + std::string(c.meaning) + ") + " + note;
  }
  return {};
}

}  // namespace tavro2
