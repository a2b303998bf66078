// The main window: layouts and modes, the settings it writes and reads,
// start-up and the load, keys and glyphs, and a lookup shown on screen.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>
#include <tuple>

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

template <class T = QWidget>
T* child(QWidget& parent, const char* name) {
  T* found = parent.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}
QRect geometryOf(QWidget& w, const char* name) { return child(w, name)->geometry(); }
bool shown(QWidget& w, const char* name) { return !child(w, name)->isHidden(); }
void click(QWidget& w, const char* name) { QTest::mouseClick(child(w, name), Qt::LeftButton); }
bool checked(QWidget& w, const char* name) { return child<QAbstractButton>(w, name)->isChecked(); }

void expectPlaced(QWidget& w, std::initializer_list<std::pair<const char*, QRect>> placements) {
  for (const auto& [name, rect] : placements) EXPECT_EQ(geometryOf(w, name), rect) << name;
}
void expectAt(QWidget& w, std::initializer_list<std::pair<const char*, QPoint>> positions) {
  for (const auto& [name, pos] : positions) EXPECT_EQ(child(w, name)->pos(), pos) << name;
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
    test::writeDataFile(dir_.file("dataen.dat"), {"rerun", "run", "runner", "walk"},
                        {"menjalankan lagi", "kk lari", "pelari", "kk berjalan"});
    test::writeDataFile(dir_.file("dataid.dat"), {"jalan", "lari"}, {"road", "run"});
    test::writeDataFile(dir_.file("datapr.dat"), {"saya lari cepat", "lari pagi"},
                        {"I run fast", "morning run"});
  }

  std::unique_ptr<MainWindow> makeWindow(const std::string& settings = "") {
    if (!settings.empty()) writeFile(dir_.file("Tavro2.ini"), settings);
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

// --- Layouts and modes -------------------------------------------------------------

TEST_F(MainWindowTest, FullLayoutPlacesEveryControl) {
  auto window = makeWindow();
  window->ApplyFullLayout();
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
                {"linkPanel", {226, 407, 118, 20}}});
  expectAt(*window, {{"direction1", {9, 9}}, {"direction2", {94, 9}}, {"direction3", {222, 9}}});
  // The title is bold, fits its text and is centred in the strip.
  const QWidget* title = child(*window, "titleText");
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->pos(), QPoint((352 - title->width()) / 2, (29 - title->height()) / 2));
  EXPECT_EQ(window->windowTitle(), "Tavro 2.04");
  EXPECT_EQ(window->linkPanel()->text(), "https://freedict.org/");
  EXPECT_EQ(window->linkPanel()->toolTip(), "Visit https://freedict.org/");
}

TEST_F(MainWindowTest, PanelLayoutForEachToggleState) {
  auto window = makeWindow();
  const struct {
    bool contain, phrase;
    int translationHeight;
    QRect related, phrases;  // when shown
  } cases[] = {
      {true, true, 102, {8, 199, 336, 102}, {8, 303, 336, 100}},
      {true, false, 153, {8, 250, 336, 153}, {}},
      {false, true, 102, {}, {8, 199, 336, 204}},
      {false, false, 308, {}, {}},
  };
  for (const auto& c : cases) {
    if (checked(*window, "containButton") != c.contain) click(*window, "containButton");
    if (checked(*window, "phraseButton") != c.phrase) click(*window, "phraseButton");
    SCOPED_TRACE(testing::Message() << "contain " << c.contain << " phrase " << c.phrase);
    EXPECT_EQ(geometryOf(*window, "translationPanel"), QRect(8, 95, 336, c.translationHeight));
    EXPECT_EQ(shown(*window, "relatedPanel"), c.contain);
    EXPECT_EQ(shown(*window, "phrasePanel"), c.phrase);
    if (c.contain) {
      EXPECT_EQ(geometryOf(*window, "relatedPanel"), c.related);
    }
    if (c.phrase) {
      EXPECT_EQ(geometryOf(*window, "phrasePanel"), c.phrases);
    }
  }
}

void expectCompactLayout(MainWindow& w, bool wide) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.wideFlag(), w.height()), std::tuple(true, wide, 118));
  expectPlaced(w, {{"toolBar", {3, 32, 346, 83}},
                   {"searchPanel", {5, 3, 90, 22}},
                   {"statusLine", {8, 90, 90, 20}},
                   {"translationPanel", wide ? QRect(7, 34, 338, 77) : QRect(102, 34, 245, 77)}});
  expectAt(w, {{"clipboardButton", {5, 29}},
               {"settingsButton", {28, 29}},
               {"helpButton", {50, 29}},
               {"aboutButton", {72, 29}},
               {"findButton", {116, 6}}});
  for (const char* hidden :
       {"directionBar", "relatedPanel", "phrasePanel", "containButton", "phraseButton"}) {
    EXPECT_FALSE(shown(w, hidden)) << hidden;
  }
  EXPECT_TRUE(w.mainWordList()->parentWidget()->isHidden());
  EXPECT_EQ(w.statusLine()->isHidden(), wide);
  EXPECT_EQ(child<GlyphButton>(w, "modeGlyph")->shownImage(), kImageCompactMode);
  EXPECT_EQ(w.translationPane()->toolTip(),
            "Double click to switch between full and normal compact mode");
}

