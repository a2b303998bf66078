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

// Large desktop text scales the program by its ratio to 9 points, in
// quarter steps and at most 3; usual and slightly larger text, or a scale
// the user set, leave it as it is.
TEST(QtPlatformTest, LargeTextScalesTheWindows) {
  EXPECT_EQ(windowScaleForFont(9, false), 1.0);
  EXPECT_EQ(windowScaleForFont(11, false), 1.0);  // GNOME's usual Cantarell 11
  EXPECT_EQ(windowScaleForFont(13.5, false), 1.5);
  EXPECT_EQ(windowScaleForFont(20, false), 2.25);
  EXPECT_EQ(windowScaleForFont(72, false), 3.0);
  EXPECT_EQ(windowScaleForFont(20, true), 1.0);
  EXPECT_EQ(windowScaleForFont(-1, false), 1.0);       // a pixel-sized font has no point size
  EXPECT_EQ(windowScaleForFont(20, false, 1.7), 1.5);  // as far as the screen allows
  EXPECT_EQ(windowScaleForFont(20, false, 0.8), 1.0);
}

}  // namespace
}  // namespace tavro2
