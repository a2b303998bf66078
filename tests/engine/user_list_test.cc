#include "engine/user_list.h"
#include "engine/user_list_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "engine/cp1252.h"
#include "engine/data_file.h"
#include "engine/phrase_search.h"
#include "engine/render.h"
#include "lookup_fixture.h"

namespace tavro2::test {
namespace {

// Random user lists of words colliding under A-Z folding, against line-by-line answers.
class UserListOracleTest : public LookupTest {
 protected:
  std::vector<std::string> randomList(std::size_t lines) {
    static const char* const words[] = {"a", "A", "ab", "aB", "kata", "Kata", "", "rumah kata"};
    static const char* const texts[] = {"", "house", "a house", "x=kata", "kata ab", "AB"};
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines; ++i) {
      std::string line = words[rng_() % std::size(words)];
      if (rng_() % 4 != 0) line += std::string("=") + texts[rng_() % std::size(texts)];
      out.push_back(line);
    }
    return out;
  }
  std::mt19937 rng_{12345};
};

TEST_F(UserListOracleTest, OnePassAnswersEqualLineByLineOnes) {
  const char* const queries[] = {"a", "ab", "kata", "house", "x", "AB"};
  for (int round = 0; round < 300; ++round) {
    const std::vector<std::string> lines = randomList(1 + round % 12);
    const WordList list = splitLines(crlfJoin(lines));

    const UserList user(list);
    for (std::size_t i = 0; i < list.count(); ++i) {
      ASSERT_EQ(user.translationOf(i), findTranslation(list, entryWord(list[i]))) << round;
      std::vector<std::size_t> same, expected;
      user.forEachLineOfWord(i, [&](std::size_t j) { same.push_back(j); });
      for (std::size_t j = 0; j < list.count(); ++j)
        if (equalsFolded(entryWord(list[j]), entryWord(list[i]))) expected.push_back(j);
      ASSERT_EQ(same, expected) << round;
    }

    const char* const query = queries[round % std::size(queries)];
    for (const bool indonesian : {true, false}) {
      std::vector<PhrasePair> expected;
      for (std::size_t i = 0; i < list.count(); ++i) {
        const std::string_view word = entryWord(list[i]);
        const std::string_view english = findTranslation(list, word);
        if (posWholeWord(query, indonesian ? word : english) == 0) continue;
        if (indonesian)
          expected.emplace_back(word, english);
        else
          expected.emplace_back(english, word);
      }
      std::vector<PhrasePair> got;
      collectPhrases(query, indonesian, user, store, got);
      ASSERT_EQ(got, expected) << round << " " << query << " " << indonesian;
    }
  }
}

// A stamp-trusting cache sees a new file or size; the default one also a same-size
// rewrite that sets the old modification time back, which no stamp can tell.
TEST(UserListCacheTest, ChangedFilesAreReadAgain) {
  TempDir dir;
  const std::string path = dir.file("Tavro2en.dat");
  auto firstLine = [](const UserList& list) { return std::string(list.lines().line(0)); };
  UserListCache atOnce(0);
  EXPECT_EQ(atOnce.read(path).count(), 0u);
  writeFile(path, "a=a line past the short-string size\r\n");
  const char* kept = atOnce.read(path).lines().line(0).data();
  EXPECT_EQ(atOnce.read(path).lines().line(0).data(), kept);  // not read again
  writeFile(dir.file("new"), "b=2\r\n");
  ::rename(dir.file("new").c_str(), path.c_str());
  EXPECT_EQ(firstLine(atOnce.read(path)), "b=2");
  writeFile(path, "c=33\r\n");
  EXPECT_EQ(firstLine(atOnce.read(path)), "c=33");
  auto writeOld = [&](const char* text, long nanoseconds = 0) {
    writeFile(path, text);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {946684800, nanoseconds}};  // 2000
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  };
  writeOld("d=44\r\n", 1);  // the same size, and times a nanosecond apart
  EXPECT_EQ(firstLine(atOnce.read(path)), "d=44");
  writeOld("e=55\r\n", 2);
  EXPECT_EQ(firstLine(atOnce.read(path)), "e=55");
  ::unlink(path.c_str());
  EXPECT_EQ(atOnce.read(path).count(), 0u);

  UserListCache cache;
  writeOld("a=1\r\n");
  EXPECT_EQ(firstLine(cache.read(path)), "a=1");
  writeOld("b=2\r\n");
  EXPECT_EQ(firstLine(cache.read(path)), "b=2");
}

}  // namespace
}  // namespace tavro2::test
