// The definition popup: its size rule, its place beside the history window,
// the copy of the translation pane, and the countdown and fade, driven by
// calling the timer ticks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "fake_history_host.h"
#include "ui/definition_popup.h"
#include "ui/skin.h"

namespace tavro2::test {
namespace {

struct SizeCase {
  int lines;
  int width;
  std::size_t length;
  QSize expected;
};

TEST(DefinitionPopupSizeTest, OneLineGrowsByHalfOrByA23rdWithHalvesToEven) {
  const SizeCase cases[] = {
      {1, 60, 10, QSize(90, 20)},    // 10 characters measuring 60 pixels
      {1, 61, 19, QSize(91, 20)},    // 30.5 -> 30
      {1, 63, 19, QSize(95, 20)},    // 31.5 -> 32
      {1, 60, 20, QSize(74, 20)},    // 20 characters: 13.8 -> 14
      {1, 50, 25, QSize(62, 20)},    // 11.5 -> 12
      {1, 150, 25, QSize(184, 20)},  // 34.5 -> 34, exactly, not 35
      {1, 250, 40, QSize(308, 20)},  // 57.5 -> 58
      {1, 0, 0, QSize(0, 20)},
      {2, 900, 80, QSize(250, 34)},
      {3, 60, 10, QSize(250, 48)},   // three lines
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(DefinitionPopupSize(c.lines, c.width, c.length), c.expected)
        << c.lines << " lines, " << c.width << " px, " << c.length << " chars";
  }
}

class DefinitionPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.list.AddToHistory("cat", "kucing");
    host.list.AddToHistory("book", "book buku; books");
    host.list.AddToHistory("lines", "satu\ndua\ntiga");
    host.list.AddToHistory("long", std::string(40, 'x') + " " + std::string(200, 'y'));
    host.HistoryCommand();
    host.slideUntilSettled();
    history = host.window;
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  HistoryItem* item(const std::string& word) {
    for (HistoryItem* i : history->items())
      if (i->word() == word) return i;
    return nullptr;
  }

