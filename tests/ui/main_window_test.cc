// The main window: layouts, settings, the load, keys, glyphs and a lookup shown on screen.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTextCursor>
#include <QThreadPool>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <filesystem>

#include "app/failing_rename.h"
#include "app/program_dir.h"
#include "app/settings.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "skin/image_list.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "ui/definition_popup.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui_test_util.h"

namespace tavro2 {
namespace {

using test::child;
using test::readFile;
using test::searchBoxOf;
using test::searchFor;
using test::statusTextOf;
using test::translationOf;
using test::UrlCatcher;

bool shown(QWidget& w, const char* name) { return !child(w, name)->isHidden(); }
void click(QWidget& w, const char* name) { QTest::mouseClick(child(w, name), Qt::LeftButton); }
QStringList itemTexts(QWidget& w, const char* name) {
  const auto* list = child<QListWidget>(w, name);
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}
// The format of the character at pos (the cursor reports the one before it).
QTextCharFormat formatAt(QTextDocument* doc, int pos) {
  QTextCursor cursor(doc);
  cursor.setPosition(pos + 1);
  return cursor.charFormat();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { test::writeDictionary(dir_); }
  std::unique_ptr<MainWindow> makeWindow(const std::string& settings = "") {
    if (!settings.empty()) test::writeFile(dir_.file("Tavro2.ini"), settings);
    auto window = std::make_unique<MainWindow>(dir_.path());
    status_ = std::make_unique<QSignalSpy>(window.get(), &MainWindow::statusChanged);
    return window;
  }
  // Shows the window and waits on the loader's signal for the load it starts.
  void showAndLoad(MainWindow& window) {
    QSignalSpy finished(&window, &MainWindow::loadFinished);
    window.show();
    ASSERT_TRUE(finished.wait(10000));
  }
  std::string settingsText() const { return readFile(dir_.file("Tavro2.ini")); }
  std::vector<QString> statusTexts() const {
    std::vector<QString> texts;
    for (const QList<QVariant>& call : *status_) texts.push_back(call.at(0).toString());
    return texts;
  }

  test::TempDir dir_;
  std::unique_ptr<QSignalSpy> status_;
};

void expectCompactLayout(MainWindow& w, bool wide) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.wideFlag(), w.height()), std::tuple(true, wide, 118));
  for (const char* name : {"directionBar", "relatedPanel", "phrasePanel", "containButton",
                           "phraseButton", "mainWordList"})
    EXPECT_FALSE(child(w, name)->isVisibleTo(&w)) << name;
  EXPECT_EQ(std::tuple(shown(w, "statusLine"), child<GlyphButton>(w, "modeGlyph")->shownImage()),
            std::tuple(!wide, kImageCompactMode));
  EXPECT_EQ(child(w, "translationPanel")->width() > 300, wide);
}

void expectFullLayout(MainWindow& w) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.height()), std::tuple(false, 435));
  EXPECT_TRUE(shown(w, "statusLine") && shown(w, "directionBar"));
  EXPECT_EQ(child<GlyphButton>(w, "modeGlyph")->shownImage(), kImageFullMode);
}

void doubleClickPane(MainWindow& w) {
  QTest::mouseDClick(child<QTextEdit>(w, "translationPane")->viewport(), Qt::LeftButton, {},
                     QPoint(20, 10));
}

