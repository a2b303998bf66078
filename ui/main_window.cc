// Temporary definitions so the library links while the window is built.
#include "ui/main_window.h"

#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"

namespace tavro2 {

class DictionaryLoader {};
class HistoryList {};
class IniFile {};
struct Settings {};

MainWindow::MainWindow(std::string programDir, QWidget* parent)
    : QWidget(parent), programDir_(std::move(programDir)) {}
MainWindow::~MainWindow() = default;
bool MainWindow::clipboardMonitoring() const { return false; }
void MainWindow::ReadSettings() {}
void MainWindow::ApplyLanguage() {}
void MainWindow::ApplySkin(int index) { skin_.load(index); palette_ = ComputeSkinPalette(skin_); }
void MainWindow::ApplyFullLayout() {}
void MainWindow::ApplyPanelLayout() {}
void MainWindow::SetCompactMode(bool) {}
void MainWindow::SetWideCompact(bool) {}
void MainWindow::showLookupState() {}
void MainWindow::showTranslation() {}
void MainWindow::setStatusText(const std::string&) {}
void MainWindow::search() {}
void MainWindow::openHelp() {}
void MainWindow::exitProgram() { close(); }
void MainWindow::compactToggle() {}
void MainWindow::compactCycle() {}
void MainWindow::wideToggle() {}
void MainWindow::showEvent(QShowEvent*) {}
void MainWindow::hideEvent(QHideEvent*) {}
void MainWindow::closeEvent(QCloseEvent*) {}
void MainWindow::changeEvent(QEvent*) {}
void MainWindow::paintEvent(QPaintEvent*) {}
bool MainWindow::eventFilter(QObject*, QEvent*) { return false; }

}  // namespace tavro2
