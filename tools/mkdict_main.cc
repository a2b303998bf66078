// tavro2-mkdict: builds dataen.dat, dataid.dat and datapr.dat from a dictd
// English-Indonesian dictionary, optionally merged with the WordNet join and
// the function-word and everyday-word lists (see tools/extra_sources.h), and
// the English headwords' transcriptions, dataipa.dat (tools/transcriptions.h).
//
//   tavro2-mkdict --index FILE.index --dict FILE.dict[.dz] --out DIR
//                 [--wordnet FILE.tsv.gz] [--function-words FILE.txt]...
//                 [--everyday-words FILE.txt]... [--frequency DIR]
//                 [--tags FILE.tsv.gz] [--verb-frames FILE.tsv.gz] [--rare-words FILE.txt]
//                 [--wrong-senses FILE.txt] [--spoken-words FILE.txt]...
//                 [--excluded-english FILE.txt]
//                 [--no-espeak] [--ipa-report FILE.txt] [--level 1..10]
//                 [--date YYYY-MM-DD]
//
// --frequency names the folder of the frequency lists and --tags WordNet's
// tag counts (tools/word_usage.h); --verb-frames which verb senses take an
// object (tools/extra_sources.h); --rare-words a list of Indonesian words,
// one a line, that count as rare; --wrong-senses a list in the word lists'
// layout of Indonesian words that are wrong for an English headword;
// --spoken-words a list in that layout of Indonesian headwords with their
// English (spoken forms, particles, function words), which open their
// entries; --excluded-english English words, one a line, that no Indonesian
// entry shows; --no-espeak keeps FreeDict's transcriptions only;
// --ipa-report says how many of the 3,000 commonest words of a frequency list
// (a word a line) that are English headwords have a transcription, and whose.
//
// DataDate is the source's edition date unless --date is given; a source that
// states none is dated by its .dict file's modification day.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "tools/data_writer.h"
#include "tools/dict_builder.h"
#include "tools/transcriptions.h"

namespace {

int usage() {
  std::cerr << "usage: tavro2-mkdict --index FILE.index --dict FILE.dict[.dz] --out DIR"
               " [--wordnet FILE.tsv.gz] [--function-words FILE.txt]..."
               " [--everyday-words FILE.txt]... [--frequency DIR] [--tags FILE.tsv.gz]"
               " [--verb-frames FILE.tsv.gz]"
               " [--rare-words FILE.txt] [--wrong-senses FILE.txt] [--spoken-words FILE.txt]..."
               " [--excluded-english FILE.txt] [--no-espeak] [--ipa-report FILE.txt]"
               " [--level 1..10]"
               " [--date YYYY-MM-DD]\n";
  return 2;
}

std::optional<tavro2::EditionDate> modificationDay(const std::string& path) {
  std::error_code ec;
  const auto stamp = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  const auto days = std::chrono::floor<std::chrono::days>(
      std::chrono::file_clock::to_sys(stamp));
  const std::chrono::year_month_day ymd(days);
  return tavro2::EditionDate{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                             static_cast<int>(unsigned(ymd.day()))};
}

}  // namespace

