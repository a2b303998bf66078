// Feeds arbitrary bytes to the data-file reader, both as a whole file image
// and as a single block; the sanitizers turn any out-of-bounds access into a
// crash, and the checks below turn a broken contract into one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/data_file.h"
#include "engine/word_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const tavro2::BlockText block = tavro2::DecompressBlock(bytes);
  if (size >= 4) {
    const std::uint32_t textSize = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
    if (block.text.size() > textSize) std::abort();  // never more than TextSize
  } else if (!block.damaged || !block.text.empty()) {
    std::abort();
  }

  tavro2::DataFileContents file = tavro2::ParseDataFile(bytes);
  if (size < tavro2::kTrailerSize && file.outcome != tavro2::DataOutcome::kDamaged) std::abort();
  const tavro2::WordList heads = tavro2::SplitLines(std::move(file.headwords));
  const tavro2::WordList trans = tavro2::SplitLines(std::move(file.translations));
  for (const tavro2::WordList* list : {&heads, &trans})
    for (std::size_t i = 0; i < list->count(); ++i)
      if (list->lineStart(i) > list->lineEnd(i) || list->lineEnd(i) > list->text().size())
        std::abort();
  return 0;
}
