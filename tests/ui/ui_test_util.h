// Helpers shared by the window and editor tests.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

#include "test_util.h"
#include "ui/main_window.h"

namespace tavro2::test {

// The named child widget; a missing one fails the test.
template <class T = QWidget>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// The window tests' dictionary: English can, hello, rerun, run, runner, walk;
// Indonesian halo, jalan, lari; three phrases, two of them about running.
void writeDictionary(const TempDir& dir);

// The main window's search box, status line text and translation pane text.
inline QLineEdit* searchBoxOf(QWidget& window) { return child<QLineEdit>(window, "searchBox"); }
inline QString statusTextOf(QWidget& window) { return child<QLabel>(window, "statusLine")->text(); }
inline QString translationOf(QWidget& window) {
  return child<QTextEdit>(window, "translationPane")->toPlainText();
}

// A main window over that dictionary with `settings` (lines after [General])
// and `history` as its files, shown and waited on until its load has ended.
struct LoadedWindow {
  explicit LoadedWindow(const std::string& settings = "", const std::string& history = "");
  TempDir dir;
  std::unique_ptr<MainWindow> window;
  MainWindowHistoryHost* host = nullptr;
  bool loaded = false;
};

// Types `text` into the window's search box and looks it up.
inline void searchFor(MainWindow& window, const QString& text) {
  searchBoxOf(window)->setText(text);
  window.search();
}

// Stands in for the desktop's opener for one URL scheme while it lives.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  explicit UrlCatcher(QString scheme = "file");
  ~UrlCatcher() override;
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.append(url); }

 private:
  QString scheme_;
};

// Processes events until `done` holds or `timeoutMs` passes; false then.
bool processEventsUntil(const std::function<bool()>& done, int timeoutMs);

// Keys alone through every command of the program, on the dictionary in
// `dir` (writeDictionary); main_window_test.cc runs it offscreen and
// xvfb_test.cc on a real X server.
void walkEveryCommandByKeyboard(const TempDir& dir);

// xclip takes `selection` ("clipboard" or "primary") with `text` and owns it until the server goes.
bool putWithXclip(const char* selection, const QByteArray& text);

}  // namespace tavro2::test
