// The main window: layouts and modes, settings, start-up and the load, keys,
// glyphs, and a lookup shown on screen.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <tuple>

#include "app/program_dir.h"
#include "app/settings.h"
#include "engine/loader.h"
#include "engine/lookup_state.h"
#include "test_util.h"
#include "ui_test_util.h"
#include "ui/format_adapter.h"
#include "skin/image_list.h"
#include "skin/skin_widgets.h"
#include "ui/word_list_delegate.h"

namespace tavro2 {
namespace {

using test::child;
using test::readFile;
using test::UrlCatcher;

QRect geometryOf(QWidget& w, const char* name) { return child(w, name)->geometry(); }
bool shown(QWidget& w, const char* name) { return !child(w, name)->isHidden(); }
// The geometry of a shown panel, a null rect for a hidden one.
QRect panel(QWidget& w, const char* name) { return shown(w, name) ? geometryOf(w, name) : QRect(); }
void click(QWidget& w, const char* name) { QTest::mouseClick(child(w, name), Qt::LeftButton); }
bool checked(QWidget& w, const char* name) { return child<QAbstractButton>(w, name)->isChecked(); }
// A rect of size 0 x 0 checks the position only.
void expectPlaced(QWidget& w, std::initializer_list<std::pair<const char*, QRect>> placements) {
  for (const auto& [name, rect] : placements) {
    const QRect g = geometryOf(w, name);
    EXPECT_EQ(rect.isEmpty() ? QRect(g.topLeft(), QSize(0, 0)) : g, rect) << name;
  }
}
QStringList itemTexts(const QListWidget* list) {
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
  void SetUp() override {
    test::writeEntries(dir_.file("dataen.dat"), {"rerun", "run", "runner", "walk"},
                        {"menjalankan lagi", "kk lari", "pelari", "kk berjalan"});
    test::writeEntries(dir_.file("dataid.dat"), {"jalan", "lari"}, {"road", "run"});
    test::writeEntries(dir_.file("datapr.dat"), {"saya lari cepat", "lari pagi"},
                        {"I run fast", "morning run"});
  }
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

TEST_F(MainWindowTest, FullLayoutPlacesEveryControl) {
  auto window = makeWindow();
  window->applyFullLayout();
  EXPECT_EQ(window->size(), QSize(352, 435));
  expectPlaced(*window,
               {{"titleStrip", {0, 0, 352, 29}},         {"closeGlyph", {313, 7, 16, 16}},
                {"minimizeGlyph", {296, 7, 16, 16}},     {"menuGlyph", {8, 7, 16, 16}},
                {"modeGlyph", {331, 7, 16, 16}},         {"directionBar", {3, 25, 346, 32}},
                {"toolBar", {3, 57, 346, 32}},           {"searchPanel", {5, 6, 109, 22}},
                {"findButton", {116, 6, 48, 22}},        {"containButton", {174, 6, 22, 22}},
                {"phraseButton", {197, 6, 22, 22}},      {"clipboardButton", {220, 6, 22, 22}},
                {"addButton", {252, 6, 22, 22}},         {"settingsButton", {275, 6, 22, 22}},
                {"helpButton", {298, 6, 22, 22}},        {"aboutButton", {321, 6, 22, 22}},
                {"translationPanel", {8, 95, 336, 102}}, {"relatedPanel", {8, 199, 336, 102}},
                {"phrasePanel", {8, 303, 336, 100}},     {"statusLine", {8, 407, 216, 20}},
                {"linkPanel", {226, 407, 118, 20}},      {"direction1", {9, 9, 0, 0}},
                {"direction2", {94, 9, 0, 0}},           {"direction3", {222, 9, 0, 0}}});
  // The title is bold and centred in the strip.
  const QWidget* title = child(*window, "titleText");
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->pos(), QPoint((352 - title->width()) / 2, (29 - title->height()) / 2));
  EXPECT_EQ(std::tuple(window->windowTitle(), window->linkPanel()->text(),
                       window->linkPanel()->toolTip()),
            std::tuple("Tavro 2.04", "https://freedict.org/", "Visit https://freedict.org/"));
}

TEST_F(MainWindowTest, PanelLayoutForEachToggleState) {
  auto window = makeWindow();
  const struct {
    int translationHeight;
    QRect related, phrases;  // null when hidden
  } cases[] = {
      {102, {8, 199, 336, 102}, {8, 303, 336, 100}},
      {153, {8, 250, 336, 153}, {}},
      {102, {}, {8, 199, 336, 204}},
      {308, {}, {}},
  };
  for (const auto& c : cases) {
    if (checked(*window, "containButton") == c.related.isNull()) click(*window, "containButton");
    if (checked(*window, "phraseButton") == c.phrases.isNull()) click(*window, "phraseButton");
    EXPECT_EQ(std::tuple(geometryOf(*window, "translationPanel"), panel(*window, "relatedPanel"),
                         panel(*window, "phrasePanel")),
              std::tuple(QRect(8, 95, 336, c.translationHeight), c.related, c.phrases))
        << c.translationHeight;
  }
}

void expectCompactLayout(MainWindow& w, bool wide) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.wideFlag(), w.height()), std::tuple(true, wide, 118));
  expectPlaced(w, {{"toolBar", {3, 32, 346, 83}},         {"searchPanel", {5, 3, 90, 22}},
                   {"statusLine", {8, 90, 90, 20}},         {"clipboardButton", {5, 29, 0, 0}},
                   {"settingsButton", {28, 29, 0, 0}},      {"helpButton", {50, 29, 0, 0}},
                   {"aboutButton", {72, 29, 0, 0}},         {"findButton", {116, 6, 0, 0}},
                   {"translationPanel", wide ? QRect(7, 34, 338, 77) : QRect(102, 34, 245, 77)}});
  for (const char* name : {"directionBar", "relatedPanel", "phrasePanel", "containButton",
                           "phraseButton"}) EXPECT_FALSE(shown(w, name)) << name;
  EXPECT_TRUE(w.mainWordList()->parentWidget()->isHidden());
  EXPECT_EQ(std::tuple(w.statusLine()->isHidden(),
                       child<GlyphButton>(w, "modeGlyph")->shownImage(),
                       w.translationPane()->toolTip()),
            std::tuple(wide, kImageCompactMode,
                       "Double click to switch between full and normal compact mode"));
}

