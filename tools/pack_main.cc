// tavro2-pack: writes a compressed dictionary data file from two text files.
//
//   tavro2-pack HEADWORDS.txt TRANSLATIONS.txt OUT.dat [YYYY-MM-DD] [--level N]
//
// The texts are taken byte for byte (lines end in CR LF in Tavro2's own data).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/data_writer.h"

namespace {

bool readAll(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

int usage() {
  std::cerr << "usage: tavro2-pack HEADWORDS TRANSLATIONS OUT.dat [YYYY-MM-DD] [--level 1..10]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int level = 10;
  int y = 2009, m = 1, d = 1;
  const char* positional[4] = {};
  int n = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc) {
      level = std::atoi(argv[++i]);
      if (level < 1 || level > 10) return usage();
    } else if (n < 4) {
      positional[n++] = argv[i];
    } else {
      return usage();
    }
  }
  if (n < 3) return usage();
  if (n == 4 && std::sscanf(positional[3], "%d-%d-%d", &y, &m, &d) != 3) return usage();
  std::string heads, trans;
  if (!readAll(positional[0], heads) || !readAll(positional[1], trans)) {
    std::cerr << "tavro2-pack: cannot read the input texts\n";
    return 1;
  }
  if (!tavro2::writeDataFile(positional[2], heads, trans, tavro2::dataDateOf(y, m, d), level)) {
    std::cerr << "tavro2-pack: cannot write " << positional[2] << "\n";
    return 1;
  }
  return 0;
}
