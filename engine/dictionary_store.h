// DictionaryStore: the three data files in memory, filled once by the loader,
// and the English headwords' transcriptions beside them.
//
// The loader thread writes each file's two lists and then publishes its count
// with a release store; readers load the count with acquire and touch the
// lists only below it, so a reader never sees a count without its lists. A
// file not yet loaded reads as empty lists with a count of 0.
//
// dataipa.dat is laid out as the others are: block 1 holds the English
// headwords that have a transcription, block 2 their transcriptions (IPA
// without slashes, "haʊs"), line for line. Both are UTF-8 and the headwords
// are sorted by their bytes, so a headword is found by binary search. The
// file is optional: missing, damaged or out of order, it only means that no
// word shows a transcription.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

#include "engine/data_file.h"
#include "engine/word_list.h"

namespace tavro2 {

enum class DataKind { kEnglish = 0, kIndonesian = 1, kPhrase = 2 };

// Per-file outcome as the loader saw it; kPending until the file is read.
enum class LoadState : std::uint8_t { kPending, kLoaded, kMissing, kDamaged };

inline constexpr const char* kTranscriptionFileName = "dataipa.dat";

class DictionaryStore {
 public:
  DictionaryStore() = default;
  DictionaryStore(const DictionaryStore&) = delete;
  DictionaryStore& operator=(const DictionaryStore&) = delete;

  // Readers (any thread). Lists of a file whose count is 0 are empty.
  std::int32_t count(DataKind kind) const;
  const WordList& headwords(DataKind kind) const;
  const WordList& translations(DataKind kind) const;
  LoadState state(DataKind kind) const;

  // Writer (the loader, once per file): stores both lists, then the count,
  // then the state. A second publish of the same file is ignored. The count
  // is the number of headword lines (capped at INT32_MAX).
  void publish(DataKind kind, WordList headwords, WordList translations, LoadState state);

  // The transcription of an English headword (Windows-1252, as dataen.dat
  // writes it): UTF-8 IPA, or the empty text when dataipa.dat gives none or
  // is not loaded yet. Any thread; the view stays valid with the store.
  std::string_view ipaOf(std::string_view headword) const;
  // How many headwords have one (0 until the file is published), and the
  // file's outcome.
  std::int32_t transcriptionCount() const {
    return transcriptions_.count.load(std::memory_order_acquire);
  }
  LoadState transcriptionState() const {
    return transcriptions_.state.load(std::memory_order_acquire);
  }
  // Writer (the loader, once): as publish. Lists of different lengths count
  // only the lines both have.
  void publishTranscriptions(WordList headwords, WordList transcriptions, LoadState state);

 private:
  struct File {
    WordList headwords;
    WordList translations;
    std::atomic<std::int32_t> count{0};
    std::atomic<LoadState> state{LoadState::kPending};
    std::atomic<bool> published{false};
  };
  std::array<File, 3> files_;
  File transcriptions_;
  static void publishFile(File& f, WordList headwords, WordList translations, LoadState state);
};

// Loads one data file into the store. The file's name (A-Z folded) selects
// the target: dataen.dat, dataid.dat or datapr.dat; any other name is read
// and dropped. Returns the file's outcome; a missing or damaged file is
// published too (with what decoded, often nothing) so its state is known.
// When *cancel turns true the load stops between chunks, nothing is
// published and the result is kPending.
LoadState loadDataFile(DictionaryStore& store, const std::string& path,
                       const std::atomic<bool>* cancel = nullptr);

// Loads dataipa.dat (at `path`) into the store's transcriptions, as
// loadDataFile does a data file. Headwords out of byte order make the file
// damaged and nothing of it is kept: the search could not be trusted.
LoadState loadTranscriptionFile(DictionaryStore& store, const std::string& path,
                                const std::atomic<bool>* cancel = nullptr);

}  // namespace tavro2