// Cycle: full -> compact -> wide compact -> full. The toggle returns to the
// compact layout last used; a pane double click swaps the compact layouts.
TEST_F(MainWindowTest, CompactModesFromEveryState) {
  auto window = makeWindow();
  window->show();
  click(*window, "containButton");
  expectFullLayout(*window);
  window->compactCycle();
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), "[General]\r\nShowContain=1\r\nCompactMode=1\r\n");
  window->compactCycle();
  expectCompactLayout(*window, true);
  window->compactCycle();
  expectFullLayout(*window);
  EXPECT_EQ(settingsText(), "[General]\r\nShowContain=1\r\nCompactMode=0\r\n");
  // Wide compact toggled to full keeps the wide flag; the cycle still goes to normal compact.
  window->compactCycle();
  window->compactCycle();
  window->compactToggle();
  expectFullLayout(*window);
  EXPECT_TRUE(window->wideFlag());
  window->compactCycle();
  expectCompactLayout(*window, false);
  doubleClickPane(*window);
  expectCompactLayout(*window, true);
  QTest::mouseDClick(child(*window, "titleText"), Qt::LeftButton);
  expectFullLayout(*window);
  EXPECT_TRUE(shown(*window, "relatedPanel"));  // toggles apply again
  doubleClickPane(*window);                     // nothing in full mode
  expectFullLayout(*window);
  QTest::mouseClick(child(*window, "modeGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  expectCompactLayout(*window, true);
  // Released over the title strip the close glyph closes nothing and is no longer pressed.
  auto* glyph = child<GlyphButton>(*window, "closeGlyph");
  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-100, 8));
  EXPECT_TRUE(window->isVisible() && !glyph->isPressed());
  QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TogglesAndDirectionsWriteTheirKeysAtOnce) {
  auto window = makeWindow();
  window->show();
  click(*window, "phraseButton");
  EXPECT_EQ(settingsText(), "[General]\r\nShowPhrase=1\r\n");
  click(*window, "containButton");
  click(*window, "clipboardButton");
  EXPECT_TRUE(window->clipboardMonitoring());
  click(*window, "direction2");
  click(*window, "direction2");  // already checked: nothing new
  click(*window, "phraseButton");
  EXPECT_FALSE(child<ImageButton>(*window, "phraseButton")->isOpaque());
  click(*window, "direction3");
  auto* useSelection = window->findChild<QAction*>("useSelectionAction");
  ASSERT_NE(useSelection, nullptr);
  useSelection->trigger();
  EXPECT_TRUE(useSelection->isChecked() && window->settings().UseSelection);
  const std::string written =
      "[General]\r\nShowPhrase=0\r\nShowContain=1\r\nUseClipboard=1\r\nLanguage=3\r\n"
      "UseSelection=1\r\n";
  EXPECT_EQ(settingsText(), written);
  window->close();  // writes nothing more
  EXPECT_EQ(settingsText(), written);
}

TEST_F(MainWindowTest, BoundedSettingsAreApplied) {
  const std::string text =
      "[General]\r\nLanguage=7\r\nWordsBefore=250\r\nWordsAfter=65536\r\nMaxContainTexts=0\r\n"
      "AlphaBlend=200\r\nSkin=14\r\nAlwaysOnTop=0\r\nAutoRemAlpha=0\r\nShowPhrase=1\r\n"
      "CompactMode=1\r\n";
  auto window = makeWindow(text);
  window->show();
  const LookupSettings& s = window->lookup().settings();
  EXPECT_TRUE(child<QAbstractButton>(*window, "direction1")->isChecked());  // out of range
  EXPECT_EQ(std::tuple(s.WordsBefore, s.AutoRemAlpha, s.ShowPhrase), std::tuple(100, false, true));
  EXPECT_EQ(std::tuple(opacityOf(window.get()), window->skin().index,
                       window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                       child<ImageButton>(*window, "phraseButton")->isOpaque()),
            std::tuple(200, 14, false, true));
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), text);
  // Turning stay-on-top on again re-creates the shown window, which is no hide of the user's.
  test::writeFile(dir_.file("Tavro2.ini"), "[General]\r\nAlphaBlend=120\r\n");
  window->readSettings();
  EXPECT_EQ(std::tuple(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                       window->isVisible(), window->hiddenFlag(), opacityOf(window.get())),
            std::tuple(true, true, false, 120));
  expectCompactLayout(*window, false);
}

// Without a settings file: a frameless window on top, typed into at once.
TEST_F(MainWindowTest, LoadStartsAtTheFirstShowOnly) {
  auto window = makeWindow();
  QCoreApplication::processEvents();
  EXPECT_TRUE(statusTexts().empty());
  EXPECT_EQ(window->store().count(DataKind::kEnglish), 0);
  showAndLoad(*window);
  EXPECT_EQ(statusTexts(), (std::vector<QString>{" Loading Data...", " Data OK"}));
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint) && flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(window->focusWidget(), searchBoxOf(*window));
  EXPECT_EQ(window->store().count(DataKind::kPhrase), 3);
  window->hide();
  EXPECT_TRUE(window->hiddenFlag());
  window->show();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(statusTexts().size(), 2u);
  // Closing during the load stops it.
  window = makeWindow();
  window->show();
  QCoreApplication::sendPostedEvents(window.get());  // the load start
  EXPECT_EQ(statusTexts().front(), " Loading Data...");
  window->close();  // joins the loader; must not wait on this thread
  EXPECT_FALSE(window->isVisible());
  window.reset();
  QCoreApplication::processEvents();  // a queued end of a destroyed window is dropped
  EXPECT_FALSE(test::fileExists(dir_.file("Tavro2.ini")));
}

