#include "engine/stemmer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <hunspell/hunspell.hxx>
#include <optional>

#include "engine/cp1252.h"

namespace tavro2 {

namespace {

// Hunspell does not analyse longer words; such a query has no stems.
constexpr std::size_t kMaxWordBytes = 100;

// The encodings a dictionary's SET line may name that we convert; any other
// one is used for plain ASCII words only.
enum class Encoding : std::uint8_t { kUtf8, kLatin1, kAscii };

Encoding encodingOf(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "UTF-8" || name == "UTF8") return Encoding::kUtf8;
  if (name == "ISO8859-1" || name == "ISO-8859-1") return Encoding::kLatin1;
  return Encoding::kAscii;
}

bool hasByteIn(std::string_view s, unsigned char lo, unsigned char hi) {
  return std::any_of(s.begin(), s.end(), [=](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c >= lo && c <= hi;
  });
}

// 1252 agrees with Latin-1 except at 0x80-0x9F (controls in Latin-1), and
// ASCII is what all three share: in those encodings a text is the same bytes
// both ways when it avoids the bytes one side lacks.
std::optional<std::string> sameBytes(Encoding e, std::string_view text) {
  if (hasByteIn(text, 0x80, e == Encoding::kLatin1 ? 0x9F : 0xFF)) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> toDictionary(Encoding e, std::string_view word) {
  return e == Encoding::kUtf8 ? cp1252ToUtf8(word) : sameBytes(e, word);
}

std::optional<std::string> fromDictionary(Encoding e, std::string_view stem) {
  if (e != Encoding::kUtf8) return sameBytes(e, stem);
  // '?' stands for what 1252 cannot hold; no stem has it of its own.
  std::string s = utf8To1252(stem);
  if (s.find('?') != std::string::npos) return std::nullopt;
  return s;
}

bool readable(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

// Hunspell builds a dictionary from tens of thousands of small allocations.
// A thread's malloc arena grows a page at a time, every growth an mprotect
// call that stalls the other threads' page faults and flushes their TLBs,
// some 800 of them for the English dictionary, while the data loads beside
// it. Growing the arena beforehand in blocks just under malloc's mmap
// threshold makes that a few dozen calls; freed, the room stays the arena's.
void presizeArena(std::size_t bytes) {
  constexpr std::size_t kBlock = 120 * 1024;
  std::vector<void*> blocks;
  blocks.reserve(bytes / kBlock + 1);
  for (std::size_t n = 0; n < bytes; n += kBlock) blocks.push_back(std::malloc(kBlock));
  for (void* block : blocks) std::free(block);
}

// About what each dictionary takes once loaded.
constexpr std::size_t kArenaBytes[] = {8u << 20, 3u << 20};

}  // namespace

struct Stemmer::Dictionary {
  Dictionary(const std::string& aff, const std::string& dic)
      : hunspell(aff.c_str(), dic.c_str()), encoding(encodingOf(hunspell.get_dic_encoding())) {}
  Hunspell hunspell;
  Encoding encoding;
};

Stemmer::Stemmer(std::string dictionaryDir) : dir_(std::move(dictionaryDir)) {}

Stemmer::~Stemmer() {
  for (Language& l : languages_)
    if (l.loading.joinable()) l.loading.join();
}

void Stemmer::prepare(StemLanguage language) {
  static constexpr const char* kNames[] = {"en_US", "id_ID"};
  const auto i = static_cast<std::size_t>(language);
  Language& l = languages_[i];
  std::call_once(l.started, [&] {
    l.loading = std::thread([&l, i, base = dir_ + kNames[i]] {
      // Lowest priority for this thread alone (a thread id names one
      // thread to setpriority on Linux); failing that it runs as it is.
      ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
      if (readable(base + ".aff") && readable(base + ".dic")) {
        presizeArena(kArenaBytes[i]);
        l.dictionary = std::make_unique<Dictionary>(base + ".aff", base + ".dic");
      }
    });
  });
}

// The join is the hand-over: what the thread wrote is visible after it.
Stemmer::Dictionary* Stemmer::loaded(StemLanguage language) {
  prepare(language);
  Language& l = languages_[static_cast<std::size_t>(language)];
  std::call_once(l.joined, [&] {
    if (l.loading.joinable()) l.loading.join();
  });
  return l.dictionary.get();
}

template <typename Query>
std::vector<std::string> Stemmer::ask(StemLanguage language, std::string_view word,
                                      bool dropCapitals, Query query) {
  std::vector<std::string> out;
  Dictionary* d = loaded(language);
  if (!d || word.empty() || word.size() > kMaxWordBytes) return out;
  const std::optional<std::string> encoded = toDictionary(d->encoding, word);
  if (!encoded) return out;
  std::vector<std::string> found;
  {
    const std::lock_guard<std::mutex> lock(languages_[static_cast<std::size_t>(language)].mutex);
    found = query(d->hunspell, *encoded);
  }
  for (const std::string& s : found) {
    std::optional<std::string> answer = fromDictionary(d->encoding, s);
    if (!answer || answer->empty() || (dropCapitals && hasByteIn(*answer, 'A', 'Z'))) continue;
    if (*answer != word && std::find(out.begin(), out.end(), *answer) == out.end())
      out.push_back(std::move(*answer));
  }
  return out;
}

// A capitalised stem is a name or an abbreviation, no base of a word.
std::vector<std::string> Stemmer::stems(StemLanguage language, std::string_view word) {
  return ask(language, word, true, [](Hunspell& h, const std::string& w) { return h.stem(w); });
}

std::vector<std::string> Stemmer::suggestions(StemLanguage language, std::string_view word) {
  return ask(language, word, false, [](Hunspell& h, const std::string& w) { return h.suggest(w); });
}

bool Stemmer::knows(StemLanguage language, std::string_view word) {
  Dictionary* d = loaded(language);
  if (!d || word.empty() || word.size() > kMaxWordBytes) return false;
  const std::optional<std::string> encoded = toDictionary(d->encoding, word);
  const std::lock_guard<std::mutex> lock(languages_[static_cast<std::size_t>(language)].mutex);
  return encoded && d->hunspell.spell(*encoded);
}

std::shared_ptr<Stemmer> Stemmer::shared() {
  static const std::shared_ptr<Stemmer> stemmer = std::make_shared<Stemmer>();
  return stemmer;
}

}  // namespace tavro2
