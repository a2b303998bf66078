// The user's choices kept in the settings file "Tavro2.ini", section
// "General", and how they are read back.
//
// Each key is written at the moment the user changes it (by the window that
// owns the choice, through IniFile); nothing is written at shutdown. Reading
// cuts every value to the width its field keeps and then applies the bounds,
// so a hand-edited file can never give a field a value the program does not
// expect.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/ini_file.h"

namespace tavro2 {

inline constexpr char kSettingsFileName[] = "Tavro2.ini";
inline constexpr char kSettingsSection[] = "General";

// Key names as the file spells them, in the order ReadSettings reads them.
namespace settings_key {
inline constexpr std::string_view kLanguage = "Language";
inline constexpr std::string_view kWordsBefore = "WordsBefore";
inline constexpr std::string_view kWordsAfter = "WordsAfter";
inline constexpr std::string_view kMaxContainTexts = "MaxContainTexts";
inline constexpr std::string_view kAlphaBlend = "AlphaBlend";
inline constexpr std::string_view kSkin = "Skin";
inline constexpr std::string_view kAlwaysOnTop = "AlwaysOnTop";
inline constexpr std::string_view kAutoRemAlpha = "AutoRemAlpha";
inline constexpr std::string_view kUseClipboard = "UseClipboard";
inline constexpr std::string_view kShowContain = "ShowContain";
inline constexpr std::string_view kShowPhrase = "ShowPhrase";
inline constexpr std::string_view kWordHistory = "WordHistory";
inline constexpr std::string_view kAutoCloseTime = "AutoCloseTime";
inline constexpr std::string_view kHistoryFromRight = "HistoryFromRight";
inline constexpr std::string_view kCompactMode = "CompactMode";  // read on its own
inline constexpr std::string_view kUseSelection = "UseSelection";  // select-to-translate
inline constexpr std::string_view kLookAsYouType = "LookAsYouType";  // the typing list
inline constexpr std::string_view kTextZoom = "TextZoom";  // the panes' and lists' text size
}  // namespace settings_key

// Defaults are the values of a missing file.
struct Settings {
  std::uint8_t Language = 1;  // 1 "Automatic", 2 "English - Indonesian", 3 "Indonesian - English"
  std::uint16_t WordsBefore = 0, WordsAfter = 0, MaxContainTexts = 10;  // each at most 100
  std::uint16_t AlphaBlend = 255;  // unbounded; its low 8 bits are the window opacity
  std::uint8_t Skin = 0;
  bool AlwaysOnTop = true, AutoRemAlpha = true;
  bool UseClipboard = false, ShowContain = false, ShowPhrase = false;
  std::int32_t WordHistory = 20, AutoCloseTime = 7;  // no bounds
  bool HistoryFromRight = true;
  bool UseSelection = false;  // look up text selected in other programs
  bool LookAsYouType = true;  // list the words that begin with the text typed
  // Steps of two pixels from the panes' and lists' own size, kTextZoomMin
  // to kTextZoomMax (out of range: the nearest bound).
  std::int32_t TextZoom = 0;
};
inline constexpr std::int32_t kTextZoomMin = -3, kTextZoomMax = 8;

// Every key but CompactMode, in table order, widths cut, then bounds:
// WordsBefore and WordsAfter above 100 become 100; MaxContainTexts 0 becomes
// 6, else above 100 becomes 100; Language outside 1..3 becomes 1. A missing
// file or key gives the default. Applying the values to windows is the
// caller's part.
Settings readSettings(const IniFile& ini);

bool readCompactMode(const IniFile& ini);  // default false

}  // namespace tavro2
