#include "engine/dictionary_store.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include "engine/cp1252.h"

namespace tavro2 {
namespace {

const WordList& emptyList() {
  static const WordList empty;
  return empty;
}

// The store field a data file's name selects, or nothing for any other name.
std::optional<DataKind> kindOfName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string name = foldAscii(slash == std::string::npos ? path : path.substr(slash + 1));
  if (name == "dataen.dat") return DataKind::kEnglish;
  if (name == "dataid.dat") return DataKind::kIndonesian;
  if (name == "datapr.dat") return DataKind::kPhrase;
  return std::nullopt;
}

// A reader's outcome as the store keeps it; kPending for a cancelled read.
LoadState stateOf(DataOutcome outcome) {
  switch (outcome) {
    case DataOutcome::kLoaded: return LoadState::kLoaded;
    case DataOutcome::kMissing: return LoadState::kMissing;
    case DataOutcome::kDamaged: return LoadState::kDamaged;
    case DataOutcome::kCancelled: break;
  }
  return LoadState::kPending;
}

}  // namespace

std::int32_t DictionaryStore::count(DataKind kind) const {
  return files_[static_cast<std::size_t>(kind)].count.load(std::memory_order_acquire);
}

// The lists are written before `published` is set with release; a reader
// that sees it set (acquire) sees them whole, and one that does not gets the
// empty list instead of a list being built.
const WordList& DictionaryStore::headwords(DataKind kind) const {
  const File& f = files_[static_cast<std::size_t>(kind)];
  return f.published.load(std::memory_order_acquire) ? f.headwords : emptyList();
}

const WordList& DictionaryStore::translations(DataKind kind) const {
  const File& f = files_[static_cast<std::size_t>(kind)];
  return f.published.load(std::memory_order_acquire) ? f.translations : emptyList();
}

LoadState DictionaryStore::state(DataKind kind) const {
  return files_[static_cast<std::size_t>(kind)].state.load(std::memory_order_acquire);
}

void DictionaryStore::publish(DataKind kind, WordList headwords, WordList translations,
                              LoadState state) {
  publishFile(files_[static_cast<std::size_t>(kind)], std::move(headwords), std::move(translations),
              state);
}

void DictionaryStore::publishTranscriptions(WordList headwords, WordList transcriptions,
                                            LoadState state) {
  // Lines past the shorter list have nothing to pair with.
  if (headwords.count() > transcriptions.count()) {
    WordList shorter;
    for (std::size_t i = 0; i < transcriptions.count(); ++i) shorter.append(headwords.line(i));
    headwords = std::move(shorter);
  }
  publishFile(transcriptions_, std::move(headwords), std::move(transcriptions), state);
}

std::string_view DictionaryStore::ipaOf(std::string_view headword) const {
  const std::int32_t count = transcriptionCount();
  if (count <= 0 || headword.empty()) return {};
  const WordList& heads = transcriptions_.headwords;
  const std::string key = cp1252ToUtf8(headword);
  // Byte order, as the builder sorts (string_view compares as unsigned char).
  std::size_t lo = 0, hi = std::min<std::size_t>(static_cast<std::size_t>(count), heads.count());
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (heads.line(mid) < key) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo < heads.count() && heads.line(lo) == key ? transcriptions_.translations.line(lo)
                                                     : std::string_view();
}

void DictionaryStore::publishFile(File& f, WordList headwords, WordList translations,
                                  LoadState state) {
  // Each file is published once: a second call would rewrite lists that
  // readers may already hold. Only the loader thread writes, so a relaxed
  // load of its own earlier store is enough here.
  if (f.published.load(std::memory_order_relaxed)) return;
  const std::size_t lines = headwords.count();
  f.headwords = std::move(headwords);
  f.translations = std::move(translations);
  f.published.store(true, std::memory_order_release);
  const auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  f.count.store(static_cast<std::int32_t>(lines < limit ? lines : limit),
                std::memory_order_release);
  f.state.store(state, std::memory_order_release);
}

LoadState loadDataFile(DictionaryStore& store, const std::string& path,
                       const std::atomic<bool>* cancel) {
  DataFileContents contents = readDataFile(path, cancel);
  LoadState state = stateOf(contents.outcome);
  if (state == LoadState::kPending) return state;  // cancelled: nothing is published
  const std::optional<DataKind> kind = kindOfName(path);
  if (!kind) return state;
  WordList headwords, translations;
  try {
    headwords = splitLines(std::move(contents.headwords));
    translations = splitLines(std::move(contents.translations));
  } catch (const std::bad_alloc&) {
    headwords = WordList();  // no memory for the line tables: the file is of no use
    translations = WordList();
    state = LoadState::kDamaged;
  }
  store.publish(*kind, std::move(headwords), std::move(translations), state);
  return state;
}

LoadState loadTranscriptionFile(DictionaryStore& store, const std::string& path,
                                const std::atomic<bool>* cancel) {
  DataFileContents contents = readDataFile(path, cancel);
  LoadState state = stateOf(contents.outcome);
  if (state == LoadState::kPending) return state;
  WordList headwords, transcriptions;
  try {
    headwords = splitLines(std::move(contents.headwords));
    transcriptions = splitLines(std::move(contents.translations));
  } catch (const std::bad_alloc&) {
    headwords = WordList();
    transcriptions = WordList();
    state = LoadState::kDamaged;
  }
  for (std::size_t i = 1; i < headwords.count(); ++i) {
    if (headwords.line(i - 1) < headwords.line(i)) continue;
    headwords = WordList();  // out of order (or twice): a search could miss any word
    transcriptions = WordList();
    state = LoadState::kDamaged;
    break;
  }
  store.publishTranscriptions(std::move(headwords), std::move(transcriptions), state);
  return state;
}

}  // namespace tavro2