// Missing files are named on the status line, uncut; with no data at all a
// lookup that finds nothing still says why.
TEST_F(MainWindowTest, MissingDataFilesAreNamed) {
  for (const char* name : {"dataen.dat", "dataid.dat", "datapr.dat"})
    std::remove(dir_.file(name).c_str());
  auto window = makeWindow();
  showAndLoad(*window);
  auto* line = child<QLabel>(*window, "statusLine");
  EXPECT_EQ(line->text(), " Missing: dataen.dat, dataid.dat, datapr.dat");
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
  searchFor(*window, "house");
  EXPECT_EQ(statusTextOf(*window), " not found - no dictionary data");
}

TEST_F(MainWindowTest, SearchShowsTheLookupStateWithItsRuns) {
  test::writeEntries(dir_.file("dataipa.dat"), {"run"}, {"ɹʌn"});
  auto window = makeWindow("[General]\r\nShowPhrase=1\r\nShowContain=1\r\nWordsAfter=1\r\n");
  showAndLoad(*window);
  QTest::keyClicks(searchBoxOf(*window), "run ");
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Return);
  EXPECT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"run", "runner"}));
  auto* related = child<QListWidget>(*window, "relatedList");
  auto* relatedPane = child<QTextEdit>(*window, "relatedTranslationPane");
  EXPECT_EQ(
      std::tuple(child<QListWidget>(*window, "mainWordList")->currentRow(),
                 searchBoxOf(*window)->text(), translationOf(*window), relatedPane->toPlainText(),
                 statusTextOf(*window)),
      std::tuple(-1, "run ", "run /ɹʌn/ kk lari", "rerun menjalankan lagi",
                 " English word (2 Phrase)"));
  EXPECT_EQ(itemTexts(*window, "relatedList"), (QStringList{"rerun", "runner"}));
  EXPECT_EQ(itemTexts(*window, "phraseList"),
            (QStringList{"I run fast", "saya lari cepat", "morning run", "lari pagi"}));
  // "run /ɹʌn/ kk lari": the word bold, its transcription in the skin's muted colour, the
  // marker bold and coloured, the rest plain. The history keeps the entry alone.
  QTextDocument* doc = child<QTextEdit>(*window, "translationPane")->document();
  const QColor muted = toQColor(computeSkinPalette(window->skin()).transcriptionText);
  for (int pos : {0, 5, 11, 14}) {
    EXPECT_EQ(std::tuple(formatAt(doc, pos).fontWeight() == QFont::Bold,
                         formatAt(doc, pos).foreground().color() == QColor(0, 0x80, 0x80),
                         formatAt(doc, pos).foreground().color() == muted),
              std::tuple(pos == 0 || pos == 11, pos == 11, pos == 5))
        << pos;
  }
  EXPECT_EQ(readFile(dir_.file("History.txt")), "run =run kk lari\r\n");

  // A related line shows its entry; a double click lists its phrases, status unchanged.
  related->setCurrentRow(1);
  EXPECT_EQ(relatedPane->toPlainText(), "runner pelari");
  const QRect first = related->visualItemRect(related->item(0));
  related->setCurrentRow(0);
  QTest::mouseDClick(related->viewport(), Qt::LeftButton, {}, first.center());
  QCoreApplication::sendPostedEvents(window.get(), QEvent::MetaCall);
  EXPECT_EQ(std::tuple(itemTexts(*window, "phraseList").size(), statusTextOf(*window)),
            std::tuple(0, " English word (2 Phrase)"));  // no phrase holds "rerun"
  child<QListWidget>(*window, "mainWordList")->setCurrentRow(1);
  EXPECT_EQ(translationOf(*window), "runner pelari");
}

