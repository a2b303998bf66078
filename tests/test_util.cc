#include "test_util.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/word_list.h"
#include "tools/data_writer.h"

namespace tavro2::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "tavro2-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only directories behind; make them writable first.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string crlfJoin(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

void writeEntries(const std::string& path, const std::vector<std::string>& headwords,
                   const std::vector<std::string>& translations) {
  if (!writeDataFile(path, crlfJoin(headwords), crlfJoin(translations), dataDateOf(2009, 1, 1)))
    throw std::runtime_error("cannot write data file " + path);
}

void writeDictionary(const std::string& dir, const DictionaryTexts& texts) {
  writeEntries(dir + "dataen.dat", texts.english, texts.englishTranslations);
  writeEntries(dir + "dataid.dat", texts.indonesian, texts.indonesianTranslations);
  writeEntries(dir + "datapr.dat", texts.phrases, texts.phraseTranslations);
}

std::vector<std::string> lines(const WordList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.count(); ++i) out.emplace_back(list[i]);
  return out;
}

std::vector<std::string> linesOf(std::string text) { return lines(splitLines(std::move(text))); }

std::string translationOf(const std::string& headwords, const std::string& translations,
                          std::string_view word) {
  const WordList heads = splitLines(headwords);
  for (std::size_t i = 0; i < heads.count(); ++i)
    if (heads[i] == word) return std::string(splitLines(translations)[i]);
  return "<none>";
}

}  // namespace tavro2::test
