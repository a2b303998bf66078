// User word lists at their largest: a lookup with a long phrase list against
// the same lookup without the phrase search.
//
// The store holds 1,000,000 synthetic headwords a side and 100,000 phrases
// (as the lookup benchmark's store); beside it lies a user phrase list of
// 80,000 lines, read from disk for every query as the program does, and an
// English user list of 80,000 other lines plus 80,000 copies of the query
// word. Benchmarks:
//
//   BM_Lookup             yardstick: LookupWord with the Phrase button up;
//   BM_LookupWithPhrases  the same query with the Phrase button down: the
//                         80,000-line phrase list is read and searched;
//   BM_LookupCopies       LookupWord against the list holding the query word
//                         80,000 times (each copy is a main-list entry).
//
// The program ends with the medians of per-round ratios to the yardstick.
// TAVRO2_BENCH_QUICK=1 uses 20,000 headwords, lists of 2,000 lines and short
// runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/synthetic_words.h"
#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"

namespace {

constexpr char kQuery[] = "kari";

struct Fixture {
  tavro2::DictionaryStore store;
  std::string plainDir;   // no user lists
  std::string phraseDir;  // the long phrase list
  std::string copiesDir;  // the list with the query word many times
};
Fixture* gFixture = nullptr;

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

void makeFixture(Fixture& f, std::size_t storeLines, std::size_t listLines) {
  tavro2::bench::WordMaker words(11);
  std::vector<std::string> heads, translations, phrases, phraseTranslations;
  for (std::size_t i = 0; i < storeLines; ++i) {
    heads.push_back(words.word(1, 4));
    translations.push_back("n " + words.word(1, 3) + "; " + words.word(1, 3));
  }
  heads[storeLines / 2] = kQuery;
  for (std::size_t i = 0; i < storeLines / 10; ++i) {
    phrases.push_back(words.word(1, 3) + " " + words.word(1, 3) + " " + words.word(1, 3));
    phraseTranslations.push_back(words.word(1, 3) + " " + words.word(1, 3));
  }
  std::vector<std::string> sortedHeads = heads;
  std::sort(sortedHeads.begin(), sortedHeads.end());
  for (const tavro2::DataKind kind : {tavro2::DataKind::kEnglish, tavro2::DataKind::kIndonesian})
    f.store.publish(kind, tavro2::splitLines(joinLines(sortedHeads)),
                    tavro2::splitLines(joinLines(translations)), tavro2::LoadState::kLoaded);
  f.store.publish(tavro2::DataKind::kPhrase, tavro2::splitLines(joinLines(phrases)),
                  tavro2::splitLines(joinLines(phraseTranslations)), tavro2::LoadState::kLoaded);

  const std::string base = std::filesystem::temp_directory_path() / "tavro2-bench-user-lists-";
  f.plainDir = base + "plain/";
  f.phraseDir = base + "phrases/";
  f.copiesDir = base + "copies/";
  for (const std::string* dir : {&f.plainDir, &f.phraseDir, &f.copiesDir}) {
    std::filesystem::remove_all(*dir);
    std::filesystem::create_directories(*dir);
  }
  // Phrase lines repeat their Indonesian words now and then, as a list the
  // user keeps adding to does; one line in a thousand holds the query.
  std::vector<std::string> userPhrases, copies;
  for (std::size_t i = 0; i < listLines; ++i) {
    const std::string english = words.word(1, 3) + (i % 1000 == 7 ? " kari " : " ") + words.word(1, 3);
    userPhrases.push_back(words.word(1, 3) + " " + words.word(1, 2) + "=" + english);
    copies.push_back(words.word(2, 4) + "=" + words.word(1, 3));
    copies.push_back(std::string(kQuery) + "=" + words.word(1, 3));
  }
  writeLines(f.phraseDir + "Tavro2phrase.dat", userPhrases);
  writeLines(f.copiesDir + "Tavro2en.dat", copies);
  // A list kept for a while is read once and afterwards only checked to be
  // unchanged; one written a moment ago is read every time (see
  // UserListCache). The lists are timed as lists kept for a while: the
  // lookup waits until their times have settled.
  const auto settled = std::chrono::system_clock::now() + std::chrono::seconds(3);
  while (std::chrono::system_clock::now() < settled) std::this_thread::yield();
}

tavro2::LookupState makeState(const std::string& dir, bool phrases) {
  tavro2::LookupState state(gFixture->store, dir);
  tavro2::LookupSettings settings;
  settings.direction = tavro2::Direction::kEnglishIndonesian;
  settings.ShowPhrase = phrases;
  state.setSettings(settings);
  state.searchFromBox(kQuery);  // the phrase search reads the search text
  return state;
}

void run(benchmark::State& state, const std::string& dir, bool phrases) {
  tavro2::LookupState lookup = makeState(dir, phrases);
  for (auto _ : state) benchmark::DoNotOptimize(lookup.lookupWord(kQuery));
}
void BM_Lookup(benchmark::State& s) { run(s, gFixture->plainDir, false); }
void BM_LookupWithPhrases(benchmark::State& s) { run(s, gFixture->phraseDir, true); }
void BM_LookupCopies(benchmark::State& s) { run(s, gFixture->copiesDir, false); }

double secondsOf(tavro2::LookupState& state) {
  state.lookupWord(kQuery);  // warm
  const auto start = std::chrono::steady_clock::now();
  state.lookupWord(kQuery);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool quick = tavro2::bench::quickRun();
  Fixture fixture;
  gFixture = &fixture;
  makeFixture(fixture, quick ? 20000 : 1000000, quick ? 2000 : 80000);

  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> benchmarks[] = {{"BM_Lookup", BM_Lookup},
                                                   {"BM_LookupWithPhrases", BM_LookupWithPhrases},
                                                   {"BM_LookupCopies", BM_LookupCopies}};
  for (const auto& [name, fn] : benchmarks) {
    auto* b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    if (quick) b->MinTime(0.01);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  tavro2::LookupState plain = makeState(fixture.plainDir, false);
  tavro2::LookupState phrases = makeState(fixture.phraseDir, true);
  tavro2::LookupState copies = makeState(fixture.copiesDir, false);
  std::vector<double> phraseRatio, copiesRatio;
  const int rounds = quick ? 3 : 21;
  for (int r = 0; r < rounds; ++r) {
    phraseRatio.push_back(secondsOf(phrases) / secondsOf(plain));
    copiesRatio.push_back(secondsOf(copies) / secondsOf(plain));
  }
  std::printf("\nRatios, medians of %d rounds:\n", rounds);
  std::printf("  lookup with the phrase list / without      %6.2fx  (target < 2x)\n",
              tavro2::bench::median(phraseRatio));
  std::printf("  lookup with the query word in the list     %6.2fx  (report)\n",
              tavro2::bench::median(copiesRatio));
  for (const std::string* dir : {&fixture.plainDir, &fixture.phraseDir, &fixture.copiesDir})
    std::filesystem::remove_all(*dir);
  return 0;
}
