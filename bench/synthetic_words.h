// What the benchmarks share. Synthetic dictionary words: drawn from a small
// syllable set, so that words, and the translations made of them, repeat the
// way a dictionary's do. Deterministic for a given seed.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace tavro2::bench {

// TAVRO2_BENCH_QUICK set (and not "0"): a small data set and short runs, so
// the test command can check that each benchmark still works.
inline bool quickRun() {
  const char* quick = std::getenv("TAVRO2_BENCH_QUICK");
  return quick && *quick && *quick != '0';
}

inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class WordMaker {
 public:
  explicit WordMaker(unsigned seed) : rng_(seed) {}
  std::string word(int minSyllables, int maxSyllables) {
    static const char* const kSyllables[] = {
        "ka", "ta", "ra", "ma", "na", "sa", "la", "pa", "ba", "da", "ga", "ja", "ha", "wa",
        "ke", "te", "re", "me", "ne", "se", "le", "pe", "be", "de", "ki", "ti", "ri", "mi",
        "ni", "si", "li", "pi", "bi", "di", "ku", "tu", "ru", "mu", "nu", "su", "lu", "pu",
        "ng", "an", "in", "un", "er", "ar", "or", "st", "th", "ch", "ou", "ea", "io", "ly"};
    std::uniform_int_distribution<int> count(minSyllables, maxSyllables);
    std::uniform_int_distribution<int> pick(0, std::size(kSyllables) - 1);
    std::string w;
    for (int i = count(rng_); i > 0; --i) w += kSyllables[pick(rng_)];
    return w;
  }
  std::mt19937& rng() { return rng_; }

 private:
  std::mt19937 rng_;
};

}  // namespace tavro2::bench
