// The main window: layouts and modes, the settings it writes and reads,
// start-up and the load, keys and glyphs, and a lookup shown on screen.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

#include "app/settings.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "test_util.h"
#include "ui/format_adapter.h"
#include "ui/image_list.h"
#include "ui/skin_widgets.h"
#include "ui/word_list_delegate.h"

namespace tavro2 {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Catches what the window hands to the desktop's opener.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  UrlCatcher() { QDesktopServices::setUrlHandler("file", this, "open"); }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
  QList<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls.append(url); }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeDataFile(dir_.file("dataen.dat"), {"rerun", "run", "runner", "walk"},
                        {"menjalankan lagi", "kk lari", "pelari", "kk berjalan"});
    test::writeDataFile(dir_.file("dataid.dat"), {"jalan", "lari"}, {"road", "run"});
    test::writeDataFile(dir_.file("datapr.dat"), {"saya lari cepat", "lari pagi"},
                        {"I run fast", "morning run"});
  }

  std::unique_ptr<MainWindow> makeWindow() {
    auto window = std::make_unique<MainWindow>(dir_.path());
    status_ = std::make_unique<QSignalSpy>(window.get(), &MainWindow::statusChanged);
    return window;
  }

  // Shows the window, runs the posted load start and waits (on events, not
  // a fixed time) for the loader's end.
  void showAndLoad(MainWindow& window) {
    QSignalSpy finished(&window, &MainWindow::loadFinished);
    window.show();
    ASSERT_TRUE(finished.wait(10000));
  }

  template <class T>
  static T* child(MainWindow& window, const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static void click(MainWindow& window, const char* name) {
    QTest::mouseClick(child<QWidget>(window, name), Qt::LeftButton);
  }
  static QRect geometryOf(MainWindow& window, const char* name) {
    return child<QWidget>(window, name)->geometry();
  }
  static bool shown(MainWindow& window, const char* name) {
    return !child<QWidget>(window, name)->isHidden();
  }

  std::string settingsText() const { return readFile(dir_.file("Tavro2.ini")); }
  std::vector<QString> statusTexts() const {
    std::vector<QString> texts;
    for (const QList<QVariant>& call : *status_) texts.push_back(call.at(0).toString());
    return texts;
  }

  TempDir dir_;
  std::unique_ptr<QSignalSpy> status_;
};

// --- Layouts --------------------------------------------------------------------

struct Placement {
  const char* name;
  QRect geometry;
};

TEST_F(MainWindowTest, FullLayoutPlacesEveryControl) {
  auto window = makeWindow();
  window->ApplyFullLayout();
  EXPECT_EQ(window->size(), QSize(352, 435));
  const Placement placements[] = {
      {"titleStrip", {0, 0, 352, 29}},
      {"closeGlyph", {313, 7, 16, 16}},
      {"minimizeGlyph", {296, 7, 16, 16}},
      {"menuGlyph", {8, 7, 16, 16}},
      {"modeGlyph", {331, 7, 16, 16}},
      {"directionBar", {3, 25, 346, 32}},
      {"toolBar", {3, 57, 346, 32}},
      {"searchPanel", {5, 6, 109, 22}},
      {"findButton", {116, 6, 48, 22}},
      {"containButton", {174, 6, 22, 22}},
      {"phraseButton", {197, 6, 22, 22}},
      {"clipboardButton", {220, 6, 22, 22}},
      {"addButton", {252, 6, 22, 22}},
      {"settingsButton", {275, 6, 22, 22}},
      {"helpButton", {298, 6, 22, 22}},
      {"aboutButton", {321, 6, 22, 22}},
      {"translationPanel", {8, 95, 336, 102}},
      {"relatedPanel", {8, 199, 336, 102}},
      {"phrasePanel", {8, 303, 336, 100}},
      {"statusLine", {8, 407, 216, 20}},
      {"linkPanel", {226, 407, 118, 20}},
  };
  for (const Placement& p : placements) {
    EXPECT_EQ(geometryOf(*window, p.name), p.geometry) << p.name;
  }
  EXPECT_EQ(child<QWidget>(*window, "direction1")->pos(), QPoint(9, 9));
  EXPECT_EQ(child<QWidget>(*window, "direction2")->pos(), QPoint(94, 9));
  EXPECT_EQ(child<QWidget>(*window, "direction3")->pos(), QPoint(222, 9));
  // The title is bold, fits its text and is centred in the strip.
  const QWidget* title = child<QWidget>(*window, "titleText");
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->x(), (352 - title->width()) / 2);
  EXPECT_EQ(title->y(), (29 - title->height()) / 2);
  EXPECT_EQ(window->windowTitle(), "Tavro 2.04");
  EXPECT_EQ(window->linkPanel()->text(), "https://freedict.org/");
  EXPECT_EQ(window->linkPanel()->toolTip(), "Visit https://freedict.org/");
}

