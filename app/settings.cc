#include "app/settings.h"

#include <algorithm>

namespace tavro2 {
namespace {

// The low bits of the integer read, as a field of that width keeps it.
std::uint8_t low8(std::int32_t v) { return static_cast<std::uint8_t>(v); }
std::uint16_t low16(std::int32_t v) { return static_cast<std::uint16_t>(v); }

}  // namespace

Settings readSettings(const IniFile& file) {
  const IniFile::Snapshot ini = file.read();  // one read and parse for every key
  namespace k = settings_key;
  const Settings d;
  Settings s;
  s.Language = low8(ini.readInteger(k::kLanguage, d.Language));
  s.WordsBefore = low16(ini.readInteger(k::kWordsBefore, d.WordsBefore));
  s.WordsAfter = low16(ini.readInteger(k::kWordsAfter, d.WordsAfter));
  s.MaxContainTexts = low16(ini.readInteger(k::kMaxContainTexts, d.MaxContainTexts));
  s.AlphaBlend = low16(ini.readInteger(k::kAlphaBlend, d.AlphaBlend));
  s.Skin = low8(ini.readInteger(k::kSkin, d.Skin));
  s.AlwaysOnTop = ini.readBoolean(k::kAlwaysOnTop, d.AlwaysOnTop);
  s.AutoRemAlpha = ini.readBoolean(k::kAutoRemAlpha, d.AutoRemAlpha);
  s.UseClipboard = ini.readBoolean(k::kUseClipboard, d.UseClipboard);
  s.ShowContain = ini.readBoolean(k::kShowContain, d.ShowContain);
  s.ShowPhrase = ini.readBoolean(k::kShowPhrase, d.ShowPhrase);
  s.WordHistory = ini.readInteger(k::kWordHistory, d.WordHistory);
  s.AutoCloseTime = ini.readInteger(k::kAutoCloseTime, d.AutoCloseTime);
  s.HistoryFromRight = ini.readBoolean(k::kHistoryFromRight, d.HistoryFromRight);
  s.UseSelection = ini.readBoolean(k::kUseSelection, d.UseSelection);
  s.LookAsYouType = ini.readBoolean(k::kLookAsYouType, d.LookAsYouType);
  s.TextZoom = std::clamp(ini.readInteger(k::kTextZoom, d.TextZoom), kTextZoomMin, kTextZoomMax);

  if (s.WordsBefore > 100) s.WordsBefore = 100;
  if (s.WordsAfter > 100) s.WordsAfter = 100;
  if (s.MaxContainTexts == 0)
    s.MaxContainTexts = 6;
  else if (s.MaxContainTexts > 100)
    s.MaxContainTexts = 100;
  if (s.Language < 1 || s.Language > 3) s.Language = 1;
  return s;
}

bool readCompactMode(const IniFile& ini) {
  return ini.readBoolean(settings_key::kCompactMode, false);
}

}  // namespace tavro2
