#include "app/qt_platform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace tavro2 {

std::optional<std::string> chosenQtPlatform(const PlatformEnvironment& env) {
  const bool x11 = env.display && !env.display->empty();
  if (env.platformArgument) return std::nullopt;
  if (env.qtPlatform && !env.qtPlatform->empty()) {
    if (*env.qtPlatform == "wayland" && x11) return std::string("wayland;xcb");
    return std::nullopt;
  }
  if (x11) return std::string("xcb");
  return std::nullopt;
}

double windowScaleForFont(double systemPointSize, bool userChoseScale, double fitScale) {
  if (userChoseScale || !(systemPointSize > 0)) return 1.0;
  const double ratio = systemPointSize / kDesignedPointSize;
  if (ratio < 1.5) return 1.0;
  const double fits = std::floor(std::max(1.0, fitScale) * 4) / 4;
  return std::min({3.0, fits, std::round(ratio * 4) / 4});
}

PlatformEnvironment currentPlatformEnvironment(int argc, char** argv) {
  PlatformEnvironment env;
  auto variable = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  env.qtPlatform = variable("QT_QPA_PLATFORM");
  env.display = variable("DISPLAY");
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=") ||
        arg.starts_with("--platform="))
      env.platformArgument = true;
  }
  return env;
}

}  // namespace tavro2