TEST_F(MainWindowTest, PanelLayoutForEachToggleState) {
  auto window = makeWindow();
  struct Case {
    bool contain, phrase;
    int translationHeight;
    QRect related;  // when shown
    QRect phrases;  // when shown
  };
  const Case cases[] = {
      {true, true, 102, {8, 199, 336, 102}, {8, 303, 336, 100}},
      {true, false, 153, {8, 250, 336, 153}, {}},
      {false, true, 102, {}, {8, 199, 336, 204}},
      {false, false, 308, {}, {}},
  };
  auto* contain = child<ImageButton>(*window, "containButton");
  auto* phrase = child<ImageButton>(*window, "phraseButton");
  for (const Case& c : cases) {
    if (contain->isChecked() != c.contain) click(*window, "containButton");
    if (phrase->isChecked() != c.phrase) click(*window, "phraseButton");
    SCOPED_TRACE(testing::Message() << "contain " << c.contain << " phrase " << c.phrase);
    const QRect translation = geometryOf(*window, "translationPanel");
    EXPECT_EQ(translation, QRect(8, 95, 336, c.translationHeight));
    EXPECT_EQ(shown(*window, "relatedPanel"), c.contain);
    EXPECT_EQ(shown(*window, "phrasePanel"), c.phrase);
    int lowest = translation.y() + translation.height();
    if (c.contain) {
      EXPECT_EQ(geometryOf(*window, "relatedPanel"), c.related);
      lowest = c.related.y() + c.related.height();
    }
    if (c.phrase) {
      EXPECT_EQ(geometryOf(*window, "phrasePanel"), c.phrases);
      lowest = c.phrases.y() + c.phrases.height();
    }
    EXPECT_EQ(lowest, geometryOf(*window, "statusLine").y() - 4);
  }
}

void expectCompactLayout(MainWindow& window, bool wide) {
  EXPECT_TRUE(window.compactMode());
  EXPECT_EQ(window.height(), 118);
  EXPECT_EQ(window.findChild<QWidget*>("toolBar")->geometry(), QRect(3, 32, 346, 83));
  EXPECT_EQ(window.findChild<QWidget*>("searchPanel")->geometry(), QRect(5, 3, 90, 22));
  EXPECT_EQ(window.findChild<QWidget*>("clipboardButton")->pos(), QPoint(5, 29));
  EXPECT_EQ(window.findChild<QWidget*>("settingsButton")->pos(), QPoint(28, 29));
  EXPECT_EQ(window.findChild<QWidget*>("helpButton")->pos(), QPoint(50, 29));
  EXPECT_EQ(window.findChild<QWidget*>("aboutButton")->pos(), QPoint(72, 29));
  EXPECT_EQ(window.findChild<QWidget*>("findButton")->pos(), QPoint(116, 6));
  EXPECT_EQ(window.findChild<QWidget*>("statusLine")->geometry(), QRect(8, 90, 90, 20));
  for (const char* hidden : {"directionBar", "relatedPanel", "phrasePanel", "containButton",
                             "phraseButton"}) {
    EXPECT_TRUE(window.findChild<QWidget*>(hidden)->isHidden()) << hidden;
  }
  EXPECT_TRUE(window.mainWordList()->parentWidget()->isHidden());
  EXPECT_EQ(window.findChild<GlyphButton*>("modeGlyph")->shownImage(), kImageCompactMode);
  EXPECT_EQ(window.wideFlag(), wide);
  EXPECT_EQ(window.findChild<QWidget*>("translationPanel")->geometry(),
            wide ? QRect(7, 34, 338, 77) : QRect(102, 34, 245, 77));
  EXPECT_EQ(window.statusLine()->isHidden(), wide);
  EXPECT_EQ(window.translationPane()->toolTip(),
            "Double click to switch between full and normal compact mode");
}

