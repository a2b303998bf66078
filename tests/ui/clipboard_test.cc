// PollClipboard's acceptance rules and steps, over a scripted clipboard, and
// the conversion of clipboard text to Windows-1252.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QCoreApplication>
#include <QGuiApplication>

#include "fake_history_host.h"
#include "ui/clipboard_monitor.h"
#include "ui/main_window.h"
#include "ui/skin_widgets.h"

namespace tavro2::test {
namespace {

TEST(ClipboardTextTest, ConvertsAsThe8BitFormatWould) {
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf8("hello")), "hello");
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf8("caf\xC3\xA9")), "caf\xE9");
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf8("\xE2\x82\xAC 5")), "\x80 5");  // euro
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC")), "??");
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), "a?b");  // one ?
  EXPECT_EQ(ClipboardTextTo1252(QString::fromUtf16(u"ab\0cd", 5)), "ab");
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.store.publish(DataKind::kEnglish,
                       SplitLines(crlfJoin({"can", "cant", "hello", "walk"})),
                       SplitLines(crlfJoin({"dapat", "logat", "halo", "berjalan"})),
                       LoadState::kLoaded);
    host.settingsValue.AutoRemAlpha = true;
    host.lookupState.settings.AutoRemAlpha = true;
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Puts a text on the scripted clipboard and signals the change.
  void copy(const std::string& text) {
    clip = {true, text};
    monitor.markChanged();
  }
  void copyNothing() {
    clip = {};
    monitor.markChanged();
  }

  FakeHistoryHost host;
  ClipboardReading clip;
  ClipboardMonitor monitor{host, [this] { return clip; }, true};
};

TEST_F(ClipboardTest, NothingHappensWhileTheButtonIsUp) {
  host.buttonDown = false;
  copy("hello");
  monitor.PollClipboard();
  EXPECT_EQ(monitor.readCount(), 0);
  EXPECT_EQ(host.lookupShows, 0);
}

TEST_F(ClipboardTest, AFoundWordIsShownRecordedAndSetsTheHitFlag) {
  copy("  Hello\r\n");
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, "hello");
  EXPECT_EQ(host.lookupState.fallbackWord, "hello");
  EXPECT_EQ(monitor.lastClipboardText(), "hello");
  EXPECT_TRUE(host.hit);
  EXPECT_EQ(host.records, 1);
  EXPECT_EQ(host.list.HistoryTranslation("hello"), "hello halo");
  EXPECT_EQ(readFile(host.list.path()), crlfJoin({"hello=hello halo"}));
  EXPECT_FALSE(host.popup->isVisible()) << "no history window, no popup";
}

TEST_F(ClipboardTest, TheSameTextIsLookedUpOnceUntilAnotherIsAccepted) {
  copy("hello");
  monitor.PollClipboard();
  copy("HELLO ");  // the same after cleaning
  monitor.PollClipboard();
  monitor.PollClipboard();
  EXPECT_EQ(host.lookupShows, 1);
  copy("walk");
  monitor.PollClipboard();
  copy("hello");
  monitor.PollClipboard();
  EXPECT_EQ(host.lookupShows, 3);
}

TEST_F(ClipboardTest, TheTextIsReadOnlyAfterAChangeIsSignalled) {
  copy("hello");
  for (int i = 0; i < 10; ++i) monitor.PollClipboard();
  EXPECT_EQ(monitor.readCount(), 1);
  clip = {true, "walk"};  // changed without a signal: not seen yet
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, "hello");
  monitor.markChanged();
  monitor.PollClipboard();
  EXPECT_EQ(monitor.readCount(), 2);
  EXPECT_EQ(host.searchBox, "walk");
}

TEST_F(ClipboardTest, WithoutChangeSignalsEveryTickReads) {
  ClipboardMonitor polling(host, [this] { return clip; }, false);
  clip = {true, "hello"};
  polling.PollClipboard();
  clip = {true, "walk"};
  polling.PollClipboard();
  EXPECT_EQ(polling.readCount(), 2);
  EXPECT_EQ(host.searchBox, "walk");
}

