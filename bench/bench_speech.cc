// Speaking a word: how soon its first samples come (the first buffer
// libespeak-ng hands over), in this process and as the whole command.
//
//   BM_FirstBuffer   synthesize up to its first buffer, the voice changing
//                    every time (English "house", Indonesian "rumah"), so
//                    each includes setting a voice;
//   BM_Word          the whole word, the voice changing every time.
//
// Then, in rounds, each right after `tavro2 --about` (the yardstick, the
// program's quickest command on the same data), medians:
//   cold first buffer   a fresh process (forked before the library starts)
//                       from the call to the first buffer: set-up, voice,
//                       synthesis; target at most 100 ms;
//   --pronounce house --from en --wav F   the whole program, to the file
//                       written (so later than its first buffer);
//   --pronounce house --wav F             the same in Automatic, which looks
//                       the word up to choose the voice.
//
// TAVRO2_BENCH_DATA names the data directory (default: the build directory);
// without the data the Automatic command is left out. TAVRO2_BENCH_QUICK=1
// makes the runs short.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/speech.h"
#include "bench/child_process.h"
#include "bench/synthetic_words.h"

namespace {

using tavro2::SpeechLanguage;
using tavro2::bench::median;

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Seconds from the call to the first buffer, for alternating voices.
double firstBufferOf(bool indonesian) {
  double first = 0;
  const double start = now();
  tavro2::synthesize(indonesian ? "rumah" : "house",
                     indonesian ? SpeechLanguage::kIndonesian : SpeechLanguage::kEnglish,
                     [&] { first = now(); });
  return first > 0 ? first - start : -1;
}

void BM_FirstBuffer(benchmark::State& state) {
  bool indonesian = false;
  std::vector<double> seconds;
  for (auto _ : state) {
    seconds.push_back(firstBufferOf(indonesian));
    indonesian = !indonesian;
  }
  state.counters["first_ms"] = median(seconds) * 1000;
}

void BM_Word(benchmark::State& state) {
  bool indonesian = false;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tavro2::synthesize(
        indonesian ? "rumah" : "house",
        indonesian ? SpeechLanguage::kIndonesian : SpeechLanguage::kEnglish));
    indonesian = !indonesian;
  }
}

// The first buffer in a process of its own, where the library starts from
// nothing; -1 when the child could not tell.
double coldFirstBuffer() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const double seconds = firstBufferOf(false);
    const bool written = write(fds[1], &seconds, sizeof seconds) == sizeof seconds;
    _exit(written ? 0 : 1);
  }
  close(fds[1]);
  double seconds = -1;
  if (pid < 0 || read(fds[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
  close(fds[0]);
  if (pid > 0) waitpid(pid, nullptr, 0);
  return seconds;
}

// Wall seconds of one run of the program with `args`; exits on a failure.
double runProgram(std::vector<const char*> args, const std::string& dir) {
  args.insert(args.begin(), TAVRO2_PROGRAM);
  args.push_back("--dir");
  args.push_back(dir.c_str());
  const double start = now();
  const tavro2::bench::ChildResult r = tavro2::bench::spawnAndWait(args);
  const double seconds = now() - start;
  if (r.status != 0) {
    std::fprintf(stderr, "tavro2 %s: exit status %d\n", args[1], r.status);
    std::exit(1);
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!tavro2::speechBuiltIn()) {
    std::printf("built without libespeak-ng: nothing to measure\n");
    return 0;
  }
  const bool quick = tavro2::bench::quickRun();
  const char* data = std::getenv("TAVRO2_BENCH_DATA");
  std::string dir = data && *data ? data : TAVRO2_BUILD_DIR;
  if (!dir.ends_with('/')) dir += '/';
  const bool haveData = access((dir + "dataen.dat").c_str(), R_OK) == 0;
  const std::string wav = dir + "bench-pronounce.wav";

  // The cold rounds first: the children must not inherit a started library.
  const int rounds = quick ? 3 : 21;
  std::vector<double> coldMs, coldRatio, fromEn, fromEnMs, automatic;
  for (int r = 0; r < rounds; ++r) {
    const double about = runProgram({"--about"}, dir);
    const double cold = coldFirstBuffer();
    if (cold < 0) {
      std::fprintf(stderr, "the child process spoke nothing\n");
      return 1;
    }
    coldMs.push_back(cold * 1000);
    coldRatio.push_back(cold / about);
    const double about2 = runProgram({"--about"}, dir);
    const double en = runProgram({"--pronounce", "house", "--from", "en", "--wav", wav.c_str()}, dir);
    fromEn.push_back(en / about2);
    fromEnMs.push_back(en * 1000);
    if (haveData) {
      const double about3 = runProgram({"--about"}, dir);
      automatic.push_back(runProgram({"--pronounce", "house", "--wav", wav.c_str()}, dir) / about3);
    }
  }
  std::remove(wav.c_str());

  using Fn = void (*)(benchmark::State&);
  const std::pair<const char*, Fn> benchmarks[] = {{"BM_FirstBuffer", BM_FirstBuffer},
                                                   {"BM_Word", BM_Word}};
  for (const auto& [name, fn] : benchmarks) {
    auto* b = benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond);
    if (quick) b->MinTime(0.01);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nMedians of %d rounds, each against tavro2 --about just before it:\n", rounds);
  std::printf("  cold first buffer (a fresh process)      %6.1f ms  %5.2fx --about"
              "  (target at most 100 ms)\n",
              median(coldMs), median(coldRatio));
  std::printf("  --pronounce house --from en (whole run)  %6.1f ms  %5.2fx --about\n",
              median(fromEnMs), median(fromEn));
  if (haveData)
    std::printf("  --pronounce house (Automatic, whole run)            %5.2fx --about\n",
                median(automatic));
  else
    std::printf("  (no dictionary data in %s: Automatic not measured)\n", dir.c_str());
  return 0;
}
