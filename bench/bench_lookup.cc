// Lookup speed: LookupWord's scans against plain substring searches of the
// same headword bytes.
//
// The store holds 1,000,000 synthetic headwords per side (about 10 MB each,
// syllable words in sorted order, like a dictionary's), the user word lists
// beside it are small. Benchmarks:
//
//   BM_Memmem            yardstick: glibc memmem over both sides' headword
//                        buffers (a miss, so the whole of both);
//   BM_GrepProcess       yardstick: `grep -F -c` on a file holding both
//                        sides' headwords (page cache), as a child process;
//   BM_EmptyProcess      the start-up of a child process (true), to be
//                        subtracted from BM_GrepProcess;
//   BM_GrepProcessCpu, BM_EmptyProcessCpu  the same, timed by the child's
//                        own CPU time (user + system), which other load on
//                        the machine hardly changes;
//   BM_LookupMiss        LookupWord of a word in no headword: both user lists
//                        read, both sides scanned;
//   BM_LookupHitEnglish  a hit on the English side (WordsBefore/After 100,
//                        MaxContainTexts 100, over 100 related entries);
//   BM_LookupHitIndonesian  the same on the Indonesian side, so both sides
//                        are scanned: the worst hit;
//   BM_LookupDense       a one-letter query held by most headwords (every
//                        line is visited), for information;
//   BM_FindBaseForm      FindBaseForm of the word with the most candidates,
//                        none of them a headword;
//   BM_EveryStage        FindBaseForm of the miss that tries the most
//                        candidates through every stage: the ending rules,
//                        the irregular forms and both languages' Hunspell
//                        stems ("Automatic", the shared stemmer);
//   BM_FourteenLookups   14 missing LookupWord calls: one for each candidate
//                        of all ten rules together, the bound FindBaseForm
//                        is held to (no single word reaches it);
//   BM_Render2000        RenderEntryText of a 2,000-character English entry;
//   BM_TypingList        the list shown while typing for a two-letter text
//                        ("ka"): every headword of both sides is compared
//                        and the matches ranked (the default data holds some
//                        75,000 headwords in all, a fifteenth of this store).
//
// The program ends with the ratios against their targets, measured in rounds
// that run each subject right after its yardstick (medians, by wall time and
// by CPU time; on a busy machine the CPU ratios are the steadier).
// TAVRO2_BENCH_QUICK=1 uses 20,000 headwords per side and short runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/synthetic_words.h"
#include "engine/base_form_stages.h"
#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "engine/query_text.h"
#include "engine/render.h"
#include "engine/stemmer.h"
#include "engine/text_search.h"
#include "engine/typing_list.h"

namespace {

using tavro2::DataKind;
using tavro2::bench::ChildResult;
using tavro2::bench::median;
using tavro2::bench::spawnAndWait;

// The miss query and the Indonesian hit query agree in length and in the
// three bytes the scan's filter tests (first, middle, last: "k", "r", "i"),
// so the scan meets exactly the same candidates for both and the hit's
// extra cost is what the hit itself adds. No syllable ends in "k" and none
// starts with "o" but "ou" and "or", so "kori" occurs nowhere.
constexpr char kMissQuery[] = "kori";
constexpr char kHitQuery[] = "kari";         // once a headword, of the Indonesian side only
constexpr char kEnglishHitQuery[] = "kane";  // once a headword, of the English side only
constexpr char kDenseQuery[] = "a";
constexpr char kTypedText[] = "ka";  // what the typing list is asked for

struct Side {
  std::string heads;
  std::string translations;
};

// One side's texts; `present` is made a headword of exactly one line,
// `absent` of none (both still occur inside longer headwords).
Side makeSide(std::size_t entries, unsigned seed, const std::string& present,
              const std::string& absent) {
  tavro2::bench::WordMaker maker(seed);
  std::vector<std::string> heads(entries);
  for (auto& h : heads) h = maker.word(2, 5);
  for (auto& h : heads)
    if (h == absent || h == present) h += "x";
  heads[entries / 2] = present;
  std::sort(heads.begin(), heads.end());
  std::vector<std::string> vocabulary(4000);
  for (auto& v : vocabulary) v = maker.word(1, 4);
  static const char* const kMarkers[] = {"kb ", "kkt ", "kki ", "ks ", "Sl ", "kd "};
  std::uniform_int_distribution<std::size_t> word(0, vocabulary.size() - 1);
  std::uniform_int_distribution<int> marker(0, std::size(kMarkers) - 1);
  std::uniform_int_distribution<int> words(1, 4);
  Side s;
  s.heads.reserve(entries * 11);
  s.translations.reserve(entries * 24);
  for (const auto& h : heads) {
    s.heads += h;
    s.heads += "\r\n";
    s.translations += kMarkers[marker(maker.rng())];
    for (int i = words(maker.rng()); i > 0; --i) {
      s.translations += vocabulary[word(maker.rng())];
      if (i > 1) s.translations += i == 3 ? "; " : " ";
    }
    s.translations += "\r\n";
  }
  return s;
}

struct Fixture {
  std::string dir;  // with trailing '/'
  std::string grepFile;
  std::string englishHeads, indonesianHeads;  // copies for the memmem yardstick
  tavro2::DictionaryStore store;
  std::string worstBaseFormWord;
  std::size_t worstCandidates = 0;
  std::string everyStageWord;  // the miss with the most candidates of all stages
  std::size_t everyStageCandidates = 0;
  std::string entry2000;
};

Fixture* gFixture = nullptr;

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) std::abort();
}