void expectFullLayout(MainWindow& window) {
  EXPECT_FALSE(window.compactMode());
  EXPECT_EQ(window.height(), 435);
  EXPECT_EQ(window.findChild<QWidget*>("toolBar")->geometry(), QRect(3, 57, 346, 32));
  EXPECT_EQ(window.findChild<QWidget*>("statusLine")->geometry(), QRect(8, 407, 216, 20));
  EXPECT_FALSE(window.statusLine()->isHidden());
  EXPECT_FALSE(window.findChild<QWidget*>("directionBar")->isHidden());
  EXPECT_EQ(window.findChild<GlyphButton*>("modeGlyph")->shownImage(), kImageFullMode);
  EXPECT_EQ(window.translationPane()->toolTip(), "The translation");
}

void doubleClickPane(MainWindow& window) {
  QTest::mouseDClick(window.translationPane()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
}

TEST_F(MainWindowTest, CompactCycleFromEveryState) {
  auto window = makeWindow();
  window->show();
  expectFullLayout(*window);

  window->compactCycle();
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), "[General]\r\nCompactMode=1\r\n");
  window->compactCycle();
  expectCompactLayout(*window, true);
  window->compactCycle();
  expectFullLayout(*window);
  EXPECT_EQ(settingsText(), "[General]\r\nCompactMode=0\r\n");

  // Wide compact, then the title's toggle to full: the wide flag survives
  // full mode, and the cycle still leaves full mode (into normal compact).
  window->compactCycle();
  window->compactCycle();
  window->compactToggle();
  expectFullLayout(*window);
  EXPECT_TRUE(window->wideFlag());
  window->compactCycle();
  expectCompactLayout(*window, false);
}

TEST_F(MainWindowTest, CompactToggleRemembersTheCompactLayout) {
  auto window = makeWindow();
  window->show();
  click(*window, "containButton");  // related panel only
  window->compactToggle();
  expectCompactLayout(*window, false);
  doubleClickPane(*window);
  expectCompactLayout(*window, true);
  window->compactToggle();
  expectFullLayout(*window);
  // Back in full mode the panels follow the toggles again.
  EXPECT_EQ(geometryOf(*window, "translationPanel"), QRect(8, 95, 336, 153));
  EXPECT_TRUE(shown(*window, "relatedPanel"));
  EXPECT_FALSE(shown(*window, "phrasePanel"));
  // In full mode a double click on the pane changes nothing.
  doubleClickPane(*window);
  expectFullLayout(*window);
  window->compactToggle();
  expectCompactLayout(*window, true);
  doubleClickPane(*window);
  expectCompactLayout(*window, false);
}

TEST_F(MainWindowTest, ModeGlyphAndTitleDoubleClickToggle) {
  auto window = makeWindow();
  window->show();
  auto* glyph = child<GlyphButton>(*window, "modeGlyph");
  EXPECT_EQ(glyph->toolTip(), "Switch between compact and full mode");
  QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  expectCompactLayout(*window, false);
  QTest::mouseDClick(child<QWidget>(*window, "titleText"), Qt::LeftButton);
  expectFullLayout(*window);
}

// --- Settings ---------------------------------------------------------------------