void expectFullLayout(MainWindow& w) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.height()), std::tuple(false, 435));
  expectPlaced(w, {{"toolBar", {3, 57, 346, 32}}, {"statusLine", {8, 407, 216, 20}}});
  EXPECT_TRUE(shown(w, "statusLine") && shown(w, "directionBar"));
  EXPECT_EQ(std::tuple(child<GlyphButton>(w, "modeGlyph")->shownImage(),
                       w.translationPane()->toolTip()),
            std::tuple(kImageFullMode, "The translation"));
}

void doubleClickPane(MainWindow& w) {
  QTest::mouseDClick(w.translationPane()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
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
  EXPECT_EQ(panel(*window, "relatedPanel"), QRect(8, 250, 336, 153));  // toggles apply again
  doubleClickPane(*window);  // nothing in full mode
  expectFullLayout(*window);
  QTest::mouseClick(child(*window, "modeGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  expectCompactLayout(*window, true);
}

TEST_F(MainWindowTest, TogglesAndDirectionsWriteTheirKeysAtOnce) {
  auto window = makeWindow();
  window->show();
  auto* phrase = child<ImageButton>(*window, "phraseButton");
  click(*window, "phraseButton");
  EXPECT_EQ(std::tuple(settingsText(), phrase->isOpaque(), phrase->textColor()),
            std::tuple("[General]\r\nShowPhrase=1\r\n", true, QColor(0, 0, 128)));
  click(*window, "containButton");
  click(*window, "clipboardButton");
  EXPECT_EQ(settingsText(), "[General]\r\nShowPhrase=1\r\nShowContain=1\r\nUseClipboard=1\r\n");
  EXPECT_TRUE(window->clipboardMonitoring());
  click(*window, "direction2");
  EXPECT_EQ(window->lookup().settings.direction, Direction::kEnglishIndonesian);
  click(*window, "direction2");  // already checked: nothing new
  click(*window, "phraseButton");
  EXPECT_EQ(std::tuple(phrase->isOpaque(), phrase->textColor()),
            std::tuple(false, QColor(Qt::black)));
  click(*window, "direction3");
  auto* useSelection = window->findChild<QAction*>("useSelectionAction");
  ASSERT_NE(useSelection, nullptr);
  useSelection->trigger();
  EXPECT_TRUE(useSelection->isChecked() && window->settings().UseSelection);
  const std::string expected =
      "[General]\r\nShowPhrase=0\r\nShowContain=1\r\nUseClipboard=1\r\nLanguage=3\r\n"
      "UseSelection=1\r\n";
  EXPECT_EQ(settingsText(), expected);
  window->close();  // writes nothing more
  EXPECT_EQ(settingsText(), expected);
}

TEST_F(MainWindowTest, StartsWithDefaultsWithoutSettingsFile) {
  auto window = makeWindow();
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint) && flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(std::tuple(checked(*window, "direction1"), checked(*window, "containButton"),
                       checked(*window, "phraseButton"), checked(*window, "clipboardButton"),
                       opacityOf(window.get()), window->skin().index),
            std::tuple(true, false, false, false, 255, 0));
  const LookupSettings& s = window->lookup().settings;
  EXPECT_EQ(std::tuple(s.direction, s.MaxContainTexts, s.WordsBefore, s.WordsAfter),
            std::tuple(Direction::kAutomatic, 10, 0, 0));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window->pos(), screen.topLeft() + QPoint((screen.width() - 352) / 2,
                                                     (screen.height() - 424) / 2));
  window->show();
  expectFullLayout(*window);
  EXPECT_EQ(geometryOf(*window, "translationPanel").height(), 308);
  EXPECT_TRUE(QApplication::focusWidget() == window->searchBox() ||
              window->focusWidget() == window->searchBox());
  window->close();
  EXPECT_FALSE(test::fileExists(dir_.file("Tavro2.ini")));
}

TEST_F(MainWindowTest, BoundedSettingsAreApplied) {
  const std::string text =
      "[General]\r\nLanguage=7\r\nWordsBefore=250\r\nWordsAfter=65536\r\nMaxContainTexts=0\r\n"
      "AlphaBlend=200\r\nSkin=14\r\nAlwaysOnTop=0\r\nAutoRemAlpha=0\r\nShowPhrase=1\r\n"
      "CompactMode=1\r\n";
  auto window = makeWindow(text);
  const LookupSettings& s = window->lookup().settings;
  EXPECT_TRUE(checked(*window, "direction1"));
  EXPECT_EQ(
      std::tuple(s.WordsBefore, s.WordsAfter, s.MaxContainTexts, s.AutoRemAlpha, s.ShowPhrase),
      std::tuple(100, 0, 6, false, true));
  // CompactMode is read at the show.
  EXPECT_EQ(std::tuple(opacityOf(window.get()), window->skin().skinBaseColor,
                       window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                       child<ImageButton>(*window, "phraseButton")->isOpaque(),
                       window->compactMode()),
            std::tuple(200, rgbColor(101, 157, 216), false, true, false));
  window->show();
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), text);
}