  FakeHistoryHost host;
  FHistory* history = nullptr;
  FDef& popup = *host.popup;
};

TEST_F(DefinitionPopupTest, OneLineEntryIsSizedByItsTextWidth) {
  HistoryItem* cat = item("cat");
  popup.ShowDefinitionPopup(*history, *cat);
  const QString text = "kucing";
  ASSERT_EQ(popup.textArea()->toPlainText(), text);
  const int w = QFontMetrics(AppFont(14)).horizontalAdvance(text);
  EXPECT_EQ(popup.size(), DefinitionPopupSize(1, w, 6));
  EXPECT_EQ(popup.height(), 20);
  EXPECT_TRUE(cat->isMarked());
  EXPECT_EQ(host.searchBox, "cat");
}

TEST_F(DefinitionPopupTest, SeveralLinesAre250WideAnd14PerLine) {
  popup.ShowDefinitionPopup(*history, *item("lines"));
  EXPECT_EQ(popup.size(), QSize(250, 48));

  popup.ShowDefinitionPopup(*history, *item("long"));
  const int lines = popup.wrappedLineCount();
  EXPECT_GE(lines, 3);  // 241 characters wrap at 242 pixels
  EXPECT_EQ(popup.size(), QSize(250, 14 * lines + 6));
}

TEST_F(DefinitionPopupTest, StandsLeftOfAHistoryWindowOnTheRightAndRightOfOneOnTheLeft) {
  HistoryItem* cat = item("cat");
  ASSERT_GT(history->x(), 300);
  popup.ShowDefinitionPopup(*history, *cat);
  const int top = history->y() + cat->mapTo(history, QPoint(0, 0)).y() + 1;
  EXPECT_EQ(popup.pos(), QPoint(history->x() - popup.width(), top));
  // A wider entry after a narrow one still ends at the window's left edge.
  popup.ShowDefinitionPopup(*history, *item("long"));
  EXPECT_EQ(popup.x() + popup.width(), history->x());

  history->setWindowRect(QRect(300, history->y(), history->width(), history->height()));
  popup.ShowDefinitionPopup(*history, *cat);
  EXPECT_EQ(popup.pos(), QPoint(300 + history->width(), top));
}

// Records the popup's geometry at every move and resize.
class GeometryLog : public QObject {
 public:
  explicit GeometryLog(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
  std::vector<QRect> rects;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (object == watched_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
      rects.push_back(watched_->geometry());
    return false;
  }

 private:
  QWidget* watched_;
};

TEST_F(DefinitionPopupTest, NeverReachesOverTheHistoryWindowWhileItIsSized) {
  // Over the history window it would take the mouse off the item, which
  // unmarks the item and hides the popup again.
  popup.ShowDefinitionPopup(*history, *item("cat"));
  GeometryLog log(&popup);
  popup.ShowDefinitionPopup(*history, *item("long"));
  ASSERT_FALSE(log.rects.empty());
  for (const QRect& r : log.rects) EXPECT_LE(r.x() + r.width(), history->x());
}

TEST_F(DefinitionPopupTest, CopiesTheTranslationPaneWithItsFormatting) {
  popup.ShowDefinitionPopup(*history, *item("book"));
  QTextDocument* copy = popup.textArea()->document();
  QTextDocument* pane = host.pane.document();
  ASSERT_EQ(copy->toPlainText(), pane->toPlainText());
  int boldSeen = 0;
  for (int pos = 0; pos < pane->characterCount() - 1; ++pos) {
    QTextCursor a(pane), b(copy);
    a.setPosition(pos + 1);
    b.setPosition(pos + 1);
    EXPECT_EQ(a.charFormat().fontWeight() >= QFont::Bold, b.charFormat().fontWeight() >= QFont::Bold)
        << "position " << pos;
    boldSeen += a.charFormat().fontWeight() >= QFont::Bold;
  }
  EXPECT_GT(boldSeen, 0) << "the pane should carry some bold text";
}

TEST_F(DefinitionPopupTest, PointingAgainAtTheShownWordChangesNothing) {
  HistoryItem* cat = item("cat");
  popup.ShowDefinitionPopup(*history, *cat);
  const int shown = host.entriesShown;
  const QSize size = popup.size();
  popup.ShowDefinitionPopup(*history, *cat);
  EXPECT_EQ(host.entriesShown, shown);
  EXPECT_EQ(popup.size(), size);
  EXPECT_TRUE(popup.isVisible());
}

TEST_F(DefinitionPopupTest, ClipboardHitFadesAfterAutoCloseTimeIn26Steps) {
  host.settingsValue.AutoCloseTime = 7;
  popup.ShowDefinitionPopup(*history, *item("cat"));
  host.hit = true;
  for (int tick = 1; tick <= 7; ++tick) {
    popup.countdownTick();
    EXPECT_EQ(popup.countdown(), static_cast<std::uint32_t>(tick));
    EXPECT_FALSE(popup.fadeTimerActive());
  }
  popup.countdownTick();  // the eighth second starts the fade
  EXPECT_EQ(popup.countdown(), 0u);
  EXPECT_TRUE(popup.fadeTimerActive());

  for (int tick = 1; tick <= 25; ++tick) {
    popup.fadeTick();
    EXPECT_EQ(popup.opacity(), 255 - 10 * tick);
    EXPECT_TRUE(popup.isVisible());
  }
  EXPECT_NEAR(popup.windowOpacity(), 5 / 255.0, 0.01);
  popup.fadeTick();  // 26th: -5
  EXPECT_FALSE(popup.isVisible());
  EXPECT_FALSE(popup.fadeTimerActive());
  EXPECT_FALSE(host.hit);
  EXPECT_EQ(popup.opacity(), 255);
  EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
}

TEST_F(DefinitionPopupTest, CountdownWaitsForAHitAndZeroOrNegativeFadesAtOnce) {
  popup.ShowDefinitionPopup(*history, *item("cat"));
  for (int i = 0; i < 20; ++i) popup.countdownTick();  // hovering only
  EXPECT_EQ(popup.countdown(), 0u);
  EXPECT_FALSE(popup.fadeTimerActive());

  for (int autoClose : {0, -3}) {
    host.settingsValue.AutoCloseTime = autoClose;
    host.hit = true;
    popup.countdownTick();
    EXPECT_TRUE(popup.fadeTimerActive()) << autoClose;
    while (popup.fadeTimerActive()) popup.fadeTick();
  }
}

TEST_F(DefinitionPopupTest, HidingDoesNotStopARunningFade) {
  host.settingsValue.AutoCloseTime = 0;
  popup.ShowDefinitionPopup(*history, *item("cat"));
  host.hit = true;
  popup.countdownTick();
  popup.fadeTick();
  popup.Hide();
  EXPECT_TRUE(popup.fadeTimerActive());
  EXPECT_EQ(popup.opacity(), 245);
  int ticks = 1;
  while (popup.fadeTimerActive()) popup.fadeTick(), ++ticks;
  EXPECT_EQ(ticks, 26);
  EXPECT_EQ(popup.opacity(), 255);
  EXPECT_FALSE(host.hit);
}

}  // namespace
}  // namespace tavro2::test
