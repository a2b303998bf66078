#include "engine/dictionary_store.h"

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
  File& f = files_[static_cast<std::size_t>(kind)];
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
  LoadState state = LoadState::kPending;
  switch (contents.outcome) {
    case DataOutcome::kLoaded: state = LoadState::kLoaded; break;
    case DataOutcome::kMissing: state = LoadState::kMissing; break;
    case DataOutcome::kDamaged: state = LoadState::kDamaged; break;
    case DataOutcome::kCancelled: return LoadState::kPending;  // nothing is published
  }
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

}  // namespace tavro2