TEST_F(MainWindowTest, TogglesAndDirectionsWriteTheirKeysAtOnce) {
  auto window = makeWindow();
  window->show();
  click(*window, "phraseButton");
  EXPECT_EQ(settingsText(), "[General]\r\nShowPhrase=1\r\n");
  auto* phrase = child<ImageButton>(*window, "phraseButton");
  EXPECT_TRUE(phrase->isOpaque());
  EXPECT_EQ(phrase->textColor(), QColor(0, 0, 128));

  click(*window, "containButton");
  click(*window, "clipboardButton");
  EXPECT_EQ(settingsText(),
            "[General]\r\nShowPhrase=1\r\nShowContain=1\r\nUseClipboard=1\r\n");
  EXPECT_TRUE(window->clipboardMonitoring());

  click(*window, "direction2");
  EXPECT_EQ(window->lookup().settings.direction, Direction::kEnglishIndonesian);
  click(*window, "direction2");  // already checked: nothing new
  click(*window, "phraseButton");
  EXPECT_FALSE(phrase->isOpaque());
  EXPECT_EQ(phrase->textColor(), QColor(Qt::black));
  click(*window, "direction3");
  EXPECT_EQ(settingsText(),
            "[General]\r\nShowPhrase=0\r\nShowContain=1\r\nUseClipboard=1\r\nLanguage=3\r\n");

  // Closing writes nothing more.
  window->close();
  EXPECT_EQ(settingsText(),
            "[General]\r\nShowPhrase=0\r\nShowContain=1\r\nUseClipboard=1\r\nLanguage=3\r\n");
}

TEST_F(MainWindowTest, StartsWithDefaultsWithoutSettingsFile) {
  auto window = makeWindow();
  EXPECT_TRUE(child<QRadioButton>(*window, "direction1")->isChecked());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(OpacityOf(window.get()), 255);
  EXPECT_EQ(window->skin().index, 0);
  for (const char* toggle : {"containButton", "phraseButton", "clipboardButton"}) {
    EXPECT_FALSE(child<ImageButton>(*window, toggle)->isChecked()) << toggle;
  }
  const LookupSettings& s = window->lookup().settings;
  EXPECT_EQ(s.direction, Direction::kAutomatic);
  EXPECT_EQ(s.MaxContainTexts, 10);
  EXPECT_EQ(s.WordsBefore, 0);
  EXPECT_EQ(s.WordsAfter, 0);
  EXPECT_EQ(window->settings().WordHistory, 20);
  window->show();
  expectFullLayout(*window);
  EXPECT_FALSE(shown(*window, "relatedPanel"));
  EXPECT_FALSE(shown(*window, "phrasePanel"));
  EXPECT_EQ(geometryOf(*window, "translationPanel").height(), 308);
  EXPECT_EQ(QApplication::focusWidget() == window->searchBox() ||
                window->focusWidget() == window->searchBox(),
            true);
  window->close();
  EXPECT_FALSE(test::fileExists(dir_.file("Tavro2.ini")));
}

TEST_F(MainWindowTest, BoundedSettingsAreApplied) {
  const std::string text =
      "[General]\r\nLanguage=7\r\nWordsBefore=250\r\nWordsAfter=65536\r\nMaxContainTexts=0\r\n"
      "AlphaBlend=200\r\nSkin=14\r\nAlwaysOnTop=0\r\nAutoRemAlpha=0\r\nShowPhrase=1\r\n"
      "CompactMode=1\r\n";
  writeFile(dir_.file("Tavro2.ini"), text);
  auto window = makeWindow();
  EXPECT_TRUE(child<QRadioButton>(*window, "direction1")->isChecked());
  const LookupSettings& s = window->lookup().settings;
  EXPECT_EQ(s.WordsBefore, 100);
  EXPECT_EQ(s.WordsAfter, 0);
  EXPECT_EQ(s.MaxContainTexts, 6);
  EXPECT_FALSE(s.AutoRemAlpha);
  EXPECT_TRUE(s.ShowPhrase);
  EXPECT_EQ(OpacityOf(window.get()), 200);
  EXPECT_NEAR(window->windowOpacity(), 200 / 255.0, 0.01);
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window->skin().SkinBaseColor, RgbColor(101, 157, 216));
  EXPECT_TRUE(child<ImageButton>(*window, "phraseButton")->isOpaque());
  EXPECT_FALSE(window->compactMode());  // CompactMode is read at the show
  window->show();
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), text);  // CompactMode=1 written back unchanged
}