// After a pause in typing the main list shows the words that begin with the
// text; Up and Down move through them, Enter looks the chosen one up.
TEST_F(MainWindowTest, TypingListsTheWordsThatBeginWithTheText) {
  auto window = makeWindow();
  showAndLoad(*window);
  auto* timer = window->findChild<QTimer*>("typingTimer");
  ASSERT_NE(timer, nullptr);
  QTest::keyClicks(searchBoxOf(*window), "ru");
  EXPECT_TRUE(timer->isActive() && timer->isSingleShot());
  const QString status = statusTextOf(*window);
  window->showTypingList();  // what the timer does when the pause ends
  EXPECT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"run", "runner"}));
  EXPECT_EQ(std::tuple(translationOf(*window), statusTextOf(*window)),
            std::tuple("run kk lari", status));  // the status line stays
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Down);
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Down);  // the last line stays chosen
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), translationOf(*window)),
            std::tuple("runner", "runner pelari"));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("History.txt"))));
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Return);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(readFile(dir_.file("History.txt")), "runner=runner pelari\r\n");
  // A click on a line of the list looks it up.
  QTest::keyClicks(searchBoxOf(*window), "x");
  searchBoxOf(*window)->setText("ha");
  window->showTypingList();
  auto* list = child<QListWidget>(*window, "mainWordList");
  ASSERT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"halo"}));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(0)).center());
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), statusTextOf(*window)),
            std::tuple("halo", " Indonesian word"));
  // Turned off, typing starts nothing.
  test::writeFile(dir_.file("Tavro2.ini"), "[General]\r\nLookAsYouType=0\r\n");
  window->readSettings();
  QTest::keyClicks(searchBoxOf(*window), "r");
  EXPECT_FALSE(timer->isActive());
}

// A word not found: the status line says so and, a moment later, the main
// list offers the nearest headwords under "Did you mean:"; nothing goes into
// the history until one is chosen. A found word gets none, and suggestions
// that come after a later lookup are dropped.
TEST_F(MainWindowTest, SuggestionsForAWordNotFound) {
  auto window = makeWindow();
  showAndLoad(*window);
  QSignalSpy offered(window.get(), &MainWindow::suggestionsShown);
  auto* list = child<QListWidget>(*window, "mainWordList");
  QTest::keyClicks(searchBoxOf(*window), "rnu");
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Return);
  EXPECT_EQ(statusTextOf(*window), " not found");
  ASSERT_TRUE(offered.wait(10000));
  EXPECT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"Did you mean:", "run"}));
  EXPECT_EQ(list->item(0)->flags(), Qt::NoItemFlags);
  EXPECT_EQ(std::tuple(statusTextOf(*window), translationOf(*window), list->currentRow()),
            std::tuple(" not found", "", -1));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("History.txt"))));
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Down);  // past the heading, onto "run"
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), translationOf(*window)),
            std::tuple("run", "run kk lari"));
  searchBoxOf(*window)->setText("rnu");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), statusTextOf(*window)),
            std::tuple("run", " English word"));
  EXPECT_EQ(readFile(dir_.file("History.txt")), "run=run kk lari\r\n");

  // Suggestions overtaken by another lookup never show.
  searchBoxOf(*window)->setText("haol");
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Return);
  searchBoxOf(*window)->setText("runner");
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Return);
  window->findChild<QThreadPool*>("suggestionThread")->waitForDone();
  QCoreApplication::sendPostedEvents(window.get(), QEvent::MetaCall);
  EXPECT_EQ(offered.count(), 1);
  EXPECT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"runner"}));

  // A copied word not found: the popup names what it may have meant.
  ASSERT_FALSE(window->historyHost()->lookUpCopiedWord("hallo"));
  window->historyHost()->offerSuggestions(QPoint(40, 40));
  ASSERT_TRUE(offered.wait(10000));
  const FDef* popup = window->historyHost()->definitionPopup();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->textArea()->toPlainText().toStdString(),
            "hallo not found. Did you mean hello, halo?");
  EXPECT_TRUE(window->historyHost()->clipboardHit());  // it fades
}

