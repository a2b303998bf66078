// Writes the fuzzer's seed corpus into a directory: small but well-formed data
// files (and bare blocks) made with the data-file writer, so the fuzzer starts
// from inputs that reach past the trailer checks into the decoder.
//
//   make_fuzz_corpus DIR
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/data_writer.h"

namespace {

bool write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus DIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const double date = tavro2::DataDateOf(2009, 1, 1);
  struct Seed {
    const char* name;
    std::string headwords;
    std::string translations;
  };
  std::string many, manyTrans;
  for (int i = 0; i < 60; ++i) {
    many += "word" + std::to_string(i) + "\r\n";
    manyTrans += "n kata " + std::to_string(i) + "; (Id) arti\r\n";
  }
  // Over two pieces of repetitive text: three chunks in under 2 KB, enough
  // for the decoder's multi-threaded road.
  std::string large;
  for (int i = 0; large.size() < 2 * 262144 + 5000; ++i)
    large += "kata" + std::to_string(i % 100) + "=word\r\n";
  const std::vector<Seed> seeds = {
      {"three_chunks", large, "x\r\n"},
      {"small", "apple\r\nbank\r\n", "n apel\r\nn tepi; sungai\r\n"},
      {"empty", "", ""},
      {"line_ends", "a\rb\r\n\r\nc\nd", "x\r\n"},
      {"fewer_translations", "satu\r\ndua\r\ntiga\r\n", "one\r\n"},
      {"cp1252", "caf\xE9\r\n\xC9t\xE9\r\n", "kafe\r\nmusim panas\r\n"},
      {"many", many, manyTrans},
  };
  for (const Seed& s : seeds) {
    if (!write(dir + s.name + ".dat", tavro2::BuildDataFile(s.headwords, s.translations, date)) ||
        !write(dir + s.name + ".block", tavro2::CompressBlock(s.headwords))) {
      std::fprintf(stderr, "make_fuzz_corpus: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
