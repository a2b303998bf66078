// Writes the fuzzers' seed corpora into a directory, one folder per target:
// small but well-formed data files (and bare blocks) made with the data-file
// writer, so fuzz_data_file starts from inputs that reach past the trailer
// checks into the decoder (one of them large enough for the decoder's
// threads), and a few typical inputs for the other targets.
//
//   make_fuzz_corpus DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
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
  const std::string root = std::string(argv[1]) + "/";
  for (const char* target : {"data", "user_lists", "settings", "history"})
    std::filesystem::create_directories(root + target);
  const std::string dir = root + "data/";
  const double date = tavro2::dataDateOf(2009, 1, 1);
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
  // Three pieces that compress about 22:1, so a TextSize of three pieces is
  // one the block's size vouches for: the decoder's threads take it.
  std::mt19937 rng(3);
  std::string threaded;
  while (threaded.size() < 2 * 262144 + 4000)
    threaded += "kata" + std::to_string(rng() % 3) + "=word\r\n";
  const std::vector<Seed> seeds = {
      {"threaded", threaded, "x\r\n"},
      {"three_chunks", large, "x\r\n"},
      {"small", "apple\r\nbank\r\n", "n apel\r\nn tepi; sungai\r\n"},
      {"empty", "", ""},
      {"line_ends", "a\rb\r\n\r\nc\nd", "x\r\n"},
      {"fewer_translations", "satu\r\ndua\r\ntiga\r\n", "one\r\n"},
      {"cp1252", "caf\xE9\r\n\xC9t\xE9\r\n", "kafe\r\nmusim panas\r\n"},
      {"many", many, manyTrans},
  };
  for (const Seed& s : seeds) {
    if (!write(dir + s.name + ".dat", tavro2::buildDataFile(s.headwords, s.translations, date)) ||
        !write(dir + s.name + ".block", tavro2::compressBlock(s.headwords))) {
      std::fprintf(stderr, "make_fuzz_corpus: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  const std::pair<const char*, std::string> others[] = {
      {"user_lists/plain", "rumah\nrumah=house\r\nRumah Besar=big house\r\nkata\r\n"},
      {"user_lists/utf8", "\x8bkaf\xC3\xA9\nkaf\xC3\xA9=coffee\nKAF\xC3\xA9=cafe\n"},
      {"user_lists/phrases", "\x0chouse\nrumah besar=big house\r\nrumah=\r\n=house\r\n"},
      {"settings/plain", "[General]\r\nLanguage=2\r\nSkin=3\r\nShowPhrase=1\r\n"},
      {"settings/odd", "\xEF\xBB\xBFx=1\n[ general ]\rlanguage = '0x10'\r\n[General]\r\nSkin\r\n"},
      {"history/plain", "bank=kb bank\r\nhouse=kb rumah\nlagi\r\nrun=lari"},
      {"history/nul", std::string("a=1\r\nb=\0x\r\n", 11)},
  };
  for (const auto& [name, bytes] : others) {
    if (!write(root + name, bytes)) {
      std::fprintf(stderr, "make_fuzz_corpus: cannot write into %s\n", argv[1]);
      return 1;
    }
  }
  return 0;
}