// Ctrl+plus, Ctrl+minus and Ctrl+0 size the panes' and lists' text, stored
// at once and read again by the next window; the bounds hold.
TEST_F(MainWindowTest, TextSizeKeysAreStoredAndRestored) {
  auto pixels = [](QWidget& w, const char* name) { return child(w, name)->font().pixelSize(); };
  auto zoomed = [](int steps) { return appFont(MainWindow::kFontPixels + 2 * steps).pixelSize(); };
  auto active = [this](const char* settings) {
    auto w = makeWindow(settings);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  };
  auto window = active("");
  EXPECT_EQ(pixels(*window, "translationPane"), zoomed(0));  // the look of before
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Equal, Qt::ControlModifier);
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(
      std::tuple(
          pixels(*window, "translationPane"), pixels(*window, "phraseList"),
          child<QTextEdit>(*window, "translationPane")->document()->defaultFont().pixelSize(),
          pixels(*window, "mainWordList")),
      std::tuple(zoomed(2), zoomed(2), zoomed(2), zoomed(0)));  // the word column keeps its size
  EXPECT_EQ(settingsText(), "[General]\r\nTextZoom=2\r\n");
  window.reset();
  window = active("");
  EXPECT_EQ(pixels(*window, "relatedTranslationPane"), zoomed(2));
  QTest::keyClick(searchBoxOf(*window), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(pixels(*window, "translationPane"), zoomed(0));
  for (int i = 0; i < 10; ++i)
    QTest::keyClick(searchBoxOf(*window), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(pixels(*window, "translationPane"), zoomed(kTextZoomMin));
  EXPECT_EQ(settingsText(), "[General]\r\nTextZoom=-3\r\n");
  window.reset();
  EXPECT_EQ(pixels(*active("[General]\r\nTextZoom=99\r\n"), "phraseList"),
            zoomed(kTextZoomMax));  // out of range: the bound
}

// The full layout takes a larger size the user gives it: the panels share
// the room, the title strip and its glyphs follow the width; compact mode
// keeps its own size and returns to the user's.
TEST_F(MainWindowTest, ResizingGivesThePanelsTheRoom) {
  auto window = makeWindow("[General]\r\nShowContain=1\r\nShowPhrase=1\r\n");
  window->show();
  const int pane = child(*window, "translationPane")->height();
  const QRect close = child(*window, "closeGlyph")->geometry();
  window->resize(452, 435 + 90);
  EXPECT_EQ(child(*window, "translationPane")->height(), pane + 30);
  EXPECT_EQ(child(*window, "titleStrip")->width(), 452);
  EXPECT_EQ(child(*window, "closeGlyph")->x(), close.x() + 100);
  const QWidget* status = child(*window, "statusLine");
  EXPECT_GT(status->y(), 435 + 90 - 40);  // still at the bottom
  EXPECT_TRUE(shown(*window, "sizeGrip"));
  window->resize(100, 100);  // no smaller than the first size
  EXPECT_EQ(std::tuple(window->width(), window->height()), std::tuple(352, 435));
  window->resize(400, 500);
  window->compactCycle();
  EXPECT_EQ(std::tuple(window->width(), window->height()), std::tuple(352, 118));
  EXPECT_FALSE(shown(*window, "sizeGrip"));
  window->compactCycle();
  window->compactCycle();
  EXPECT_EQ(std::tuple(window->width(), window->height()), std::tuple(400, 500));
}

// A change of direction looks the box's word up again in the new direction.
TEST_F(MainWindowTest, ChangingDirectionRepeatsTheLookup) {
  auto window = makeWindow("[General]\r\nLanguage=2\r\n");
  showAndLoad(*window);
  click(*window, "direction3");  // an empty box: nothing is looked up
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("History.txt"))));
  click(*window, "direction2");
  searchFor(*window, "halo");
  EXPECT_EQ(statusTextOf(*window), " not found");
  click(*window, "direction3");
  EXPECT_EQ(std::tuple(translationOf(*window), statusTextOf(*window)),
            std::tuple("halo hello", " Indonesian word"));
  EXPECT_EQ(readFile(dir_.file("History.txt")), "halo=halo hello\r\n");
  click(*window, "direction1");  // Automatic finds it too; recorded once
  EXPECT_EQ(translationOf(*window), "halo hello");
  EXPECT_EQ(readFile(dir_.file("History.txt")), "halo=halo hello\r\n");
}

// A search box with nothing but blanks looks nothing up, whether or not
// letters are filtered: the window stays as it was and nothing is recorded.
TEST_F(MainWindowTest, BlankSearchBoxLooksNothingUp) {
  for (const char* autoRemAlpha : {"0", "1"}) {
    auto window = makeWindow(std::string("[General]\r\nAutoRemAlpha=") + autoRemAlpha + "\r\n");
    showAndLoad(*window);
    QString expected = statusTextOf(*window);  // what loading said
    for (const std::string text : {"", "   ", "walk", "\t"}) {
      searchFor(*window, text.c_str());
      if (text == "walk") expected = " English word";
      EXPECT_EQ(statusTextOf(*window), expected) << autoRemAlpha << text;
    }
    EXPECT_EQ(readFile(dir_.file("History.txt")), "walk=walk kk berjalan\r\n");
    std::remove(dir_.file("History.txt").c_str());
  }
}