void expectFullLayout(MainWindow& w) {
  EXPECT_EQ(std::tuple(w.compactMode(), w.height()), std::tuple(false, 435));
  expectPlaced(w, {{"toolBar", {3, 57, 346, 32}}, {"statusLine", {8, 407, 216, 20}}});
  EXPECT_TRUE(shown(w, "statusLine") && shown(w, "directionBar"));
  EXPECT_EQ(child<GlyphButton>(w, "modeGlyph")->shownImage(), kImageFullMode);
  EXPECT_EQ(w.translationPane()->toolTip(), "The translation");
}

void doubleClickPane(MainWindow& w) {
  QTest::mouseDClick(w.translationPane()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
}

// The cycle runs full -> compact -> wide compact -> full. The toggle (mode
// glyph, title double click) comes back to the compact layout last used; a
// double click on the pane swaps the two compact layouts.
TEST_F(MainWindowTest, CompactModesFromEveryState) {
  auto window = makeWindow();
  window->show();
  click(*window, "containButton");  // the related panel only
  expectFullLayout(*window);
  window->compactCycle();
  expectCompactLayout(*window, false);
  EXPECT_EQ(settingsText(), "[General]\r\nShowContain=1\r\nCompactMode=1\r\n");
  window->compactCycle();
  expectCompactLayout(*window, true);
  window->compactCycle();
  expectFullLayout(*window);
  EXPECT_EQ(settingsText(), "[General]\r\nShowContain=1\r\nCompactMode=0\r\n");

  // Wide compact toggled to full keeps the wide flag; the cycle still leaves
  // full mode into normal compact.
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
  // Back in full mode the panels follow the toggles again.
  EXPECT_EQ(geometryOf(*window, "translationPanel"), QRect(8, 95, 336, 153));
  EXPECT_TRUE(shown(*window, "relatedPanel"));
  EXPECT_FALSE(shown(*window, "phrasePanel"));
  doubleClickPane(*window);  // nothing in full mode
  expectFullLayout(*window);
  auto* glyph = child<GlyphButton>(*window, "modeGlyph");
  EXPECT_EQ(glyph->toolTip(), "Switch between compact and full mode");
  QTest::mouseClick(glyph, Qt::LeftButton, {}, QPoint(8, 8));
  expectCompactLayout(*window, true);
  doubleClickPane(*window);
  expectCompactLayout(*window, false);
}

// --- Settings ---------------------------------------------------------------------

TEST_F(MainWindowTest, TogglesAndDirectionsWriteTheirKeysAtOnce) {
  auto window = makeWindow();
  window->show();
  auto* phrase = child<ImageButton>(*window, "phraseButton");
  click(*window, "phraseButton");
  EXPECT_EQ(settingsText(), "[General]\r\nShowPhrase=1\r\n");
  EXPECT_EQ(std::tuple(phrase->isOpaque(), phrase->textColor()),
            std::tuple(true, QColor(0, 0, 128)));

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
  const std::string expected =
      "[General]\r\nShowPhrase=0\r\nShowContain=1\r\nUseClipboard=1\r\nLanguage=3\r\n";
  EXPECT_EQ(settingsText(), expected);
  window->close();  // writes nothing more
  EXPECT_EQ(settingsText(), expected);
}

TEST_F(MainWindowTest, StartsWithDefaultsWithoutSettingsFile) {
  auto window = makeWindow();
  EXPECT_TRUE(checked(*window, "direction1"));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(std::tuple(OpacityOf(window.get()), window->skin().index), std::tuple(255, 0));
  for (const char* toggle : {"containButton", "phraseButton", "clipboardButton"}) {
    EXPECT_FALSE(checked(*window, toggle)) << toggle;
  }
  const LookupSettings& s = window->lookup().settings;
  EXPECT_EQ(std::tuple(s.direction, s.MaxContainTexts, s.WordsBefore, s.WordsAfter),
            std::tuple(Direction::kAutomatic, 10, 0, 0));
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
  EXPECT_TRUE(checked(*window, "direction1"));
  const LookupSettings& s = window->lookup().settings;
  EXPECT_EQ(
      std::tuple(s.WordsBefore, s.WordsAfter, s.MaxContainTexts, s.AutoRemAlpha, s.ShowPhrase),
      std::tuple(100, 0, 6, false, true));
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
  EXPECT_EQ(std::tuple(OpacityOf(window.get()), window->height()), std::tuple(120, 435));
}

TEST_F(MainWindowTest, SkinRecoloursTheWindow) {
  auto window = makeWindow();
  window->ApplySkin(17);
  const ColorRef base = window->skin().SkinBaseColor;
  EXPECT_EQ(base, RgbColor(57, 61, 77));
  auto colour = [](QWidget* w, QPalette::ColorRole role) {
    return colorRefOf(w->palette().color(role));
  };
  const std::pair<QWidget*, float> bases[] = {{window->mainWordList(), 0.1f},
                                              {window->translationPane(), 0.1f},
                                              {window->relatedList(), 0.2f},
                                              {window->phraseList(), 0.3f}};
  for (const auto& [widget, factor] : bases) {
    EXPECT_EQ(colour(widget, QPalette::Base), BlendColor(kWhite, base, factor)) << factor;
  }
  EXPECT_EQ(colour(window->statusLine(), QPalette::Window), base);
  EXPECT_EQ(colour(window->statusLine(), QPalette::WindowText), kWhite);
  EXPECT_EQ(colour(child(*window, "translationPanel"), QPalette::Window),
            BlendColor(kWhite, base, 0.8f));
  auto* toolBar = child<GradientPanel>(*window, "toolBar");
  EXPECT_EQ(std::tuple(toolBar->topColor(), toolBar->bottomColor()),
            std::tuple(BlendColor(kWhite, base, 0.2f), base));
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
  EXPECT_EQ(std::tuple(window->store().EnglishCount(), window->store().PhraseCount()),
            std::tuple(4, 2));

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
  auto window = makeWindow("[General]\r\nShowPhrase=1\r\nShowContain=1\r\nWordsAfter=1\r\n");
  showAndLoad(*window);
  QTest::keyClicks(window->searchBox(), "run ");
  QTest::keyClick(window->searchBox(), Qt::Key_Return);

  EXPECT_EQ(itemTexts(window->mainWordList()), (QStringList{"run", "runner"}));
  EXPECT_EQ(window->mainWordList()->currentRow(), -1);
  EXPECT_EQ(window->searchBox()->text(), "run ");  // the box keeps what was typed
  EXPECT_EQ(window->translationPane()->toPlainText(), "run kk lari");
  EXPECT_EQ(itemTexts(window->relatedList()), (QStringList{"rerun", "runner"}));
  EXPECT_EQ(window->relatedTranslationPane()->toPlainText(), "rerun menjalankan lagi");
  EXPECT_EQ(window->statusLine()->text(), " English word (2 Phrase)");
  EXPECT_EQ(itemTexts(window->phraseList()),
            (QStringList{"I run fast", "saya lari cepat", "morning run", "lari pagi"}));

  // The word bold, the marker bold and coloured, the rest plain.
  QTextDocument* doc = window->translationPane()->document();
  for (int pos : {0, 2, 4}) EXPECT_EQ(formatAt(doc, pos).fontWeight(), QFont::Bold) << pos;
  for (int pos : {4, 5}) {
    EXPECT_EQ(formatAt(doc, pos).foreground().color(), QColor(0x00, 0x80, 0x80)) << pos;
  }
  EXPECT_NE(formatAt(doc, 7).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatAt(doc, 7).hasProperty(QTextFormat::ForegroundBrush));
  for (const FormatRun& run : window->lookup().translationRuns) {
    EXPECT_EQ(formatAt(doc, static_cast<int>(run.start)).fontWeight() == QFont::Bold, run.bold);
  }
  // The history took the word as typed, with the pane's text.
  EXPECT_EQ(readFile(dir_.file("History.txt")), "run =run kk lari\r\n");
  // The phrase list's hint follows the mouse.
  QListWidget* phrases = window->phraseList();
  for (int row : {0, 1}) {
    QTest::mouseMove(phrases->viewport(), phrases->visualItemRect(phrases->item(row)).center());
    EXPECT_EQ(phrases->toolTip(), phrases->item(row)->text());
  }

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

  // A word-list choice shows its entry.
  window->mainWordList()->setCurrentRow(1);
  EXPECT_EQ(window->translationPane()->toPlainText(), "runner pelari");
}

// --- The runs adapter and owner drawing -------------------------------------------------

TEST(FormatAdapterTest, RunsLandOnTheirCharacters) {
  QTextDocument doc;
  // A CR LF pair is one paragraph break in the document; the run after it
  // must still cover "cd". A run past the end is cut.
  ShowFormattedText(
      &doc, "ab\r\ncd ef",
      {{4, 2, true, std::nullopt, std::nullopt}, {7, 10, false, 0xFF0000u, 0xC0C0C0u}});
  EXPECT_EQ(doc.toPlainText(), "ab\ncd ef");
  for (int pos : {1, 5}) EXPECT_NE(formatAt(&doc, pos).fontWeight(), QFont::Bold) << pos;
  for (int pos : {3, 4}) EXPECT_EQ(formatAt(&doc, pos).fontWeight(), QFont::Bold) << pos;
  EXPECT_EQ(formatAt(&doc, 6).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(formatAt(&doc, 7).background().color(), QColor(192, 192, 192));
  // Showing another text drops the old formatting.
  ShowFormattedText(&doc, "plain", {});
  EXPECT_NE(formatAt(&doc, 0).fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatAt(&doc, 0).hasProperty(QTextFormat::ForegroundBrush));

  EXPECT_EQ(qStringOf1252("caf\xE9 \x80"), QString::fromUtf8("caf\u00e9 \u20ac"));
  EXPECT_EQ(bytesOf(QString::fromUtf8("caf\u00e9 \u20ac \u4e2d \U0001F600")), "caf\xE9 \x80 ? ?");
}

// Paints one list line through a delegate.
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

// The darkest and the lightest pixel (antialiased text shows its colour as
// the extreme).
std::pair<int, int> lightnessRange(const QImage& image) {
  std::vector<int> values;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) values.push_back(image.pixelColor(x, y).lightness());
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  return {*low, *high};
}

TEST(OwnerDrawTest, WordAndPhraseListLines) {
  SkinState skin;
  skin.load(0);
  SkinPalette palette = ComputeSkinPalette(skin);
  QListWidget list;
  list.addItems({"makan", "minum"});
  QPalette p = list.palette();
  p.setColor(QPalette::Base, toQColor(palette.mainWordList));
  p.setColor(QPalette::Text, Qt::black);
  list.setPalette(p);
  WordListDelegate words(&palette, nullptr);

  const QImage plain = paintLine(words, list, 0, false);
  EXPECT_EQ(plain.pixelColor(0, 0), toQColor(palette.mainWordList));
  EXPECT_EQ(plain.pixelColor(3, 8), toQColor(palette.mainWordList));  // text starts at 4
  EXPECT_LT(lightnessRange(plain).first, 40);                         // black text
  const QImage selected = paintLine(words, list, 0, true);
  EXPECT_EQ(selected.pixelColor(0, 0), toQColor(palette.toolBarBottom));
  EXPECT_LT(lightnessRange(selected).first, 40);

  // A phrase line on its own colour, its translation indented on white: nothing
  // but ground left of 14 pixels.
  PhraseListDelegate phrases(&palette, nullptr);
  EXPECT_EQ(paintLine(phrases, list, 0, false).pixelColor(0, 0), toQColor(palette.phraseList));
  const QImage translation = paintLine(phrases, list, 1, false);
  for (int x = 0; x < 14; ++x)
    for (int y = 0; y < 16; ++y) ASSERT_EQ(translation.pixelColor(x, y), QColor(Qt::white));
  EXPECT_EQ(paintLine(phrases, list, 1, true).pixelColor(0, 0), toQColor(palette.toolBarBottom));

  // On the dark selection colour of a dark skin the text turns white.
  skin.load(17);
  palette = ComputeSkinPalette(skin);
  const QImage dark = paintLine(words, list, 1, true);
  EXPECT_EQ(dark.pixelColor(0, 0), toQColor(palette.toolBarBottom));
  EXPECT_GT(lightnessRange(dark).second, 215);  // white text
  EXPECT_GE(lightnessRange(dark).first, toQColor(palette.toolBarBottom).lightness());
}

// --- Keys, menu and glyphs ---------------------------------------------------------------

TEST_F(MainWindowTest, MenuAndKeysWhileTheSearchBoxHasTheFocus) {
  UrlCatcher opener;
  auto window = makeWindow();
  auto* menu = child<QMenu>(*window, "popupMenu");
  QStringList texts;
  for (QAction* action : menu->actions()) {
    texts << (action->isSeparator() ? QString("-") : action->text());
  }
  EXPECT_EQ(texts, (QStringList{"Options\tCtrl+O", "-", "Minimize\tCtrl+M", "Compact Mode\tCtrl+S",
                                "History\tCtrl+H", "-", "Open Help\tCtrl+H", "About...", "-",
                                "Exit\tCtrl+X"}));
  window->show();
  QTest::mouseClick(child(*window, "menuGlyph"), Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(menu->isVisible());
  menu->close();

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
  // Released over the title strip the pressed flags are cleared, so pointing
  // at the glyph again shows it lit, not pressed.
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
