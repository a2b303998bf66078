// Stemmer: Hunspell's stems of English and Indonesian words (digunakan ->
// guna, memiliki -> milik, looked -> look).
//
// Loading a Hunspell dictionary takes about a tenth of a second, so a
// Stemmer loads both on a thread of its own, started by the constructor; the
// first stems() call waits for that thread to end (joins it) and from then
// on uses the dictionaries it left. A dictionary whose .aff or .dic file is
// missing only leaves its language without stems. Every call is safe from
// any thread: one lock serialises the Hunspell objects, which are not.
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

  // Starts loading `dictionaryDir` (ending with '/') + "en_US.aff"/".dic"
  // and "id_ID.aff"/".dic" on a background thread.
  explicit Stemmer(std::string dictionaryDir = kSystemDictionaryDir);
  ~Stemmer();  // waits for the loading thread
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

  // The program's one stemmer over the system dictionaries, created (and its
  // loading started) by the first call; it lives until the program ends.
  static std::shared_ptr<Stemmer> shared();

 private:
  struct Dictionary;
  void waitForLoading();

  std::string dir_;
  std::array<std::unique_ptr<Dictionary>, 2> dictionaries_;  // set by the thread only
  std::thread loading_;
  std::once_flag joined_;
  std::mutex mutex_;  // held around every use of a dictionary
};

}  // namespace tavro2
