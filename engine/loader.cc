#include "engine/loader.h"

#include <utility>

namespace tavro2 {

DictionaryLoader::DictionaryLoader(DictionaryStore& store, std::string programDir,
                                   std::function<void()> onDone)
    : store_(store), programDir_(std::move(programDir)), onDone_(std::move(onDone)) {
  for (auto& o : outcomes_) o.store(LoadState::kPending, std::memory_order_relaxed);
}

DictionaryLoader::~DictionaryLoader() {
  stop();
  join();
}

void DictionaryLoader::start() {
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { run(); });
}

void DictionaryLoader::stop() { stop_.store(true, std::memory_order_relaxed); }

void DictionaryLoader::join() {
  if (thread_.joinable()) thread_.join();
}

void DictionaryLoader::run() {
  const bool done = loadDictionary(store_, programDir_, &stop_, [this](DataKind kind, LoadState s) {
    outcomes_[static_cast<std::size_t>(kind)].store(s, std::memory_order_release);
  });
  if (done && onDone_) onDone_();
}

bool loadDictionary(DictionaryStore& store, const std::string& programDir,
                    const std::atomic<bool>* cancel,
                    const std::function<void(DataKind, LoadState)>& onFile) {
  for (std::size_t i = 0; i < kDataFileNames.size(); ++i) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return false;
    const LoadState state = loadDataFile(store, programDir + kDataFileNames[i], cancel);
    if (state == LoadState::kPending) return false;  // stopped mid-file
    if (onFile) onFile(static_cast<DataKind>(i), state);
  }
  if (cancel && cancel->load(std::memory_order_relaxed)) return false;
  return loadTranscriptionFile(store, programDir + kTranscriptionFileName, cancel) !=
         LoadState::kPending;
}

std::string DictionaryLoader::statusText() const { return loadStatusText(outcomes()); }

std::string loadStatusText(const std::array<LoadState, 3>& outcomes) {
  std::string missing;
  std::string damaged;
  bool allLoaded = true;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (outcomes[i] != LoadState::kLoaded) allLoaded = false;
    std::string* list = outcomes[i] == LoadState::kMissing   ? &missing
                        : outcomes[i] == LoadState::kDamaged ? &damaged
                                                             : nullptr;
    if (!list) continue;
    if (!list->empty()) *list += ", ";
    *list += kDataFileNames[i];
  }
  if (allLoaded) return " Data OK";
  if (missing.empty() && damaged.empty()) return " Loading Data...";
  std::string text;
  if (!missing.empty()) text += " Missing: " + missing;
  if (!damaged.empty()) text += (text.empty() ? " Damaged: " : "; Damaged: ") + damaged;
  return text;
}

}  // namespace tavro2
