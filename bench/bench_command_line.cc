// The command line and the suggestions, on the default dictionary data.
//
//   BM_Memmem        yardstick: memmem of a missing word over both sides'
//                    headword text;
//   BM_Suggestions   suggestHeadwords for each of a set of misspellings
//                    (and a string like no word, which asks Hunspell), per
//                    word; target: at most 20 ms on one core.
//
// Then, as whole processes of the program built beside this benchmark on the
// same data, in rounds that run each command right after `tavro2 --about`
// (medians of the per-round ratios):
//   --lookup house    a word found directly       target at most 1.15x --about
//   --lookup rumah    an Indonesian word found     target at most 1.15x
//   --lookup hous     a miss through every stage and its suggestions: 1.6x
//   --lookup -        2,000 words of the frequency lists, one a line: words
//                     a second over the time past --about; target 2,000.
//
// TAVRO2_BENCH_DATA names the data directory (default: the build
// directory); without the data the program says so and ends. With
// TAVRO2_BENCH_QUICK=1 the runs are short.
#include <benchmark/benchmark.h>
#include <string.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/synthetic_words.h"
#include "engine/dictionary_store.h"
#include "engine/loader.h"
#include "engine/stemmer.h"
#include "engine/suggestions.h"
#include "engine/word_ranks.h"

namespace {

using tavro2::bench::median;
using tavro2::bench::spawnAndWait;

constexpr const char* kMisspellings[] = {"hous",  "recieve", "definately",  "beleive",
                                         "rumha", "mkan",    "terimakasih", "xqzvbn"};

struct Fixture {
  std::string dir;
  tavro2::DictionaryStore store;
  std::string wordsFile;  // the batch's input
  std::size_t words = 0;
};
Fixture* gFixture = nullptr;

void BM_Memmem(benchmark::State& state) {
  for (auto _ : state)
    for (tavro2::DataKind kind : {tavro2::DataKind::kEnglish, tavro2::DataKind::kIndonesian}) {
      const std::string& text = gFixture->store.headwords(kind).text();
      benchmark::DoNotOptimize(memmem(text.data(), text.size(), "\rxqzvbn\r", 8));
    }
}

void BM_Suggestions(benchmark::State& state) {
  const std::shared_ptr<tavro2::Stemmer> stemmer = tavro2::Stemmer::shared();
  std::size_t offered = 0;
  for (auto _ : state)
    for (const char* word : kMisspellings)
      offered += tavro2::suggestHeadwords(gFixture->store, word, tavro2::Direction::kAutomatic,
                                          tavro2::WordRanks::shared(), stemmer.get())
                     .size();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::size(kMisspellings)));
  state.counters["offered"] =
      static_cast<double>(offered) / static_cast<double>(state.iterations());
}

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Wall seconds of one run of the program with `args` (stdin from `input`).
double runProgram(std::vector<const char*> args, int expected, const char* input = "/dev/null") {
  args.insert(args.begin(), TAVRO2_PROGRAM);
  args.push_back("--dir");
  args.push_back(gFixture->dir.c_str());
  const double start = now();
  const tavro2::bench::ChildResult r = spawnAndWait(args, input);
  const double seconds = now() - start;
  if (r.status != expected) {
    std::fprintf(stderr, "tavro2 %s: exit status %d, not %d\n", args[2], r.status, expected);
    std::exit(1);
  }
  return seconds;
}

// The batch's words: the commonest of each frequency list.
void writeWords(Fixture& f, std::size_t perList) {
  f.wordsFile = f.dir + "/bench-words.txt";
  std::ofstream out(f.wordsFile);
  for (const char* list : {"en-web-10000.txt", "id-wikipedia.txt"}) {
    std::ifstream in(std::string(TAVRO2_SOURCE_DIR) + "/data/frequency/" + list);
    std::string word;
    for (std::size_t n = 0; n < perList && std::getline(in, word); ++n, ++f.words)
      out << word << '\n';
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool quick = tavro2::bench::quickRun();
  Fixture fixture;
  const char* data = std::getenv("TAVRO2_BENCH_DATA");
  fixture.dir = data && *data ? data : TAVRO2_BUILD_DIR;
  if (!fixture.dir.ends_with('/')) fixture.dir += '/';
  if (!tavro2::loadDictionary(fixture.store, fixture.dir) ||
      fixture.store.state(tavro2::DataKind::kEnglish) != tavro2::LoadState::kLoaded) {
    std::printf("no default dictionary data in %s: nothing to measure\n", fixture.dir.c_str());
    return 0;
  }
  gFixture = &fixture;
  writeWords(fixture, 1000);

  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> benchmarks[] = {{"BM_Memmem", BM_Memmem},
                                                   {"BM_Suggestions", BM_Suggestions}};
  for (const auto& [name, fn] : benchmarks) {
    auto* b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond);
    if (quick) b->MinTime(0.01);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // Suggestions per word, and against the yardstick, by median of rounds.
  const int rounds = quick ? 3 : 21;
  std::vector<double> perWord, perMemmem, found, foundId, miss, batchRate;
  const std::shared_ptr<tavro2::Stemmer> stemmer = tavro2::Stemmer::shared();
  for (int r = 0; r < rounds; ++r) {
    double start = now();
    for (const char* word : kMisspellings)
      benchmark::DoNotOptimize(
          tavro2::suggestHeadwords(fixture.store, word, tavro2::Direction::kAutomatic,
                                   tavro2::WordRanks::shared(), stemmer.get()));
    const double suggest = (now() - start) / std::size(kMisspellings);
    start = now();
    for (tavro2::DataKind kind : {tavro2::DataKind::kEnglish, tavro2::DataKind::kIndonesian}) {
      const std::string& text = fixture.store.headwords(kind).text();
      benchmark::DoNotOptimize(memmem(text.data(), text.size(), "\rxqzvbn\r", 8));
    }
    perWord.push_back(suggest * 1000);
    perMemmem.push_back(suggest / std::max(now() - start, 1e-9));

    const double about = runProgram({"--about"}, 0);
    found.push_back(runProgram({"--lookup", "house"}, 0) / about);
    const double about2 = runProgram({"--about"}, 0);
    foundId.push_back(runProgram({"--lookup", "rumah"}, 0) / about2);
    const double about3 = runProgram({"--about"}, 0);
    miss.push_back(runProgram({"--lookup", "hous"}, 1) / about3);
    const double about4 = runProgram({"--about"}, 0);
    const double batch = runProgram({"--lookup", "-"}, 1, fixture.wordsFile.c_str());
    batchRate.push_back(static_cast<double>(fixture.words) / std::max(batch - about4, 1e-6));
  }
  std::printf(
      "\nSuggestions, per misspelt word: %.2f ms (%.0fx a memmem of both sides' "
      "headwords; target at most 20 ms)\n",
      median(perWord), median(perMemmem));
  std::printf("Whole process against tavro2 --about, medians of %d paired rounds:\n", rounds);
  std::printf("  --lookup house  %5.2fx   (target at most 1.15x)\n", median(found));
  std::printf("  --lookup rumah  %5.2fx   (target at most 1.15x)\n", median(foundId));
  std::printf("  --lookup hous   %5.2fx   (a miss with suggestions; target at most 1.6x)\n",
              median(miss));
  std::printf("  --lookup -      %5.0f words a second over %zu words (target at least 2,000)\n",
              median(batchRate), fixture.words);
  return 0;
}
