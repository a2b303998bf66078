// The history file: any bytes are loaded as at start-up, a word is appended,
// and the file read back must end with that word's line and hold no more
// than the lines the list keeps plus the new one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/history_list.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = tavro2::fuzz::putFile(tavro2::kHistoryFileName,
                                                 {reinterpret_cast<const char*>(data), size});
  tavro2::HistoryList history(path);
  history.load();
  if (history.lines().size() > tavro2::HistoryList::kLoadCap) std::abort();
  history.historyTranslation("bank");

  const std::string word = "w" + std::to_string(size);
  const auto result = history.addToHistory(word, "kata\nlain");
  tavro2::HistoryList again(path);
  again.load();
  if (result == tavro2::HistoryList::AddResult::kAppended && !history.lastWriteFailed() &&
      (again.lines().empty() || again.lines().back() != word + "=kata\nlain"))
    std::abort();
  return 0;
}