void makeFixture(Fixture& f, std::size_t entries) {
  f.dir = (std::filesystem::temp_directory_path() / "tavro2-bench-XXXXXX").string();
  if (!mkdtemp(f.dir.data())) std::abort();
  f.dir += "/";

  Side en = makeSide(entries, 2009, kEnglishHitQuery, kHitQuery);
  Side id = makeSide(entries, 1945, kHitQuery, kEnglishHitQuery);
  for (const Side* s : {&en, &id}) {
    if (s->heads.find(kMissQuery) != std::string::npos) {
      std::fprintf(stderr, "the miss query occurs in the synthetic data\n");
      std::abort();
    }
  }
  f.englishHeads = en.heads;
  f.indonesianHeads = id.heads;
  f.grepFile = f.dir + "headwords.txt";
  writeText(f.grepFile, en.heads + id.heads);
  std::fprintf(stderr, "store: %zu headwords per side, %.1f + %.1f MB headwords\n", entries,
               en.heads.size() / 1e6, id.heads.size() / 1e6);
  f.store.publish(DataKind::kEnglish, tavro2::splitLines(std::move(en.heads)),
                  tavro2::splitLines(std::move(en.translations)), tavro2::LoadState::kLoaded);
  f.store.publish(DataKind::kIndonesian, tavro2::splitLines(std::move(id.heads)),
                  tavro2::splitLines(std::move(id.translations)), tavro2::LoadState::kLoaded);

  for (const char* q : {kMissQuery, kHitQuery, kEnglishHitQuery}) {
    std::size_t lines[2] = {0, 0};
    for (int side = 0; side < 2; ++side)
      tavro2::forEachLineContaining(
          f.store.headwords(side ? DataKind::kIndonesian : DataKind::kEnglish), entries, q,
          [&](std::size_t) {
            ++lines[side];
            return true;
          });
    std::fprintf(stderr, "\"%s\" is held by %zu + %zu headwords\n", q, lines[0], lines[1]);
  }

  // Small user lists, read by every lookup.
  std::string user;
  for (int i = 0; i < 20; ++i) user += "userword" + std::to_string(i) + "=terjemahan\r\n";
  writeText(f.dir + "Tavro2en.dat", user);
  writeText(f.dir + "Tavro2id.dat", user);

  // The word whose fallback tries the most candidates, from the endings the
  // rules know on a stem that is no headword.
  for (const char* ending : {"ings", "lies", "ries", "ied", "ier", "ily", "ing", "ed", "es"}) {
    const std::string w = std::string("zzqq") + ending;
    const std::size_t n = tavro2::baseFormCandidates(w).size();
    if (n > f.worstCandidates) {
      f.worstCandidates = n;
      f.worstBaseFormWord = w;
    }
  }

  // Through every stage: the ending rules' worst word and words of the
  // irregular lists and of Indonesian with many candidates.
  for (const std::string& w :
       {f.worstBaseFormWord, std::string("bicennaries"), std::string("indices"),
        std::string("digunakan"), std::string("memakaikannyalah"), std::string("pakaies")}) {
    const std::vector<std::string> tried = tavro2::baseFormCandidates(w);
    const std::size_t n = tried.size() + tavro2::furtherBaseFormCandidates(
                                             w, tried, tavro2::Direction::kAutomatic,
                                             tavro2::Stemmer::shared().get())
                                             .size();
    if (n > f.everyStageCandidates) {
      f.everyStageCandidates = n;
      f.everyStageWord = w;
    }
  }

  // A 2,000-character English entry with markers, forms and notes.
  const std::string piece = "run kkt menjalankan; running, runs (Sl) ksam j. -ries kb lari ";
  f.entry2000 = "run ";
  while (f.entry2000.size() < 2000) f.entry2000 += piece;
  f.entry2000.resize(2000);
}