// Turning stay-on-top off re-creates the shown window, which is no hide of the user's.
TEST_F(MainWindowTest, ReadingSettingsAgainKeepsTheWindowShown) {
  auto window = makeWindow();
  window->show();
  test::writeFile(dir_.file("Tavro2.ini"), "[General]\r\nAlwaysOnTop=0\r\nAlphaBlend=120\r\n");
  window->readSettings();
  EXPECT_EQ(std::tuple(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                       window->isVisible(), window->hiddenFlag(), opacityOf(window.get()),
                       window->height()),
            std::tuple(false, true, false, 120, 435));
}

TEST_F(MainWindowTest, SkinRecoloursTheWindow) {
  auto window = makeWindow();
  window->applySkin(17);
  const ColorRef base = window->skin().skinBaseColor;
  auto colour = [](QWidget* w, QPalette::ColorRole role) {
    return colorRefOf(w->palette().color(role));
  };
  auto* toolBar = child<GradientPanel>(*window, "toolBar");
  EXPECT_EQ(std::tuple(base, colour(window->mainWordList(), QPalette::Base),
                       colour(window->phraseList(), QPalette::Base),
                       colour(window->statusLine(), QPalette::WindowText),
                       colour(child(*window, "translationPanel"), QPalette::Window),
                       toolBar->topColor(), toolBar->bottomColor(),
                       child<ImageButton>(*window, "clipboardButton")->faceColor()),
            std::tuple(rgbColor(57, 61, 77), blendColor(kWhite, base, 0.1f),
                       blendColor(kWhite, base, 0.3f), kWhite, blendColor(kWhite, base, 0.8f),
                       blendColor(kWhite, base, 0.2f), base, blendColor(kWhite, base, 0.7f)));
}

