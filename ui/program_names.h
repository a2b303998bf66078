// The program's names and its maker's web address, shown by the main window
// and the about box.
#pragma once

namespace tavro2 {

// The window caption and the program's title.
inline constexpr const char* kWindowCaption = "Tavro 2.04";
inline constexpr const char* kApplicationTitle = "Tavro2";

// The maker's web page: shown in the link panel and opened by the about box.
inline constexpr const char* kMakerWebAddress = "https://freedict.org/";

}  // namespace tavro2
