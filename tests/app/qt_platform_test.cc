#include "app/qt_platform.h"

#include <gtest/gtest.h>

namespace tavro2 {
namespace {

// X11 (XWayland on a Wayland desktop) when at hand; the user's choice
// stands, a bare "wayland" with X11 to fall back on.
TEST(QtPlatformTest, X11WhereAtHandUnlessTheUserChose) {
  struct Row {
    PlatformEnvironment env;
    std::optional<std::string> chosen;
  };
  const Row rows[] = {
      {{std::nullopt, false, ":0"}, "xcb"},                 // X11, or XWayland
      {{std::nullopt, false, std::nullopt}, std::nullopt},  // pure Wayland: Qt decides
      {{std::nullopt, false, ""}, std::nullopt},
      {{"offscreen", false, ":0"}, std::nullopt},  // the user's choice
      {{"wayland", false, ":0"}, "wayland;xcb"},   // with a way back
      {{"wayland", false, std::nullopt}, std::nullopt},
      {{"wayland;xcb", false, ":0"}, std::nullopt},
      {{std::nullopt, true, ":0"}, std::nullopt},  // -platform NAME
      {{"", false, ":1"}, "xcb"},                  // set but empty: not a choice
  };
  for (const Row& r : rows)
    EXPECT_EQ(chosenQtPlatform(r.env), r.chosen)
        << r.env.qtPlatform.value_or("(unset)") << " " << r.env.display.value_or("(unset)");

  char prog[] = "tavro2", platform[] = "-platform", name[] = "xcb", word[] = "house";
  char* withPlatform[] = {prog, platform, name, word, nullptr};
  EXPECT_TRUE(currentPlatformEnvironment(4, withPlatform).platformArgument);
  char* withoutPlatform[] = {prog, word, nullptr};
  EXPECT_FALSE(currentPlatformEnvironment(2, withoutPlatform).platformArgument);
}

}  // namespace
}  // namespace tavro2