// The options dialog's Save reads the settings again; turning stay-on-top
// off re-creates the shown window, which is no hide of the user's.
TEST_F(MainWindowTest, ReadingSettingsAgainKeepsTheWindowShown) {
  auto window = makeWindow();
  window->show();
  writeFile(dir_.file("Tavro2.ini"), "[General]\r\nAlwaysOnTop=0\r\nAlphaBlend=120\r\n");
  window->ReadSettings();
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->hiddenFlag());
  EXPECT_EQ(OpacityOf(window.get()), 120);
  EXPECT_EQ(window->height(), 435);
}

TEST_F(MainWindowTest, SkinRecoloursTheWindow) {
  auto window = makeWindow();
  window->ApplySkin(17);
  const ColorRef base = window->skin().SkinBaseColor;
  EXPECT_EQ(base, RgbColor(57, 61, 77));
  auto colour = [](QWidget* w, QPalette::ColorRole role) {
    return colorRefOf(w->palette().color(role));
  };
  EXPECT_EQ(colour(window->mainWordList(), QPalette::Base), BlendColor(kWhite, base, 0.1f));
  EXPECT_EQ(colour(window->translationPane(), QPalette::Base), BlendColor(kWhite, base, 0.1f));
  EXPECT_EQ(colour(window->relatedList(), QPalette::Base), BlendColor(kWhite, base, 0.2f));
  EXPECT_EQ(colour(window->phraseList(), QPalette::Base), BlendColor(kWhite, base, 0.3f));
  EXPECT_EQ(colour(window->statusLine(), QPalette::Window), base);
  EXPECT_EQ(colour(window->statusLine(), QPalette::WindowText), kWhite);
  EXPECT_TRUE(window->linkPanel()->font().bold());
  EXPECT_EQ(colour(child<QWidget>(*window, "translationPanel"), QPalette::Window),
            BlendColor(kWhite, base, 0.8f));
  auto* toolBar = child<GradientPanel>(*window, "toolBar");
  EXPECT_EQ(toolBar->topColor(), BlendColor(kWhite, base, 0.2f));
  EXPECT_EQ(toolBar->bottomColor(), base);
  EXPECT_EQ(child<ImageButton>(*window, "clipboardButton")->faceColor(),
            BlendColor(kWhite, base, 0.7f));
}

// --- Start-up and the load -------------------------------------------------------------

TEST_F(MainWindowTest, LoadStartsAtTheFirstShowOnly) {
  auto window = makeWindow();
  QCoreApplication::processEvents();
  EXPECT_TRUE(statusTexts().empty());
  EXPECT_EQ(window->store().EnglishCount(), 0);

  showAndLoad(*window);
  EXPECT_EQ(statusTexts(), (std::vector<QString>{" Loading Data...", " Data OK"}));
  EXPECT_EQ(window->statusLine()->text(), " Data OK");
  EXPECT_EQ(window->store().EnglishCount(), 4);
  EXPECT_EQ(window->store().PhraseCount(), 2);

  window->hide();
  EXPECT_TRUE(window->hiddenFlag());
  window->show();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(statusTexts().size(), 2u);
}

TEST_F(MainWindowTest, MissingDataFileIsNamed) {
  std::remove(dir_.file("dataid.dat").c_str());
  auto window = makeWindow();
  showAndLoad(*window);
  const QString expected = QString::fromStdString(
      LoadStatusText({LoadState::kLoaded, LoadState::kMissing, LoadState::kLoaded}));
  EXPECT_EQ(statusTexts(), (std::vector<QString>{" Loading Data...", expected}));
  EXPECT_TRUE(expected.contains("dataid.dat"));
}

TEST_F(MainWindowTest, ClosingDuringTheLoadStopsIt) {
  auto window = makeWindow();
  window->show();
  QCoreApplication::sendPostedEvents(window.get());  // the load start
  EXPECT_EQ(statusTexts().front(), " Loading Data...");
  window->close();  // joins the loader; must not wait on this thread
  EXPECT_FALSE(window->isVisible());
  window.reset();
  QCoreApplication::processEvents();  // a queued end of a destroyed window is dropped
  EXPECT_FALSE(test::fileExists(dir_.file("Tavro2.ini")));
}

// --- A lookup through the window -------------------------------------------------------------

