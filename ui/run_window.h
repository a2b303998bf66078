// Starts the application object and the main window and runs the event loop.
#pragma once

namespace tavro2 {

int RunWindow(int argc, char** argv);

}  // namespace tavro2