tavro2::LookupState makeState(std::shared_ptr<tavro2::Stemmer> stemmer = nullptr) {
  tavro2::LookupState state(gFixture->store, gFixture->dir, std::move(stemmer));
  tavro2::LookupSettings settings;
  settings.WordsBefore = settings.WordsAfter = settings.MaxContainTexts = 100;
  settings.ShowPhrase = false;
  state.setSettings(settings);
  return state;
}

void BM_Memmem(benchmark::State& state) {
  std::size_t found = 0;
  for (auto _ : state) {
    for (const std::string* text : {&gFixture->englishHeads, &gFixture->indonesianHeads}) {
      const void* p = memmem(text->data(), text->size(), kMissQuery, sizeof kMissQuery - 1);
      found += p != nullptr;
      benchmark::DoNotOptimize(p);
    }
  }
  if (found) state.SkipWithError("memmem found the miss query");
  state.SetBytesProcessed(static_cast<std::int64_t>(
      state.iterations() * (gFixture->englishHeads.size() + gFixture->indonesianHeads.size())));
}

// grep -c exits 1 when it counts no line.
void grepBenchmark(benchmark::State& state, bool manualCpu) {
  for (auto _ : state) {
    const ChildResult r =
        spawnAndWait({"grep", "-F", "-c", kMissQuery, gFixture->grepFile.c_str()});
    if (r.status != 1) state.SkipWithError("grep did not run or found the miss query");
    if (manualCpu) state.SetIterationTime(r.cpu);
  }
}
void BM_GrepProcess(benchmark::State& state) { grepBenchmark(state, false); }
void BM_GrepProcessCpu(benchmark::State& state) { grepBenchmark(state, true); }

void emptyProcessBenchmark(benchmark::State& state, bool manualCpu) {
  for (auto _ : state) {
    const ChildResult r = spawnAndWait({"true"});
    if (r.status != 0) state.SkipWithError("true did not run");
    if (manualCpu) state.SetIterationTime(r.cpu);
  }
}
void BM_EmptyProcess(benchmark::State& state) { emptyProcessBenchmark(state, false); }
void BM_EmptyProcessCpu(benchmark::State& state) { emptyProcessBenchmark(state, true); }

void lookupBenchmark(benchmark::State& state, const char* query, bool expectFound) {
  tavro2::LookupState lookup = makeState();
  for (auto _ : state) {
    if (lookup.lookupWord(query) != expectFound) state.SkipWithError("unexpected result");
    benchmark::DoNotOptimize(lookup.mainWords().count());
  }
  state.counters["words"] = static_cast<double>(lookup.mainWords().count());
  state.counters["related"] = static_cast<double>(lookup.relatedWords().count());
}

void BM_LookupMiss(benchmark::State& state) { lookupBenchmark(state, kMissQuery, false); }
void BM_LookupHitEnglish(benchmark::State& state) {
  lookupBenchmark(state, kEnglishHitQuery, true);
}
void BM_LookupHitIndonesian(benchmark::State& state) { lookupBenchmark(state, kHitQuery, true); }
void BM_LookupDense(benchmark::State& state) { lookupBenchmark(state, kDenseQuery, false); }

void BM_FindBaseForm(benchmark::State& state) {
  tavro2::LookupState lookup = makeState();
  for (auto _ : state)
    if (lookup.findBaseForm(gFixture->worstBaseFormWord))
      state.SkipWithError("a candidate was found");
  state.counters["candidates"] = static_cast<double>(gFixture->worstCandidates);
}

