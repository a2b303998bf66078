// DictionaryStore: the three data files in memory, filled once by the loader.
//
// The loader thread writes each file's two lists and then publishes its count
// with a release store; readers load the count with acquire and touch the
// lists only below it, so a reader never sees a count without its lists. A
// file not yet loaded reads as empty lists with a count of 0.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "engine/data_file.h"
#include "engine/word_list.h"

namespace tavro2 {

enum class DataKind { kEnglish = 0, kIndonesian = 1, kPhrase = 2 };

// Per-file outcome as the loader saw it; kPending until the file is read.
enum class LoadState : std::uint8_t { kPending, kLoaded, kMissing, kDamaged };

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

 private:
  struct File {
    WordList headwords;
    WordList translations;
    std::atomic<std::int32_t> count{0};
    std::atomic<LoadState> state{LoadState::kPending};
    std::atomic<bool> published{false};
  };
  std::array<File, 3> files_;
};

// Loads one data file into the store. The file's name (A-Z folded) selects
// the target: dataen.dat, dataid.dat or datapr.dat; any other name is read
// and dropped. Returns the file's outcome; a missing or damaged file is
// published too (with what decoded, often nothing) so its state is known.
// When *cancel turns true the load stops between chunks, nothing is
// published and the result is kPending.
LoadState loadDataFile(DictionaryStore& store, const std::string& path,
                       const std::atomic<bool>* cancel = nullptr);

}  // namespace tavro2
