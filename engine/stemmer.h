// Stemmer: Hunspell's stems of English and Indonesian words (digunakan ->
// guna, memiliki -> milik, looked -> look).
//
// Loading a Hunspell dictionary takes tens of milliseconds (English about
// three times Indonesian), so each language loads on a thread of its own,
// started by prepare() or by the first call that needs the language; such a
// call waits for that language only (joins its thread) and from then on uses
// the dictionary it left. The threads run at the lowest priority: a load
// started ahead of need takes only what the program leaves idle, and one
// that is waited for has the processor to itself anyway. A dictionary whose
// .aff or .dic file is missing only leaves its language without stems. Every
// call is safe from any thread: one lock per language serialises its Hunspell
// object, which is not.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tavro2 {

enum class StemLanguage : std::uint8_t { kEnglish = 0, kIndonesian = 1 };

class Stemmer {
 public:
  // Debian's hunspell-en-us and hunspell-id install here.
  static constexpr char kSystemDictionaryDir[] = "/usr/share/hunspell/";

  // Reads `dictionaryDir` (ending with '/') + "en_US.aff"/".dic" and
  // "id_ID.aff"/".dic" when they are first needed; nothing loads yet.
  explicit Stemmer(std::string dictionaryDir = kSystemDictionaryDir);
  ~Stemmer();  // waits for the loading threads that were started
  Stemmer(const Stemmer&) = delete;
  Stemmer& operator=(const Stemmer&) = delete;

  // The stems Hunspell gives for a Windows-1252 word, in its order, in
  // 1252: never the word itself, no stem twice, none that 1252 cannot hold,
  // none with a capital (names and abbreviations). Empty when the language has no dictionary or the
  // word cannot be put into the dictionary's encoding.
  std::vector<std::string> stems(StemLanguage language, std::string_view word);
  // Whether the language's dictionary holds the 1252 word as it is spelt
  // (Hunspell's spelling check); false without the dictionary.
  bool knows(StemLanguage language, std::string_view word);
  // Hunspell's spelling suggestions for a misspelt 1252 word, in its order,
  // in 1252: none twice and none that 1252 cannot hold. Hunspell takes
  // 5-30 ms for one word, so callers ask only when nothing nearer was found.
  std::vector<std::string> suggestions(StemLanguage language, std::string_view word);

  // Starts loading the language's dictionary unless that has begun; returns
  // at once.
  void prepare(StemLanguage language);

  // The program's one stemmer over the system dictionaries, created by the
  // first call; it lives until the program ends.
  static std::shared_ptr<Stemmer> shared();

 private:
  struct Dictionary;
  struct Language {
    std::unique_ptr<Dictionary> dictionary;  // set by the loading thread only
    std::once_flag started;
    std::thread loading;
    std::once_flag joined;
    std::mutex mutex;  // held around every use of the dictionary
  };
  // The language's dictionary once loaded (null when it has none): starts
  // the load if need be and waits for it.
  Dictionary* loaded(StemLanguage language);
  // Runs Hunspell's `query` on the encoded word and returns its answers in
  // 1252, without the word itself, repeats, or (with `dropCapitals`) words
  // with a capital.
  template <typename Query>
  std::vector<std::string> ask(StemLanguage language, std::string_view word, bool dropCapitals,
                               Query query);

  std::string dir_;
  std::array<Language, 2> languages_;
};

}  // namespace tavro2