// A settings or history file that cannot be written is named on the status
// line once, and again only after a write has succeeded in between.
TEST_F(MainWindowTest, FailedWritesAreReportedOnce) {
  auto window = makeWindow();
  showAndLoad(*window);
  const QString settingsNote =
      " Settings not saved: " + QString::fromStdString(dir_.file("Tavro2.ini"));
  const QString historyNote =
      " History not saved: " + QString::fromStdString(dir_.file("History.txt"));
  auto notes = [this](const QString& note) {
    const std::vector<QString> texts = statusTexts();
    return std::count(texts.begin(), texts.end(), note);
  };
  {
    test::FailingRename failing;
    click(*window, "containButton");
    EXPECT_EQ(statusTextOf(*window), settingsNote);
    click(*window, "phraseButton");
    searchFor(*window, "walk");
    EXPECT_EQ(statusTextOf(*window), historyNote);
    searchFor(*window, "run");
    EXPECT_EQ(std::tuple(notes(settingsNote), notes(historyNote)), std::tuple(1, 1));
  }
  click(*window, "containButton");
  searchFor(*window, "can");
  EXPECT_EQ(statusTextOf(*window), " English word");
  test::FailingRename failing;
  click(*window, "containButton");
  searchFor(*window, "hello");
  EXPECT_EQ(std::tuple(notes(settingsNote), notes(historyNote)), std::tuple(2, 2));
}

TEST(FormatAdapterTest, RunsLandOnTheirCharacters) {
  QTextDocument doc;
  // CR LF is one paragraph break; the run after it still covers "cd". A run past the end is cut.
  showFormattedText(
      &doc, "ab\r\ncd ef",
      {{4, 2, true, std::nullopt, std::nullopt}, {7, 10, false, 0xFF0000u, 0xC0C0C0u}});
  EXPECT_EQ(doc.toPlainText(), "ab\ncd ef");
  for (int pos : {1, 3, 4, 5}) {
    EXPECT_EQ(formatAt(&doc, pos).fontWeight() == QFont::Bold, pos == 3 || pos == 4) << pos;
  }
  // Red on silver reads at 2.9:1: it is deepened, still red, until it reads.
  EXPECT_EQ(
      std::tuple(formatAt(&doc, 6).foreground().color(), formatAt(&doc, 7).background().color()),
      std::tuple(QColor(0x9F, 0, 0), QColor(192, 192, 192)));
  showFormattedText(&doc, "plain", {});  // drops the old formatting
  EXPECT_NE(formatAt(&doc, 0).fontWeight(), QFont::Bold);
  EXPECT_EQ(qStringOf1252("caf\xE9 \x80"), QString::fromUtf8("caf\u00e9 \u20ac"));
  EXPECT_EQ(bytesOf(QString::fromUtf8("caf\u00e9 \u20ac \u4e2d \U0001F600")), "caf\xE9 \x80 ? ?");
}

