// The roles a screen reader is told for the program's own kinds of widget,
// where Qt's defaults say too little: the skinned top-level windows are
// windows (not fillers), the status line is a status bar named by its text.
#pragma once

namespace tavro2 {

// The property holding a label's whole text where it shows less (the status
// line cut with "…"); a screen reader is given the whole.
inline constexpr char kWholeTextProperty[] = "wholeText";

// Installs the accessibility factory; once per run, later calls do nothing.
void installAccessibleRoles();

}  // namespace tavro2
