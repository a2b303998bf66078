// The settings file: any bytes are read as the window reads them at start-up,
// then one key is written and must read back as written, with no other key's
// value changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/settings.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace k = tavro2::settings_key;
  static const std::string_view keys[] = {
      k::kLanguage,    k::kWordsBefore, k::kWordsAfter,   k::kMaxContainTexts, k::kAlphaBlend,
      k::kSkin,        k::kAlwaysOnTop, k::kAutoRemAlpha, k::kUseClipboard,    k::kShowContain,
      k::kShowPhrase,  k::kWordHistory, k::kAutoCloseTime, k::kHistoryFromRight,
      k::kCompactMode, "Odd Key"};
  const std::string path = tavro2::fuzz::putFile(tavro2::kSettingsFileName,
                                                 {reinterpret_cast<const char*>(data), size});
  tavro2::IniFile ini(path, tavro2::kSettingsSection);
  const tavro2::IniFile::Snapshot before = ini.read();
  tavro2::readSettings(ini);
  tavro2::readCompactMode(ini);

  const std::size_t pick = size > 0 ? data[size - 1] % std::size(keys) : 0;
  const std::int32_t value = static_cast<std::int32_t>(size * 2654435761u);
  if (!ini.writeInteger(keys[pick], value)) return 0;
  const tavro2::IniFile::Snapshot after = ini.read();
  if (after.readInteger(keys[pick], value + 1) != value) std::abort();
  for (std::size_t i = 0; i < std::size(keys); ++i)
    if (i != pick &&
        after.readString(keys[i]) != before.readString(keys[i]))
      std::abort();
  return 0;
}