TEST_F(MainWindowTest, LoadStartsAtTheFirstShowOnly) {
  auto window = makeWindow();
  QCoreApplication::processEvents();
  EXPECT_TRUE(statusTexts().empty());
  EXPECT_EQ(window->store().count(DataKind::kEnglish), 0);
  showAndLoad(*window);
  EXPECT_EQ(statusTexts(), (std::vector<QString>{" Loading Data...", " Data OK"}));
  EXPECT_EQ(std::tuple(window->statusLine()->text(), window->store().count(DataKind::kEnglish),
                       window->store().count(DataKind::kPhrase)),
            std::tuple(" Data OK", 4, 2));
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
      loadStatusText({LoadState::kLoaded, LoadState::kMissing, LoadState::kLoaded}));
  EXPECT_EQ(statusTexts(), (std::vector<QString>{" Loading Data...", expected}));
  EXPECT_TRUE(expected.contains("dataid.dat"));
}

// With no data at all the line names every file uncut, and a lookup that
// finds nothing still says why.
TEST_F(MainWindowTest, NoDataIsNamedInFullAndAfterALookup) {
  for (const char* name : {"dataen.dat", "dataid.dat", "datapr.dat"})
    std::remove(dir_.file(name).c_str());
  auto window = makeWindow();
  showAndLoad(*window);
  QLabel* line = window->statusLine();
  EXPECT_EQ(line->text(), " Missing: dataen.dat, dataid.dat, datapr.dat");
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
  window->searchBox()->setText("house");
  window->search();
  EXPECT_EQ(line->text(), " not found - no dictionary data");
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
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

TEST_F(MainWindowTest, SearchShowsTheLookupStateWithItsRuns) {
  auto window = makeWindow("[General]\r\nShowPhrase=1\r\nShowContain=1\r\nWordsAfter=1\r\n");
  showAndLoad(*window);
  QTest::keyClicks(window->searchBox(), "run ");
  QTest::keyClick(window->searchBox(), Qt::Key_Return);
  EXPECT_EQ(itemTexts(window->mainWordList()), (QStringList{"run", "runner"}));
  EXPECT_EQ(std::tuple(window->mainWordList()->currentRow(), window->searchBox()->text(),
                       window->translationPane()->toPlainText(),
                       window->relatedTranslationPane()->toPlainText(),
                       window->statusLine()->text()),
            std::tuple(-1, "run ", "run kk lari", "rerun menjalankan lagi",
                       " English word (2 Phrase)"));
  EXPECT_EQ(itemTexts(window->relatedList()), (QStringList{"rerun", "runner"}));
  EXPECT_EQ(itemTexts(window->phraseList()),
            (QStringList{"I run fast", "saya lari cepat", "morning run", "lari pagi"}));
  // "run kk lari": the word bold, the marker bold and coloured, the rest plain.
  QTextDocument* doc = window->translationPane()->document();
  const QColor teal(0x00, 0x80, 0x80);
  for (int pos : {0, 2, 4, 5, 7}) {
    EXPECT_EQ(std::tuple(formatAt(doc, pos).fontWeight() == QFont::Bold,
                         formatAt(doc, pos).foreground().color() == teal),
              std::tuple(pos != 7, pos >= 4 && pos != 7)) << pos;
  }
  EXPECT_EQ(readFile(dir_.file("History.txt")), "run =run kk lari\r\n");

  // A related line shows its entry; a double click lists its phrases, status unchanged.
  window->relatedList()->setCurrentRow(1);
  EXPECT_EQ(window->relatedTranslationPane()->toPlainText(), "runner pelari");
  const QRect first = window->relatedList()->visualItemRect(window->relatedList()->item(0));
  window->relatedList()->setCurrentRow(0);
  QTest::mouseDClick(window->relatedList()->viewport(), Qt::LeftButton, {}, first.center());
  QCoreApplication::sendPostedEvents(window.get(), QEvent::MetaCall);
  EXPECT_EQ(std::tuple(window->phraseList()->count(), window->statusLine()->text()),
            std::tuple(0, " English word (2 Phrase)"));  // no phrase holds "rerun"
  window->mainWordList()->setCurrentRow(1);
  EXPECT_EQ(window->translationPane()->toPlainText(), "runner pelari");
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
  EXPECT_EQ(std::tuple(formatAt(&doc, 6).foreground().color(),
                       formatAt(&doc, 7).background().color()),
            std::tuple(QColor(255, 0, 0), QColor(192, 192, 192)));
  showFormattedText(&doc, "plain", {});  // drops the old formatting
  EXPECT_NE(formatAt(&doc, 0).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatAt(&doc, 0).hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(qStringOf1252("caf\xE9 \x80"), QString::fromUtf8("caf\u00e9 \u20ac"));
  EXPECT_EQ(bytesOf(QString::fromUtf8("caf\u00e9 \u20ac \u4e2d \U0001F600")), "caf\xE9 \x80 ? ?");
}

// Paints line `row` of `list` through `delegate` on a 120 x 16 image.
QImage paintLine(QStyledItemDelegate& delegate, QListWidget& list, int row, bool selected) {
  QStyleOptionViewItem option;
  option.initFrom(&list);
  option.font = appFont(14);
  option.rect = QRect(0, 0, 120, 16);
  option.state = selected ? QStyle::State_Selected : QStyle::State_None;
  QImage image(120, 16, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  delegate.paint(&painter, option, list.model()->index(row, 0));
  return image;
}
int maxLightness(const QImage& image) {
  int high = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      high = std::max(high, image.pixelColor(x, y).lightness());
  return high;
}

TEST(OwnerDrawTest, WordAndPhraseListLines) {
  SkinState skin;
  skin.load(0);
  SkinPalette palette = computeSkinPalette(skin);
  QListWidget list;
  list.addItems({"makan", "minum"});
  QPalette p = list.palette();
  p.setColor(QPalette::Base, toQColor(palette.mainWordList));
  list.setPalette(p);
  WordListDelegate words(&palette, nullptr);
  PhraseListDelegate phrases(&palette, nullptr);
  EXPECT_EQ(std::tuple(paintLine(words, list, 0, false).pixelColor(3, 8),
                       paintLine(words, list, 0, true).pixelColor(0, 0),
                       paintLine(phrases, list, 0, false).pixelColor(0, 0)),
            std::tuple(toQColor(palette.mainWordList), toQColor(palette.toolBarBottom),
                       toQColor(palette.phraseList)));
  // A translation line is indented on white: nothing but ground left of 14 pixels.
  QImage white(14, 16, QImage::Format_RGB32);
  white.fill(Qt::white);
  EXPECT_TRUE(paintLine(phrases, list, 1, false).copy(0, 0, 14, 16) == white);
  // On a dark skin's selection colour the text turns white.
  skin.load(17);
  palette = computeSkinPalette(skin);
  EXPECT_GT(maxLightness(paintLine(words, list, 1, true)), 215);
}

TEST_F(MainWindowTest, MenuAndKeysWhileTheSearchBoxHasTheFocus) {
  UrlCatcher opener;
  auto window = makeWindow();
  auto* menu = child<QMenu>(*window, "popupMenu");
  QStringList texts;
  for (QAction* action : menu->actions()) texts << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(texts, (QStringList{"Options\tCtrl+O", "-", "Minimize\tCtrl+M", "Compact Mode\tCtrl+S",
                                "History\tCtrl+H", "Select to Translate", "-", "Open Help\tCtrl+H", "About...", "-",
                                "Exit\tCtrl+X"}));
  window->show();
  QTest::mouseClick(child(*window, "menuGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(menu->isVisible());
  menu->close();
  window->searchBox()->setText("abc");
  window->searchBox()->selectAll();
  QTest::keyClick(window->searchBox(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(window->compactMode());
  // Ctrl+H is History (nothing with an empty history), not Help.
  QTest::keyClick(window->searchBox(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(opener.urls.isEmpty());
  EXPECT_FALSE(window->isMinimized());
  // Ctrl+X exits rather than cutting the selected text.
  QTest::keyClick(window->searchBox(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(std::tuple(window->isVisible(), window->searchBox()->text()), std::tuple(false, "abc"));
}

// Help (and F1) opens the manual beside the program; without one the status
// line says so and the window stays.
TEST_F(MainWindowTest, HelpOpensTheManualOrSaysWhyNot) {
  const std::string savedDir = programDirectory();
  setProgramDirectory(dir_.path());
  UrlCatcher opener;
  auto window = makeWindow();
  window->show();
  click(*window, "helpButton");
  EXPECT_TRUE(opener.urls.empty());
  EXPECT_EQ(window->statusLine()->text(), " Help: the manual is not installed");
  EXPECT_FALSE(window->windowState().testFlag(Qt::WindowMinimized));

  std::filesystem::create_directory(dir_.file("manual"));
  test::writeFile(dir_.file("manual/index.html"), "<html></html>");
  QTest::keyClick(window->searchBox(), Qt::Key_F1);
  ASSERT_EQ(opener.urls.size(), 1);
  EXPECT_EQ(opener.urls[0].toLocalFile().toStdString(), dir_.file("manual/index.html"));
  EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMinimized));
  setProgramDirectory(savedDir);
}

// Released over the title strip the pressed flag clears: pointing again lights it.
TEST_F(MainWindowTest, CloseGlyphReleasedOverTheTitleStripDoesNotClose) {
  auto window = makeWindow();
  window->show();
  auto* glyph = child<GlyphButton>(*window, "closeGlyph");
  QTest::mousePress(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClosePressed);
  QTest::mouseMove(glyph, QPoint(-100, 8));
  EXPECT_EQ(glyph->shownImage(), kImageClose);
  QTest::mouseRelease(glyph, Qt::LeftButton, {}, QPoint(-100, 8));
  EXPECT_TRUE(window->isVisible() && !glyph->isPressed());
  QEnterEvent enter(QPointF(8, 8), QPointF(8, 8), QPointF(321, 15));
  QApplication::sendEvent(glyph, &enter);
  EXPECT_EQ(glyph->shownImage(), kImageCloseHot);
  QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tavro2

#include "main_window_test.moc"
