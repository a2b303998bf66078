// DictionaryLoader: the thread that fills a DictionaryStore once per run.
//
// The loader is created idle with the window and started when the window is
// first shown. Its thread loads dataen.dat, dataid.dat and datapr.dat from the
// program directory, in that order, and then the transcriptions, dataipa.dat;
// each file becomes visible to readers as a whole as soon as it is loaded
// (DictionaryStore::publish). The transcriptions are optional: their outcome
// is the store's (transcriptionState) and never the status line's. When all
// four are done the thread calls onDone, on the loader thread; the window
// hands that on to its own thread with a queued call and then shows
// statusText().
//
// stop() asks the thread to end between chunks, so closing the window never
// waits for a whole file to decode; a stopped load does not call onDone.
// The destructor stops and joins. Never destroy the loader from onDone.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "engine/dictionary_store.h"

namespace tavro2 {

// The data files in loading order, indexed like DataKind.
inline constexpr std::array<const char*, 3> kDataFileNames = {"dataen.dat", "dataid.dat",
                                                              "datapr.dat"};

// The loader thread's body: LoadDataFile for each of the three files in
// order, calling onFile after each, then loadTranscriptionFile. Returns false
// when *cancel stopped it before all were read (the file being read then is
// not published).
bool loadDictionary(DictionaryStore& store, const std::string& programDir,
                    const std::atomic<bool>* cancel = nullptr,
                    const std::function<void(DataKind, LoadState)>& onFile = {});

class DictionaryLoader {
 public:
  // `programDir` ends with a separator. The store must outlive the loader.
  DictionaryLoader(DictionaryStore& store, std::string programDir,
                   std::function<void()> onDone = {});
  ~DictionaryLoader();
  DictionaryLoader(const DictionaryLoader&) = delete;
  DictionaryLoader& operator=(const DictionaryLoader&) = delete;

  // Starts the thread; only the first call does anything (loading happens
  // once per run). Call from the owner's thread.
  void start();
  // Asks the thread to stop between chunks; files not yet loaded stay
  // kPending. Safe from any thread, also before start().
  void stop();
  // Waits for the thread to end. Call from the owner's thread.
  void join();

  bool started() const { return started_; }

  // Per-file outcome so far: kPending until the file has been read.
  LoadState outcome(DataKind kind) const {
    return outcomes_[static_cast<std::size_t>(kind)].load(std::memory_order_acquire);
  }
  std::array<LoadState, 3> outcomes() const {
    return {outcome(DataKind::kEnglish), outcome(DataKind::kIndonesian),
            outcome(DataKind::kPhrase)};
  }
  // The status line for the end of loading (see LoadStatusText).
  std::string statusText() const;

 private:
  void run();

  DictionaryStore& store_;
  const std::string programDir_;
  const std::function<void()> onDone_;
  std::atomic<bool> stop_{false};
  std::array<std::atomic<LoadState>, 3> outcomes_{};
  bool started_ = false;
  std::thread thread_;
};

// The status line once loading has ended: " Data OK" when all three files
// loaded, otherwise the files that are missing and those that are damaged,
// e.g. " Missing: dataid.dat" or " Missing: dataen.dat, datapr.dat; Damaged:
// dataid.dat". Files still pending are not named; if nothing else is to be
// said the text is " Loading Data...".
std::string loadStatusText(const std::array<LoadState, 3>& outcomes);

}  // namespace tavro2
