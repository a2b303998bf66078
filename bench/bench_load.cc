// Loading one data file, against the bare decoder.
//
// The writer makes a synthetic dataen.dat of 1,000,000 entries (about 10 MB
// of headwords and 30 MB of translations, built from a syllable vocabulary so
// it compresses about as well as dictionary text). Two benchmarks run on it:
//
//   BM_BareDecode   the yardstick: ucl_nrv2e_decompress_safe_8 over every
//                   chunk of both blocks into one reused buffer, no more;
//   BM_LoadDataFile LoadDataFile into a fresh store: read, decode, split into
//                   lines, publish.
//
// At the end the program prints load time / decode time, in wall-clock time
// (target: at most 1.25; the load decodes a block's chunks on all cores, the
// yardstick on one) and in CPU time of all threads, and the store's memory
// against its text bytes plus 8 bytes a line (target: at most 1.1).
// TAVRO2_BENCH_QUICK=1 uses 20,000 entries.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <ucl/ucl.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/synthetic_words.h"
#include "engine/dictionary_store.h"
#include "tools/data_writer.h"

namespace {

using tavro2::DataKind;

struct Fixture {
  std::string dir;
  std::string path;
  std::string image;  // the file's bytes, for the yardstick
  std::size_t entries = 0;
  std::size_t textBytes = 0;
};

std::uint32_t getU32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;  // little-endian host
}

Fixture makeFixture(std::size_t entries) {
  Fixture f;
  f.entries = entries;
  tavro2::bench::WordMaker maker(2009);
  std::vector<std::string> heads(entries);
  for (auto& h : heads) h = maker.word(2, 6);  // 10 bytes a headword line on average
  std::sort(heads.begin(), heads.end());        // a dictionary's order
  std::vector<std::string> vocabulary(4000);
  for (auto& v : vocabulary) v = maker.word(1, 4);
  static const char* const kMarkers[] = {"n ", "v ", "adj ", "adv ", "(Id) ", "(cak) "};
  std::uniform_int_distribution<std::size_t> word(0, vocabulary.size() - 1);
  std::uniform_int_distribution<int> marker(0, std::size(kMarkers) - 1);
  std::uniform_int_distribution<int> words(2, 6);

  std::string headText, transText;
  headText.reserve(entries * 11);
  transText.reserve(entries * 32);
  for (const auto& h : heads) {
    headText += h;
    headText += "\r\n";
    transText += kMarkers[marker(maker.rng())];
    for (int i = words(maker.rng()); i > 0; --i) {
      transText += vocabulary[word(maker.rng())];
      transText += i == 1 ? "" : i == 3 ? "; " : " ";
    }
    transText += "\r\n";
  }
  f.textBytes = headText.size() + transText.size();

  f.dir = (std::filesystem::temp_directory_path() / "tavro2-bench-XXXXXX").string();
  if (!mkdtemp(f.dir.data())) std::abort();
  f.path = f.dir + "/dataen.dat";
  // Level 6 keeps making the file quick; the decoder's speed hardly depends on it.
  f.image = tavro2::buildDataFile(headText, transText, tavro2::dataDateOf(2009, 1, 1), 6);
  std::FILE* out = std::fopen(f.path.c_str(), "wb");
  if (!out || std::fwrite(f.image.data(), 1, f.image.size(), out) != f.image.size() ||
      std::fclose(out) != 0)
    std::abort();
  std::fprintf(stderr, "data file: %zu entries, %.1f MB headwords, %.1f MB translations, %.1f MB compressed\n",
               entries, headText.size() / 1e6, transText.size() / 1e6, f.image.size() / 1e6);
  return f;
}

Fixture* gFixture = nullptr;

// The chunks of both blocks, as (offset, size) into the file image.
std::vector<std::pair<std::size_t, std::uint32_t>> chunksOf(const std::string& image) {
  std::vector<std::pair<std::size_t, std::uint32_t>> chunks;
  const char* trailer = image.data() + image.size() - 16;
  const std::size_t blockStart[2] = {0, getU32(trailer)};
  const std::size_t blockEnd[2] = {getU32(trailer), std::size_t{getU32(trailer)} + getU32(trailer + 4)};
  for (int b = 0; b < 2; ++b) {
    for (std::size_t pos = blockStart[b] + 4; pos + 4 <= blockEnd[b];) {
      const std::uint32_t size = getU32(image.data() + pos);
      chunks.emplace_back(pos + 4, size);
      pos += 4 + size;
    }
  }
  return chunks;
}

void BM_BareDecode(benchmark::State& state) {
  ucl_init();
  const std::string& image = gFixture->image;
  const auto chunks = chunksOf(image);
  std::vector<unsigned char> buffer(tavro2::kMaxChunkSize);
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const auto& [offset, size] : chunks) {
      ucl_uint out = tavro2::kMaxChunkSize;
      if (ucl_nrv2e_decompress_safe_8(reinterpret_cast<const unsigned char*>(image.data() + offset),
                                      size, buffer.data(), &out, nullptr) != UCL_E_OK)
        state.SkipWithError("decode failed");
      bytes += out;
      benchmark::DoNotOptimize(buffer.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

std::size_t gStoreBytes = 0;
std::size_t gLines = 0;

void BM_LoadDataFile(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto store = std::make_unique<tavro2::DictionaryStore>();
    if (tavro2::loadDataFile(*store, gFixture->path) != tavro2::LoadState::kLoaded)
      state.SkipWithError("load failed");
    const tavro2::WordList& heads = store->headwords(DataKind::kEnglish);
    const tavro2::WordList& translations = store->translations(DataKind::kEnglish);
    bytes += heads.text().size() + translations.text().size();
    state.PauseTiming();
    gStoreBytes = heads.memoryBytes() + translations.memoryBytes();
    gLines = heads.count() + translations.count();
    store.reset();  // freeing is the window's business at close, not the load's
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

// Process CPU time counts the load's decoding threads too.
BENCHMARK(BM_BareDecode)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_LoadDataFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Keeps each benchmark's time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0)
        times[r.benchmark_name()] = {r.real_accumulated_time / static_cast<double>(r.iterations),
                                     r.cpu_accumulated_time / static_cast<double>(r.iterations)};
    ConsoleReporter::ReportRuns(runs);
  }
  struct Time {
    double real;
    double cpu;
  };
  std::map<std::string, Time> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Fixture fixture = makeFixture(tavro2::bench::quickRun() ? 20000 : 1000000);
  gFixture = &fixture;

  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto bare = reporter.times.find("BM_BareDecode/process_time/real_time");
  const auto load = reporter.times.find("BM_LoadDataFile/process_time/real_time");
  if (bare != reporter.times.end() && load != reporter.times.end()) {
    const auto& b = bare->second;
    const auto& l = load->second;
    std::printf("load / bare decode, wall clock: %.1f ms / %.1f ms = %.2fx (target <= 1.25x)\n",
                l.real * 1e3, b.real * 1e3, l.real / b.real);
    std::printf("load / bare decode, CPU of all threads: %.1f ms / %.1f ms = %.2fx\n",
                l.cpu * 1e3, b.cpu * 1e3, l.cpu / b.cpu);
  }
  if (gStoreBytes > 0) {
    const double budget = static_cast<double>(fixture.textBytes + 8 * gLines);
    std::printf("store memory: %.2f MB for %.2f MB text + 8 B x %zu lines = %.3fx (target <= 1.1x)\n",
                gStoreBytes / 1e6, fixture.textBytes / 1e6, gLines, gStoreBytes / budget);
  }
  std::filesystem::remove_all(fixture.dir);
  return 0;
}
