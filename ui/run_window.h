// Starts the application object and the main window and runs the event loop.
#pragma once

#include <QString>

namespace tavro2 {

class MainWindow;

// Qt's options and the window's own (--dir DIR, a word to look up) in argv.
// A window already running on the same files is raised and given the word
// instead, and this start returns 0 at once.
int runWindow(int argc, char** argv);

// What a later start asks of the running window: show, raise and focus it,
// then look `word` up as the search box would (nothing when it is empty).
void bringForward(MainWindow& window, const QString& word);

}  // namespace tavro2