void BM_EveryStage(benchmark::State& state) {
  tavro2::LookupState lookup = makeState(tavro2::Stemmer::shared());
  for (auto _ : state)
    if (lookup.findBaseForm(gFixture->everyStageWord)) state.SkipWithError("a candidate was found");
  state.counters["candidates"] = static_cast<double>(gFixture->everyStageCandidates);
}

void BM_FourteenLookups(benchmark::State& state) {
  tavro2::LookupState lookup = makeState();
  for (auto _ : state)
    for (int i = 0; i < 14; ++i)
      if (lookup.lookupWord(kMissQuery)) state.SkipWithError("found");
}

void BM_Render2000(benchmark::State& state) {
  std::size_t runs = 0;
  for (auto _ : state) {
    const auto r = tavro2::renderEntryText(gFixture->entry2000, "run", false);
    runs = r.size();
    benchmark::DoNotOptimize(r.data());
  }
  state.counters["runs"] = static_cast<double>(runs);
}

void BM_TypingList(benchmark::State& state) {
  tavro2::LookupState lookup = makeState();
  for (auto _ : state)
    if (!lookup.showTypingList(kTypedText)) state.SkipWithError("nothing matched");
  state.counters["words"] = static_cast<double>(lookup.mainWords().count());
}

struct Sample {
  double wall = 0;
  double cpu = 0;  // this thread's CPU time
};

double seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9; }

template <class F>
Sample timeIt(F&& f) {
  timespec w0, c0, w1, c1;
  clock_gettime(CLOCK_MONOTONIC, &w0);
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
  f();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
  clock_gettime(CLOCK_MONOTONIC, &w1);
  return {seconds(w1) - seconds(w0), seconds(c1) - seconds(c0)};
}