TEST_F(MainWindowTest, SearchShowsTheLookupStateWithItsRuns) {
  writeFile(dir_.file("Tavro2.ini"), "[General]\r\nShowPhrase=1\r\nShowContain=1\r\n");
  auto window = makeWindow();
  showAndLoad(*window);
  QTest::keyClicks(window->searchBox(), "run ");
  QTest::keyClick(window->searchBox(), Qt::Key_Return);

  ASSERT_EQ(window->mainWordList()->count(), 1);
  EXPECT_EQ(window->mainWordList()->item(0)->text(), "run");
  EXPECT_EQ(window->searchBox()->text(), "run ");  // the box keeps what was typed
  EXPECT_EQ(window->translationPane()->toPlainText(), "run kk lari");
  ASSERT_EQ(window->relatedList()->count(), 2);
  EXPECT_EQ(window->relatedList()->item(0)->text(), "rerun");
  EXPECT_EQ(window->relatedTranslationPane()->toPlainText(), "rerun menjalankan lagi");
  EXPECT_EQ(window->statusLine()->text(), " English word (2 Phrase)");
  ASSERT_EQ(window->phraseList()->count(), 4);
  EXPECT_EQ(window->phraseList()->item(0)->text(), "I run fast");
  EXPECT_EQ(window->phraseList()->item(1)->text(), "saya lari cepat");

  // The runs become character formats: the word bold, the marker bold and
  // coloured, the rest plain.
  QTextDocument* doc = window->translationPane()->document();
  auto formatAt = [doc](int pos) {
    QTextCursor cursor(doc);
    cursor.setPosition(pos + 1);  // the format of the character before the cursor
    return cursor.charFormat();
  };
  EXPECT_EQ(formatAt(0).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(2).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(4).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatAt(4).foreground().color(), QColor(0x00, 0x80, 0x80));
  EXPECT_EQ(formatAt(5).foreground().color(), QColor(0x00, 0x80, 0x80));
  EXPECT_NE(formatAt(7).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatAt(7).hasProperty(QTextFormat::ForegroundBrush));
  for (const FormatRun& run : window->lookup().translationRuns) {
    EXPECT_EQ(formatAt(static_cast<int>(run.start)).fontWeight() == QFont::Bold, run.bold);
  }

  // The history took the word as typed, with the pane's text.
  EXPECT_EQ(readFile(dir_.file("History.txt")), "run =run kk lari\r\n");

  // Choosing a related line shows its entry; a double click lists its phrases
  // and leaves the status line alone.
  window->relatedList()->setCurrentRow(1);
  EXPECT_EQ(window->relatedTranslationPane()->toPlainText(), "runner pelari");
  const QRect first = window->relatedList()->visualItemRect(window->relatedList()->item(0));
  window->relatedList()->setCurrentRow(0);
  QTest::mouseDClick(window->relatedList()->viewport(), Qt::LeftButton, {}, first.center());
  QCoreApplication::sendPostedEvents(window.get(), QEvent::MetaCall);
  EXPECT_EQ(window->phraseList()->count(), 0);  // no phrase holds "rerun"
  EXPECT_EQ(window->statusLine()->text(), " English word (2 Phrase)");
}

TEST_F(MainWindowTest, WordListSelectionShowsTheEntry) {
  writeFile(dir_.file("Tavro2.ini"), "[General]\r\nWordsAfter=1\r\n");
  auto window = makeWindow();
  showAndLoad(*window);
  window->searchBox()->setText("run");
  window->search();
  ASSERT_EQ(window->mainWordList()->count(), 2);
  EXPECT_EQ(window->mainWordList()->currentRow(), -1);
  window->mainWordList()->setCurrentRow(1);
  EXPECT_EQ(window->translationPane()->toPlainText(), "runner pelari");
}