TEST_F(ClipboardTest, AutoRemAlphaFiltersAfterCleaning) {
  copy("Can't");
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, "cant");
  EXPECT_EQ(monitor.lastClipboardText(), "can't");  // K, not W, is remembered
  EXPECT_EQ(host.list.HistoryTranslation("cant"), "cant logat");

  host.settingsValue.AutoRemAlpha = false;
  host.lookupState.settings.AutoRemAlpha = false;
  copy("can");
  monitor.PollClipboard();
  copy("Can't");
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, "can't");
}

TEST_F(ClipboardTest, ThirtyTwoCharactersAreAcceptedAndThirtyThreeNever) {
  const std::string longest(32, 'a');
  copy(" " + longest + " ");
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, longest);
  EXPECT_EQ(host.lookupShows, 1);

  copy(std::string(33, 'b'));
  for (int i = 0; i < 5; ++i) monitor.PollClipboard();
  EXPECT_EQ(host.lookupShows, 1);
  EXPECT_EQ(monitor.lastClipboardText(), longest) << "a rejected text is not accepted";

  // Filtering counts: 33 characters of which one is punctuation pass.
  host.settingsValue.AutoRemAlpha = true;
  copy(std::string(32, 'c') + "!");
  monitor.PollClipboard();
  EXPECT_EQ(host.searchBox, std::string(32, 'c'));
}

TEST_F(ClipboardTest, SpacesOrPunctuationOnlyEmptyTheWindowWithNotFound) {
  for (const char* empty : {"    ", "12!?-"}) {
    copy("hello");
    monitor.PollClipboard();
    copy(empty);
    monitor.PollClipboard();
    EXPECT_EQ(host.searchBox, "") << empty;
    EXPECT_EQ(host.lookupState.translationText, "") << empty;
    EXPECT_EQ(host.lookupState.statusText, " not found") << empty;
    EXPECT_EQ(host.list.lines().size(), 1u);
  }
}

TEST_F(ClipboardTest, AClipboardWithoutTextOnlyClearsTheHitFlag) {
  copy("hello");
  monitor.PollClipboard();
  ASSERT_TRUE(host.hit);
  copyNothing();
  monitor.PollClipboard();
  EXPECT_FALSE(host.hit);
  EXPECT_EQ(host.searchBox, "hello");
  EXPECT_EQ(monitor.lastClipboardText(), "hello");
  EXPECT_EQ(host.lookupShows, 1);
}

TEST_F(ClipboardTest, ABaseFormIsShownButNotRecorded) {
  host.hit = true;
  copy("walked");
  monitor.PollClipboard();
  EXPECT_EQ(host.lookupState.mainWords.line(0), "walk");
  EXPECT_EQ(host.lookupShows, 1);
  EXPECT_EQ(host.records, 0);
  EXPECT_TRUE(host.list.lines().empty());
  EXPECT_TRUE(host.hit) << "the flag keeps its value";
  EXPECT_EQ(host.lookupState.fallbackWord, "walked");
}

TEST_F(ClipboardTest, WithTheHistoryWindowOpenTheWordPopsUpBesideItsItem) {
  host.list.AddToHistory("can", "can dapat");
  host.HistoryCommand();
  host.slideUntilSettled();
  copy("hello");
  monitor.PollClipboard();
  ASSERT_EQ(host.itemTexts().front(), " hello");
  EXPECT_TRUE(host.window->items().front()->isMarked());
  EXPECT_TRUE(host.popup->isVisible());
  EXPECT_EQ(host.popup->textArea()->toPlainText(), "hello halo");
  EXPECT_EQ(host.popup->x() + host.popup->width(), host.window->x());
}