// Per-round ratios of a subject against its yardstick, the two timed back to
// back in every round, so that load from elsewhere on the machine shifts
// both alike; the medians are printed.
struct Ratios {
  std::vector<double> wall, cpu;
  void add(const Sample& a, const Sample& b) {
    if (b.wall > 0) wall.push_back(a.wall / b.wall);
    if (b.cpu > 0) cpu.push_back(a.cpu / b.cpu);
  }
  void print(const char* what, const char* target) const {
    std::printf("  %-44s %7.2fx wall  %7.2fx CPU   (target %s)\n", what, median(wall), median(cpu),
                target);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const bool quick = tavro2::bench::quickRun();
  Fixture fixture;
  makeFixture(fixture, quick ? 20000 : 1000000);
  gFixture = &fixture;

  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> benchmarks[] = {
      {"BM_Memmem", BM_Memmem},
      {"BM_GrepProcess", BM_GrepProcess},
      {"BM_EmptyProcess", BM_EmptyProcess},
      {"BM_GrepProcessCpu", BM_GrepProcessCpu},
      {"BM_EmptyProcessCpu", BM_EmptyProcessCpu},
      {"BM_LookupMiss", BM_LookupMiss},
      {"BM_LookupHitEnglish", BM_LookupHitEnglish},
      {"BM_LookupHitIndonesian", BM_LookupHitIndonesian},
      {"BM_LookupDense", BM_LookupDense},
      {"BM_FindBaseForm", BM_FindBaseForm},
      {"BM_EveryStage", BM_EveryStage},
      {"BM_FourteenLookups", BM_FourteenLookups},
      {"BM_Render2000", BM_Render2000},
      {"BM_TypingList", BM_TypingList}};
  for (const auto& [name, fn] : benchmarks) {
    auto* b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMicrosecond);
    if (std::string(name).ends_with("Cpu"))
      b->UseManualTime();  // the child's own CPU time
    else
      b->UseRealTime();
    if (quick) b->MinTime(0.01);  // a smoke run; otherwise --benchmark_min_time rules
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // The ratios, from rounds in which subject and yardstick run back to back.
  const int rounds = quick ? 5 : 31;
  tavro2::LookupState miss = makeState(), hitId = makeState(), hitEn = makeState(),
                      dense = makeState(), baseForm = makeState(), typing = makeState(),
                      everyStage = makeState(tavro2::Stemmer::shared());
  Ratios grepRatio, memmemRatio, hitIdRatio, hitEnRatio, denseRatio, baseFormRatio, fourteenRatio,
      everyStageRatio, typingRatio;
  std::vector<double> renderWall, renderCpu, typingWall, typingCpu;
  bool grepRan = true;
  // Each timing follows a run of the same work, so every subject is timed in
  // its own steady state (its data as warm as repeating it makes it), as the
  // benchmarks above time it; each subject is timed next to a miss.
  auto warm = [](auto&& f) {
    f();
    return timeIt(f);
  };
  auto lookupMiss = [&] { miss.lookupWord(kMissQuery); };
  for (int r = 0; r < rounds; ++r) {
    ChildResult grep, none;
    const Sample g = warm([&] {
      grep = spawnAndWait({"grep", "-F", "-c", kMissQuery, fixture.grepFile.c_str()});
    });
    const Sample t = warm([&] { none = spawnAndWait({"true"}); });
    grepRan = grepRan && grep.status == 1 && none.status == 0;
    grepRatio.add(warm(lookupMiss), {g.wall - t.wall, grep.cpu - none.cpu});

    memmemRatio.add(
        warm(lookupMiss), warm([&] {
          for (const std::string* text : {&fixture.englishHeads, &fixture.indonesianHeads})
            benchmark::DoNotOptimize(
                memmem(text->data(), text->size(), kMissQuery, sizeof kMissQuery - 1));
        }));
    hitIdRatio.add(warm([&] { hitId.lookupWord(kHitQuery); }), warm(lookupMiss));
    hitEnRatio.add(warm([&] { hitEn.lookupWord(kEnglishHitQuery); }), warm(lookupMiss));
    denseRatio.add(warm([&] { dense.lookupWord(kDenseQuery); }), warm(lookupMiss));
    baseFormRatio.add(warm([&] { baseForm.findBaseForm(fixture.worstBaseFormWord); }),
                      warm(lookupMiss));
    everyStageRatio.add(warm([&] { everyStage.findBaseForm(fixture.everyStageWord); }),
                        warm(lookupMiss));
    fourteenRatio.add(warm([&] {
                        for (int i = 0; i < 14; ++i) miss.lookupWord(kMissQuery);
                      }),
                      warm(lookupMiss));
    const Sample render = warm([&] {
      benchmark::DoNotOptimize(tavro2::renderEntryText(fixture.entry2000, "run", false).size());
    });
    renderWall.push_back(render.wall);
    renderCpu.push_back(render.cpu);
    const Sample typed = warm([&] { typing.showTypingList(kTypedText); });
    typingRatio.add(typed, warm(lookupMiss));
    typingWall.push_back(typed.wall);
    typingCpu.push_back(typed.cpu);
  }

  std::printf(
      "\n%zu headwords per side; worst FindBaseForm word \"%s\" with %zu candidates "
      "(no word has more); medians of %d rounds:\n",
      quick ? std::size_t{20000} : std::size_t{1000000}, fixture.worstBaseFormWord.c_str(),
      fixture.worstCandidates, rounds);
  if (grepRan)
    grepRatio.print("miss / grep -F -c (start-up subtracted)", "<= 1x");
  else
    std::printf("  miss / grep -F -c: grep did not run\n");
  memmemRatio.print("miss / in-process memmem", "report");
  hitIdRatio.print("hit, Indonesian side (both scanned) / miss", "<= 1.2x");
  hitEnRatio.print("hit, English side / miss", "<= 1.2x");
  denseRatio.print("one-letter query / miss", "report");
  baseFormRatio.print("worst FindBaseForm / one lookup", "<= 15x");
  std::printf("  (every stage: \"%s\", %zu candidates)\n", fixture.everyStageWord.c_str(),
              fixture.everyStageCandidates);
  everyStageRatio.print("miss through every stage / one lookup", "<= 15x");
  fourteenRatio.print("14 missing lookups / one lookup", "<= 15x");
  std::printf("  %-44s %7.3f ms wall %7.3f ms CPU (target < 1 ms)\n",
              "render a 2,000-character entry", median(renderWall) * 1e3, median(renderCpu) * 1e3);
  typingRatio.print("typing list for \"ka\" / miss", "report");
  std::printf("  %-44s %7.3f ms wall %7.3f ms CPU (target < 16 ms, a frame)\n",
              "typing list for \"ka\"", median(typingWall) * 1e3, median(typingCpu) * 1e3);
  std::filesystem::remove_all(fixture.dir);
  return 0;
}
