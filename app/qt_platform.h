// The window system the window starts on.
//
// Wayland tells only the focused program about the clipboard and gives no
// other program a primary selection, and its Qt platform can neither fade a
// window nor keep it on top. Where X11 is at hand too (DISPLAY: an X11
// session, or XWayland in a Wayland one), the window therefore starts on
// X11 (xcb) unless its user chose a platform: there a copied word is seen
// without focus on X11 and on GNOME's XWayland, the popup fades and stays
// out of the keyboard's way, and Always on Top works.
#pragma once

#include <optional>
#include <string>

namespace tavro2 {

struct PlatformEnvironment {
  std::optional<std::string> qtPlatform;  // QT_QPA_PLATFORM
  bool platformArgument = false;          // -platform NAME given
  std::optional<std::string> display;     // DISPLAY
};

// The value QT_QPA_PLATFORM is to take, or nothing to leave it as it is:
//  - the user's choice stands (-platform, or QT_QPA_PLATFORM); a choice of
//    "wayland" alone becomes "wayland;xcb" where X11 is at hand, so a
//    missing Wayland plugin falls back on X11 instead of ending the program;
//  - otherwise, with a non-empty DISPLAY, "xcb";
//  - otherwise nothing (Qt's own choice).
std::optional<std::string> chosenQtPlatform(const PlatformEnvironment& env);

// The environment of this process and its arguments (argv as main got it).
PlatformEnvironment currentPlatformEnvironment(int argc, char** argv);

// The windows are laid out for 12-pixel text, the 9-point font of a
// desktop's usual setting. A desktop set to large text (13.5 points and
// more) has the whole program scaled by the ratio, in steps of a quarter, so
// its text, its windows and its pictures grow together; but never beyond
// `fitScale` (the scale at which the main window still fits the screen,
// taken down to a quarter step) nor 3. 1 (no scaling) otherwise, and
// whenever the user set QT_SCALE_FACTOR.
inline constexpr double kDesignedPointSize = 9.0;
double windowScaleForFont(double systemPointSize, bool userChoseScale, double fitScale = 3.0);

}  // namespace tavro2