TEST_F(ClipboardTest, FollowsTheApplicationClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("walk"));
  ClipboardMonitor system(host);
  system.PollClipboard();
  EXPECT_EQ(host.searchBox, "walk");
  system.PollClipboard();
  EXPECT_EQ(system.readCount(), 1);
  clipboard->setText(QString::fromUtf8("Hello"));
  system.PollClipboard();
  EXPECT_EQ(host.searchBox, "hello");
  EXPECT_EQ(system.readCount(), 2);
  clipboard->clear();
}

// The same path through the real main window and its history host.
class MainWindowClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeDataFile(dir.file("dataen.dat"), {"can", "hello"}, {"dapat", "halo"});
    writeDataFile(dir.file("dataid.dat"), {"halo"}, {"hello"});
    writeDataFile(dir.file("datapr.dat"), {"halo kawan"}, {"hello friend"});
    writeFile(dir.file("Tavro2.ini"), "[General]\r\nUseClipboard=1\r\n");
    writeFile(dir.file("History.txt"), crlfJoin({"can=can dapat"}));
    window = std::make_unique<MainWindow>(dir.path());
    window->show();
    QDeadlineTimer deadline(30000);
    while (!window->statusLine()->text().contains("Data OK") && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    host = window->historyHost();
  }
  void TearDown() override {
    window.reset();
    QGuiApplication::clipboard()->clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  TempDir dir;
  std::unique_ptr<MainWindow> window;
  MainWindowHistoryHost* host = nullptr;
};

TEST_F(MainWindowClipboardTest, CopiedWordIsRecordedAndPoppedUpBesideTheHistory) {
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(window->statusLine()->text().contains("Data OK"));
  ASSERT_TRUE(window->clipboardMonitoring());
  window->toggleHistory();
  FHistory* history = host->historyWindow();
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(window->historyWindow(), history);
  while (history->slideTimerActive()) history->slideTick();

  QGuiApplication::clipboard()->setText(QStringLiteral(" Hello "));
  host->PollClipboard();
  EXPECT_EQ(window->searchBox()->text(), "hello");
  EXPECT_EQ(window->translationPane()->toPlainText(), "hello halo");
  EXPECT_EQ(readFile(dir.file("History.txt")), crlfJoin({"can=can dapat", "hello=hello halo"}));
  EXPECT_TRUE(window->clipboardHit());
  EXPECT_EQ(history->items().front()->itemText(), " hello");
  EXPECT_TRUE(host->definitionPopup()->isVisible());
  EXPECT_EQ(host->definitionPopup()->textArea()->toPlainText(), "hello halo");
  // Colours from the skin and the main window's controls.
  EXPECT_EQ(history->palette().color(QPalette::Window), toQColor(window->skin().SkinOutlineColor));
  EXPECT_EQ(history->itemPanel()->topColor(), window->skinPalette().mainWordList);
  EXPECT_EQ(history->itemPanel()->bottomColor(), window->skinPalette().relatedList);
  EXPECT_EQ(host->definitionPopup()->textArea()->palette().color(QPalette::Base),
            toQColor(window->skinPalette().relatedTranslationPane));

  // Choosing the older item shows its stored entry.
  history->ChooseHistoryItem(history->items()[1]);
  EXPECT_EQ(window->searchBox()->text(), "can");
  EXPECT_EQ(window->translationPane()->toPlainText(), "can dapat");
}

TEST_F(MainWindowClipboardTest, HistoryMenuHidesAndBringsBackTheMainWindow) {
  window->toggleHistory();
  FHistory* history = host->historyWindow();
  ASSERT_NE(history, nullptr);
  history->toggleMainWindow();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->hiddenFlag());
  history->toggleMainWindow();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->hiddenFlag());

  // Closing the main window closes the history window with it.
  window->close();
  EXPECT_EQ(host->historyWindow(), nullptr);
  EXPECT_EQ(window->historyWindow(), nullptr);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tavro2::test