// Help opens the manual beside the program, or says it is missing; the keys
// belong to the window the user is typing in: the active one.
TEST_F(MainWindowTest, MenuHelpAndKeysWhileTheSearchBoxHasTheFocus) {
  const std::string savedDir = programDirectory();
  setProgramDirectory(dir_.path());
  UrlCatcher opener;
  auto window = makeWindow();
  auto* menu = child<QMenu>(*window, "popupMenu");
#ifdef TAVRO2_HAVE_SOUND
  EXPECT_EQ(menu->actions().size(), 12);  // Pronounce too
#else
  EXPECT_EQ(menu->actions().size(), 11);
#endif
  window->show();
  QTest::mouseClick(child(*window, "menuGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(menu->isVisible());
  menu->close();
  click(*window, "helpButton");
  EXPECT_EQ(std::tuple(opener.urls.size(), statusTextOf(*window), window->isMinimized()),
            std::tuple(0, " Help: the manual is not installed", false));
  std::filesystem::create_directory(dir_.file("manual"));
  test::writeFile(dir_.file("manual/index.html"), "<html></html>");
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  searchBoxOf(*window)->setText("abc");
  searchBoxOf(*window)->selectAll();
  QTest::keyClick(searchBoxOf(*window), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(window->compactMode());
  QTest::keyClick(searchBoxOf(*window), Qt::Key_H, Qt::ControlModifier);  // History, not Help
  EXPECT_TRUE(opener.urls.isEmpty() && !window->isMinimized());
  QTest::keyClick(searchBoxOf(*window), Qt::Key_F1);
  ASSERT_EQ(opener.urls.size(), 1);
  EXPECT_EQ(opener.urls[0].toLocalFile().toStdString(), dir_.file("manual/index.html"));
  EXPECT_TRUE(window->isMinimized());
  setProgramDirectory(savedDir);
  window->showNormal();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  // The menu shows each command's real key; Shift+F10 and the Menu key open it.
  QStringList captions;
  for (const QAction* a : menu->actions()) captions << a->text();
  EXPECT_TRUE(captions.contains("Open Help\tF1") && captions.contains("Exit\tCtrl+Q"))
      << captions.join("|").toStdString();
  for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Menu}) {
    QTest::keyClick(searchBoxOf(*window), key,
                    key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_TRUE(menu->isVisible()) << key;
    menu->close();
  }
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  // Ctrl+X cuts the selected text; without a selection it exits, as Ctrl+Q does.
  searchBoxOf(*window)->selectAll();
  QTest::keyClick(searchBoxOf(*window), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(std::tuple(window->isVisible(), searchBoxOf(*window)->text()), std::tuple(true, ""));
  QTest::keyClick(searchBoxOf(*window), Qt::Key_X, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(searchBoxOf(*window), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

// Every control a screen reader meets has a name of its own.
TEST_F(MainWindowTest, ControlsAreNamedForScreenReaders) {
  auto window = makeWindow();
  showAndLoad(*window);
  auto nameOf = [](QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name).toStdString() : std::string("<none>");
  };
  const std::pair<const char*, const char*> names[] = {
      {"searchBox", "Word to look up"},
      {"findButton", "Find word"},
      {"containButton", "Show related text"},
      {"phraseButton", "Show phrase"},
      {"addButton", "Add new word"},
      {"helpButton", "Open Help"},
      {"mainWordList", "Headwords"},
      {"relatedList", "Related texts"},
      {"phraseList", "Phrases"},
      {"translationPane", "Translation"},
      {"relatedTranslationPane", "Related translation"}};
  for (const auto& [object, name] : names)
    EXPECT_EQ(nameOf(window->findChild<QWidget*>(object)), name) << object;
  // Every control the keyboard reaches has a name.
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(window.get())) {
      EXPECT_FALSE(nameOf(w).empty())
          << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
  }
  // The status line is a status bar named by what it says.
  QWidget* status = child(*window, "statusLine");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(status)->role(), QAccessible::StatusBar);
  EXPECT_EQ(nameOf(status), "Data OK");
  searchFor(*window, "zzz");
  EXPECT_EQ(nameOf(status), "not found");
  // Too narrow even for the smallest size: "…", the hint and the name whole.
  status->resize(30, status->height());
  searchFor(*window, "zzzz");
  EXPECT_TRUE(statusTextOf(*window).endsWith(QChar(0x2026)));
  EXPECT_EQ(std::tuple(status->toolTip().toStdString(), nameOf(status)),
            std::tuple(" not found", "not found"));
}

// Keys alone, each to whatever has the focus: look up, switch direction,
// toggle Contain, Phrase and Clipboard, save the options, open and close
// About, show a word from the history, add and save a word in the editor,
// quit. Tab follows the window as it reads.
TEST_F(MainWindowTest, EveryCommandByKeyboardAlone) { test::walkEveryCommandByKeyboard(dir_); }

}  // namespace

// Shared with the same walk on a real X server (xvfb_test.cc).
void test::walkEveryCommandByKeyboard(const test::TempDir& dir) {
  auto window = std::make_unique<MainWindow>(dir.path());
  {
    QSignalSpy finished(window.get(), &MainWindow::loadFinished);
    window->show();
    ASSERT_TRUE(finished.wait(10000));
  }
  // Without a window manager (offscreen, or a bare X server), nothing moves
  // the activation between windows when one opens or closes; the walk does.
  auto activate = [](QWidget* w) { QApplication::setActiveWindow(w); };
  activate(window.get());
  searchBoxOf(*window)->setFocus();
  auto focus = [] { return QApplication::focusWidget(); };
  auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(focus(), nullptr);
    QTest::keyClick(focus(), key, modifiers);
  };
  auto tabTo = [&](const char* name) {
    for (int i = 0; i < 20 && focus() && focus()->objectName() != name; ++i) press(Qt::Key_Tab);
    return focus() != nullptr && focus()->objectName() == name;
  };
  // Keys for a modal dialog, sent once it runs.
  auto inDialog = [&](std::vector<Qt::Key> keys) {
    QTimer::singleShot(0, [keys] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      for (Qt::Key key : keys) {
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(target, key);
      }
    });
  };

  QTest::keyClicks(focus(), "run");
  press(Qt::Key_Return);
  EXPECT_EQ(translationOf(*window), "run kk lari");

  std::vector<std::string> order;
  for (int i = 0; i < 10; ++i) {
    if (i) press(Qt::Key_Tab);
    order.push_back(focus()->objectName().toStdString());
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"searchBox", "findButton", "containButton", "phraseButton",
                                      "clipboardButton", "addButton", "settingsButton",
                                      "helpButton", "aboutButton", "direction1"}));
  press(Qt::Key_Right);  // the next direction: English - Indonesian
  EXPECT_EQ(window->settings().Language, 2);

  ASSERT_TRUE(tabTo("containButton"));
  press(Qt::Key_Space);
  press(Qt::Key_Tab);
  press(Qt::Key_Return);
  press(Qt::Key_Tab);
  const bool monitoring = window->clipboardMonitoring();
  press(Qt::Key_Space);
  EXPECT_EQ(std::tuple(window->settings().ShowContain, window->settings().ShowPhrase,
                       window->clipboardMonitoring()),
            std::tuple(true, true, !monitoring));

  ASSERT_TRUE(tabTo("settingsButton"));
  test::writeFile(dir.file("Tavro2.ini"), "");
  inDialog({Qt::Key_Return});  // Save is the default button
  press(Qt::Key_Return);
  EXPECT_NE(readFile(dir.file("Tavro2.ini")).find("WordsBefore="), std::string::npos);
  activate(window.get());

  ASSERT_TRUE(tabTo("aboutButton"));
  inDialog({Qt::Key_Escape});
  press(Qt::Key_Space);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  activate(window.get());
  searchBoxOf(*window)->setFocus();
  searchBoxOf(*window)->clear();
  press(Qt::Key_F6);  // to the history's newest word
  ASSERT_NE(window->historyHost()->historyWindow(), nullptr);
  FHistory* history = window->historyHost()->historyWindow();
  activate(history);
  QWidget* item = focus();
  ASSERT_TRUE(item != nullptr && item->inherits("QLabel"));
  QTest::keyClick(item, Qt::Key_Return);
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), translationOf(*window)),
            std::tuple("run", "run kk lari"));
  QTest::keyClick(item, Qt::Key_Escape);
  activate(window.get());
  EXPECT_EQ(focus(), searchBoxOf(*window));

  ASSERT_TRUE(tabTo("addButton"));
  press(Qt::Key_Return);
  QPointer<QWidget> editor = window->findChild<QWidget*>("FAddWord");
  ASSERT_TRUE(editor && editor->isVisible());
  activate(editor);
  QWidget* area = focus();
  ASSERT_TRUE(area && area->objectName() == "textArea");
  QTest::keyClicks(area, "walk=jalan");
  QTest::keyClick(area, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(readFile(dir.file("Tavro2en.dat")), "walk=jalan");
  QTest::keyClick(area, Qt::Key_Tab);  // Tab leaves the list
  EXPECT_NE(editor->focusWidget(), area);
  QTest::keyClick(editor->focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(!editor || !editor->isVisible());

  activate(window.get());
  press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

namespace {

// A line too wide for its list ends in an ellipsis; its hint is the whole
// line (the hint is how the test sees it).
TEST_F(MainWindowTest, LongLinesEndInAnEllipsisWithTheWholeLineAsTheirHint) {
  auto window = makeWindow();
  showAndLoad(*window);
  auto* list = child<QListWidget>(*window, "mainWordList");
  const QString longLine = QString("a very long headword ").repeated(8);
  list->addItem(longLine);
  list->addItem("short");
  auto hintAt = [&](int row) {
    QToolTip::hideText();
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(hintAt(0), longLine);
  EXPECT_NE(hintAt(1), "short");
}

// From the keyboard: Tab into the word list keeps the entry found; Enter on
// a related text looks it up.
TEST_F(MainWindowTest, WordListsByKeyboard) {
  auto window = makeWindow("[General]\r\nShowContain=1\r\nWordsBefore=1\r\nWordsAfter=1\r\n");
  showAndLoad(*window);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  searchFor(*window, "run");
  EXPECT_EQ(itemTexts(*window, "mainWordList"), (QStringList{"rerun", "run", "runner"}));
  child(*window, "mainWordList")->setFocus(Qt::TabFocusReason);  // keeps "run", not "rerun"
  EXPECT_EQ(
      std::tuple(child<QListWidget>(*window, "mainWordList")->currentRow(), translationOf(*window)),
      std::tuple(1, "run kk lari"));
  auto* related = child<QListWidget>(*window, "relatedList");
  related->setFocus();
  related->setCurrentRow(1);  // runner
  QTest::keyClick(related, Qt::Key_Return);
  EXPECT_EQ(std::tuple(searchBoxOf(*window)->text(), translationOf(*window)),
            std::tuple("runner", "runner pelari"));
}

}  // namespace
}  // namespace tavro2
