// Feeds arbitrary bytes to the data-file reader: as a whole file image in
// memory, as a single block, and as a file on disk read chunk by chunk (the
// loader's own road). The sanitizers turn any out-of-bounds access into a
// crash, the RSS limit any allocation sized by what the file claims, and the
// checks below a broken contract.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/data_file.h"
#include "engine/dictionary_store.h"
#include "engine/word_list.h"
#include "fuzz/fuzz_util.h"

namespace {

void checkContents(const tavro2::DataFileContents& file) {
  if (file.headwords.size() > tavro2::kMaxBlockText || file.translations.size() > tavro2::kMaxBlockText)
    std::abort();
  if (file.outcome == tavro2::DataOutcome::kMissing) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const tavro2::BlockText block = tavro2::decompressBlock(bytes);
  if (size >= 4) {
    const std::uint32_t textSize = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
    if (block.text.size() > textSize) std::abort();  // never more than TextSize
  } else if (!block.damaged || !block.text.empty()) {
    std::abort();
  }
  if (block.tooLarge && (!block.damaged || !block.text.empty())) std::abort();

  tavro2::DataFileContents image = tavro2::parseDataFile(bytes);
  checkContents(image);
  if (size < tavro2::kTrailerSize && image.outcome != tavro2::DataOutcome::kDamaged) std::abort();

  // The same bytes as a file: the chunk-by-chunk reader must agree with the
  // in-memory one, and the loader publishes what it read.
  const std::string path = tavro2::fuzz::putFile("dataen.dat", bytes);
  const tavro2::DataFileContents onDisk = tavro2::readDataFile(path);
  if (onDisk.outcome != image.outcome || onDisk.headwords != image.headwords ||
      onDisk.translations != image.translations)
    std::abort();
  tavro2::DictionaryStore store;
  const tavro2::LoadState state = tavro2::loadDataFile(store, path);
  if (state == tavro2::LoadState::kPending ||
      store.headwords(tavro2::DataKind::kEnglish).count() > tavro2::kMaxBlockLines + 1)
    std::abort();

  const tavro2::WordList heads = tavro2::splitLines(std::move(image.headwords));
  for (std::size_t i = 0; i < heads.count(); ++i)
    if (heads.lineStart(i) > heads.lineEnd(i) || heads.lineEnd(i) > heads.text().size())
      std::abort();
  return 0;
}