int main(int argc, char** argv) {
  std::string indexPath, dictPath, outDir, wordnetPath, frequencyDir, tagsPath, framesPath,
      rarePath, wrongPath, excludedPath, ipaReportPath;
  std::vector<std::string> wordListPaths;  // --function-words, in order
  std::vector<std::string> spokenPaths;    // --spoken-words, in order
  std::vector<std::string> everydayPaths;  // --everyday-words, in order
  int level = tavro2::kDictionaryLevel;
  bool espeak = true;
  std::optional<tavro2::EditionDate> date;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--index") == 0 && hasValue) {
      indexPath = argv[++i];
    } else if (std::strcmp(argv[i], "--dict") == 0 && hasValue) {
      dictPath = argv[++i];
    } else if (std::strcmp(argv[i], "--wordnet") == 0 && hasValue) {
      wordnetPath = argv[++i];
    } else if (std::strcmp(argv[i], "--function-words") == 0 && hasValue) {
      wordListPaths.push_back(argv[++i]);
    } else if (std::strcmp(argv[i], "--everyday-words") == 0 && hasValue) {
      everydayPaths.push_back(argv[++i]);
    } else if (std::strcmp(argv[i], "--frequency") == 0 && hasValue) {
      frequencyDir = argv[++i];
    } else if (std::strcmp(argv[i], "--tags") == 0 && hasValue) {
      tagsPath = argv[++i];
    } else if (std::strcmp(argv[i], "--verb-frames") == 0 && hasValue) {
      framesPath = argv[++i];
    } else if (std::strcmp(argv[i], "--rare-words") == 0 && hasValue) {
      rarePath = argv[++i];
    } else if (std::strcmp(argv[i], "--wrong-senses") == 0 && hasValue) {
      wrongPath = argv[++i];
    } else if (std::strcmp(argv[i], "--spoken-words") == 0 && hasValue) {
      spokenPaths.push_back(argv[++i]);
    } else if (std::strcmp(argv[i], "--excluded-english") == 0 && hasValue) {
      excludedPath = argv[++i];
    } else if (std::strcmp(argv[i], "--no-espeak") == 0) {
      espeak = false;
    } else if (std::strcmp(argv[i], "--ipa-report") == 0 && hasValue) {
      ipaReportPath = argv[++i];
    } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
      outDir = argv[++i];
    } else if (std::strcmp(argv[i], "--level") == 0 && hasValue) {
      level = std::atoi(argv[++i]);
      if (level < 1 || level > 10) return usage();
    } else if (std::strcmp(argv[i], "--date") == 0 && hasValue) {
      tavro2::EditionDate d;
      if (std::sscanf(argv[++i], "%d-%d-%d", &d.year, &d.month, &d.day) != 3 || d.year < 1 ||
          d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31)
        return usage();
      date = d;
    } else {
      return usage();
    }
  }
  if (indexPath.empty() || dictPath.empty() || outDir.empty()) return usage();

  const auto start = std::chrono::steady_clock::now();
  tavro2::DictdSource source;
  std::string error;
  if (!tavro2::readDictdSource(indexPath, dictPath, source, error)) {
    std::cerr << "tavro2-mkdict: " << error << "\n";
    return 1;
  }
  if (!date) date = source.edition;
  if (!date) date = modificationDay(dictPath);
  if (!date) {
    std::cerr << "tavro2-mkdict: the source states no edition date; give --date\n";
    return 1;
  }
  tavro2::ExtraSources extra;
  std::size_t badWordnet = 0, badFunctionWords = 0;
  if (!wordnetPath.empty() &&
      !tavro2::readWordnetJoin(wordnetPath, extra.wordnet, badWordnet, error)) {
    std::cerr << "tavro2-mkdict: " << error << "\n";
    return 1;
  }
  const std::pair<const std::vector<std::string>*, std::vector<tavro2::FunctionWord>*> lists[] = {
      {&wordListPaths, &extra.functionWords},
      {&everydayPaths, &extra.everydayWords},
      {&spokenPaths, &extra.spokenWords}};
  for (const auto& [paths, into] : lists)
    for (const std::string& path : *paths) {
      std::vector<tavro2::FunctionWord> senses;
      if (!tavro2::readFunctionWords(path, senses, badFunctionWords, error)) {
        std::cerr << "tavro2-mkdict: " << error << "\n";
        return 1;
      }
      into->insert(into->end(), senses.begin(), senses.end());
    }
  std::size_t badTags = 0, badFrames = 0;
  std::string rareText, excludedText;
  if ((!frequencyDir.empty() && !tavro2::readFrequencyLists(frequencyDir, extra.usage, error)) ||
      (!tagsPath.empty() && !tavro2::readEnglishTags(tagsPath, extra.usage, badTags, error)) ||
      (!framesPath.empty() &&
       !tavro2::readVerbFrames(framesPath, extra.verbFrames, badFrames, error)) ||
      (!rarePath.empty() && !tavro2::readWholeFile(rarePath, rareText, error)) ||
      (!excludedPath.empty() && !tavro2::readWholeFile(excludedPath, excludedText, error))) {
    std::cerr << "tavro2-mkdict: " << error << "\n";
    return 1;
  }
  extra.rareWords = tavro2::parseWordSet(rareText);
  extra.excludedEnglish = tavro2::parseWordSet(excludedText);
  if (!wrongPath.empty() &&
      !tavro2::readFunctionWords(wrongPath, extra.wrongSenses, badFunctionWords, error)) {
    std::cerr << "tavro2-mkdict: " << error << "\n";
    return 1;
  }
  const tavro2::BuiltDictionary dict = tavro2::buildDictionary(source.entries, extra);
  const double dataDate = tavro2::dataDateOf(date->year, date->month, date->day);
  if (!tavro2::writeDictionaryFiles(outDir, dict, dataDate, level, error)) {
    std::cerr << "tavro2-mkdict: " << error << "\n";
    return 1;
  }
  const tavro2::Transcriber fill = espeak ? tavro2::espeakTranscriber() : tavro2::Transcriber();
  const tavro2::Transcriptions ipa =
      tavro2::buildTranscriptions(source.entries, dict.english.headwords,
                                  dict.lowerCaseEnglish, fill);
  const std::string ipaPath = (std::filesystem::path(outDir) / "dataipa.dat").string();
  if (!tavro2::writeTranscriptionFile(ipaPath, ipa, dataDate, level)) {
    std::cerr << "tavro2-mkdict: cannot write " << ipaPath << "\n";
    return 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("tavro2-mkdict: %zu source entries, %zu WordNet synsets, %zu word-list senses,"
              " %zu spoken-word senses,"
              " dated %04d-%02d-%02d, level %d, %.2f s\n",
              source.entries.size(), extra.wordnet.size(),
              extra.functionWords.size() + extra.everydayWords.size(), extra.spokenWords.size(),
              date->year,
              date->month, date->day, level, seconds);
  const std::pair<const char*, std::size_t> files[] = {{"dataen.dat", dict.english.count},
                                                       {"dataid.dat", dict.indonesian.count},
                                                       {"datapr.dat", dict.phrases.count},
                                                       {"dataipa.dat", ipa.count()}};
  for (const auto& [name, count] : files) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(std::filesystem::path(outDir) / name, ec);
    std::printf("  %s  %6zu entries  %8llu bytes\n", name, count,
                static_cast<unsigned long long>(ec ? 0 : size));
  }
  if (source.badIndexLines || dict.droppedTerms || dict.skippedEntries)
    std::printf("  skipped: %zu index lines, %zu entries; %zu terms without a 1252 form\n",
                source.badIndexLines, dict.skippedEntries, dict.droppedTerms);
  if (badWordnet || badFunctionWords || badTags || badFrames)
    std::printf("  skipped: %zu WordNet lines, %zu word-list lines, %zu tag lines,"
                " %zu verb-frame lines that do not fit\n",
                badWordnet, badFunctionWords, badTags, badFrames);
  std::printf("  names left out of common words: %zu WordNet senses, %zu headwords\n",
              dict.droppedNameSenses, dict.droppedNameHeadwords);
  std::printf("  transcriptions: %zu from FreeDict, %zu from espeak-ng%s\n", ipa.fromFreeDict,
              ipa.fromEspeak,
              !espeak ? " (--no-espeak)" : fill ? "" : " (built without libespeak-ng)");
  if (!ipaReportPath.empty()) {
    std::string list;
    if (!tavro2::readWholeFile(ipaReportPath, list, error)) {
      std::cerr << "tavro2-mkdict: " << error << "\n";
      return 1;
    }
    std::printf("  transcriptions %s\n",
                tavro2::transcriptionReport(ipa, dict.english.headwords, list, 3000).c_str());
  }
  std::printf("  Indonesian roots made from their derived forms: %zu\n", dict.rootEntries);
  std::printf("  English entries with a verb used without an object (kki): %zu\n",
              dict.intransitiveEntries);
  return 0;
}