TEST_F(MainWindowTest, PhraseListHintFollowsTheMouse) {
  writeFile(dir_.file("Tavro2.ini"), "[General]\r\nShowPhrase=1\r\n");
  auto window = makeWindow();
  showAndLoad(*window);
  window->searchBox()->setText("lari");
  window->search();
  ASSERT_EQ(window->phraseList()->count(), 4);
  QListWidget* list = window->phraseList();
  const QRect first = list->visualItemRect(list->item(0));
  const QRect second = list->visualItemRect(list->item(1));
  QTest::mouseMove(list->viewport(), first.center());
  EXPECT_EQ(list->toolTip(), list->item(0)->text());
  QTest::mouseMove(list->viewport(), second.center());
  EXPECT_EQ(list->toolTip(), list->item(1)->text());
}

// --- The runs adapter ----------------------------------------------------------------------

TEST(FormatAdapterTest, RunsLandOnTheirCharacters) {
  QTextDocument doc;
  // A CR LF pair is one paragraph break in the document; the run after it
  // must still cover "cd". A run past the end is cut.
  ShowFormattedText(&doc, "ab\r\ncd ef",
                    {{4, 2, true, std::nullopt, std::nullopt},
                     {7, 10, false, 0xFF0000u, 0xC0C0C0u}});
  EXPECT_EQ(doc.toPlainText(), "ab\ncd ef");
  auto formatOf = [&doc](int pos) {
    QTextCursor cursor(&doc);
    cursor.setPosition(pos + 1);
    return cursor.charFormat();
  };
  EXPECT_NE(formatOf(1).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatOf(3).fontWeight(), QFont::Bold);  // 'c'
  EXPECT_EQ(formatOf(4).fontWeight(), QFont::Bold);  // 'd'
  EXPECT_NE(formatOf(5).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatOf(6).foreground().color(), QColor(255, 0, 0));  // 'e'
  EXPECT_EQ(formatOf(7).background().color(), QColor(192, 192, 192));

  // Showing another text drops the old formatting.
  ShowFormattedText(&doc, "plain", {});
  EXPECT_NE(formatOf(0).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatOf(0).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(FormatAdapterTest, TextConversionAtTheEdge) {
  EXPECT_EQ(qStringOf1252("caf\xE9 \x80"), QString::fromUtf8("caf\u00e9 \u20ac"));
  EXPECT_EQ(bytesOf(QString::fromUtf8("caf\u00e9 \u20ac \u4e2d \U0001F600")),
            "caf\xE9 \x80 ? ?");
}

// --- Owner drawing -----------------------------------------------------------------------

// Paints one list line through a delegate and returns the picture.
QImage paintLine(QStyledItemDelegate& delegate, QListWidget& list, int row, bool selected) {
  QStyleOptionViewItem option;
  option.initFrom(&list);
  option.font = AppFont(14);
  option.rect = QRect(0, 0, 120, 16);
  option.state = selected ? QStyle::State_Selected : QStyle::State_None;
  QImage image(120, 16, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  delegate.paint(&painter, option, list.model()->index(row, 0));
  return image;
}

// The darkest and the lightest pixel (text is antialiased, so its colour
// shows as the extreme).
std::pair<int, int> lightnessRange(const QImage& image) {
  int low = 255, high = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int l = image.pixelColor(x, y).lightness();
      low = std::min(low, l);
      high = std::max(high, l);
    }
  }
  return {low, high};
}

TEST(OwnerDrawTest, WordListLines) {
  SkinState skin;
  skin.load(0);
  SkinPalette palette = ComputeSkinPalette(skin);
  QListWidget list;
  list.addItems({"makan", "minum"});
  QPalette p = list.palette();
  p.setColor(QPalette::Base, toQColor(palette.mainWordList));
  p.setColor(QPalette::Text, Qt::black);
  list.setPalette(p);
  WordListDelegate delegate(&palette, nullptr);

  const QImage plain = paintLine(delegate, list, 0, false);
  EXPECT_EQ(plain.pixelColor(0, 0), toQColor(palette.mainWordList));
  EXPECT_EQ(plain.pixelColor(3, 8), toQColor(palette.mainWordList));  // text starts at 4
  EXPECT_LT(lightnessRange(plain).first, 40);  // black text
  const QImage selected = paintLine(delegate, list, 0, true);
  EXPECT_EQ(selected.pixelColor(0, 0), toQColor(palette.toolBarBottom));
  EXPECT_LT(lightnessRange(selected).first, 40);

  // On the dark selection colour of a dark skin the text turns white.
  skin.load(17);
  palette = ComputeSkinPalette(skin);
  const QImage dark = paintLine(delegate, list, 1, true);
  EXPECT_EQ(dark.pixelColor(0, 0), toQColor(palette.toolBarBottom));
  EXPECT_GT(lightnessRange(dark).second, 215);  // white text
  EXPECT_GE(lightnessRange(dark).first, toQColor(palette.toolBarBottom).lightness());
}

TEST(OwnerDrawTest, PhraseListPairs) {
  SkinState skin;
  skin.load(0);
  const SkinPalette palette = ComputeSkinPalette(skin);
  QListWidget list;
  list.addItems({"alat makan", "cutlery"});
  PhraseListDelegate delegate(&palette, nullptr);
  const QImage phrase = paintLine(delegate, list, 0, false);
  const QImage translation = paintLine(delegate, list, 1, false);
  EXPECT_EQ(phrase.pixelColor(0, 0), toQColor(palette.phraseList));
  EXPECT_EQ(translation.pixelColor(0, 0), QColor(Qt::white));
  // The translation is indented: nothing but ground left of 14 pixels.
  for (int x = 0; x < 14; ++x)
    for (int y = 0; y < 16; ++y) ASSERT_EQ(translation.pixelColor(x, y), QColor(Qt::white));
  EXPECT_EQ(paintLine(delegate, list, 1, true).pixelColor(0, 0), toQColor(palette.toolBarBottom));
}

// --- Keys, menu and glyphs ---------------------------------------------------------------

TEST_F(MainWindowTest, MenuCaptionsCarryTheirKeys) {
  auto window = makeWindow();
  auto* menu = child<QMenu>(*window, "popupMenu");
  QStringList texts;
  for (QAction* action : menu->actions()) {
    texts << (action->isSeparator() ? QString("-") : action->text());
  }
  EXPECT_EQ(texts, (QStringList{"Options\tCtrl+O", "-", "Minimize\tCtrl+M",
                                "Compact Mode\tCtrl+S", "History\tCtrl+H", "-",
                                "Open Help\tCtrl+H", "About...", "-", "Exit\tCtrl+X"}));
  window->show();
  QTest::mouseClick(child<QWidget>(*window, "menuGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(menu->isVisible());
  menu->close();
}

TEST_F(MainWindowTest, KeysWorkWhileTheSearchBoxHasTheFocus) {
  UrlCatcher opener;
  auto window = makeWindow();
  window->show();
  window->searchBox()->setText("abc");
  window->searchBox()->selectAll();

  QTest::keyClick(window->searchBox(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(window->compactMode());
  // Ctrl+H is History (nothing happens with an empty history), not Help.
  QTest::keyClick(window->searchBox(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(opener.urls.isEmpty());
  EXPECT_FALSE(window->isMinimized());
  // Ctrl+X exits rather than cutting the selected text.
  QTest::keyClick(window->searchBox(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->searchBox()->text(), "abc");
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileAndMinimizes) {
  UrlCatcher opener;
  auto window = makeWindow();
  window->show();
  click(*window, "helpButton");
  ASSERT_EQ(opener.urls.size(), 1);
  EXPECT_TRUE(opener.urls[0].toLocalFile().endsWith("/tavro2.chm"));
  EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMinimized));
}

TEST_F(MainWindowTest, CloseGlyphReleasedOverTheTitleStripDoesNotClose) {
  auto window = makeWindow();
  window->show();
  auto* glyph = child<GlyphButton>(*window, "closeGlyph");
  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QTest::mouseMove(glyph, QPoint(-100, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-100, 8));
  EXPECT_TRUE(window->isVisible());
  // Released over the title strip: the pressed flags are cleared, so
  // pointing at the glyph again shows it lit, not pressed.
  EXPECT_FALSE(glyph->isPressed());
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(321, 15));
  QApplication::sendEvent(glyph, &enter);
  EXPECT_EQ(glyph->shownImage(), kImageCloseHot);

  QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tavro2

#include "main_window_test.moc"
