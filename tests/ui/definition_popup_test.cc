// The definition popup: its size rule, its place beside the history window,
// the copy of the translation pane, and the countdown and fade, driven by
// calling the timer ticks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QTextCursor>
#include <QTextEdit>

#include "fake_history_host.h"
#include "ui/definition_popup.h"
#include "ui/skin.h"

namespace tavro2::test {
namespace {

TEST(DefinitionPopupSizeTest, OneLineGrowsByHalfOrByA23rdWithHalvesToEven) {
  const struct { int lines, width; std::size_t length; QSize expected; } cases[] = {
      {1, 60, 10, QSize(90, 20)},    {1, 61, 19, QSize(91, 20)},   // 30.5 -> 30
      {1, 63, 19, QSize(95, 20)},    {1, 60, 20, QSize(74, 20)},   // 31.5 -> 32; 13.8 -> 14
      {1, 150, 25, QSize(184, 20)},  {1, 250, 40, QSize(308, 20)},  // 34.5 -> 34; 57.5 -> 58
      {1, 0, 0, QSize(0, 20)},       {2, 900, 80, QSize(250, 34)},
      {3, 60, 10, QSize(250, 48)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefinitionPopupSize(c.lines, c.width, c.length), c.expected)
        << c.lines << " lines, " << c.width << " px, " << c.length << " chars";
  }
}

// Records the popup's geometry at every move and resize.
struct GeometryLog : QObject {
  explicit GeometryLog(QWidget* watched) : watched(watched) { watched->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
      rects.push_back(watched->geometry());
    return false;
  }
  QWidget* watched;
  std::vector<QRect> rects;
};

FHistory& openWithEntries(FakeHistoryHost& host) {
  host.list.AddToHistory("cat", "kucing");
  host.list.AddToHistory("book", "book buku; books");
  host.list.AddToHistory("lines", "satu\ndua\ntiga");
  host.list.AddToHistory("long", std::string(40, 'x') + " " + std::string(200, 'y'));
  host.HistoryCommand();
  host.slideUntilSettled();
  return *host.window;
}

class DefinitionPopupTest : public ::testing::Test {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  HistoryItem& item(const std::string& word) {
    for (HistoryItem* i : history.items())
      if (i->word() == word) return *i;
    throw std::runtime_error("no item " + word);
  }
  void show(const std::string& word) { popup.ShowDefinitionPopup(history, item(word)); }

  FakeHistoryHost host;
  FHistory& history = openWithEntries(host);
  FDef& popup = *host.popup;
};

TEST_F(DefinitionPopupTest, EntriesAreSizedByTheirText) {
  show("cat");
  ASSERT_EQ(popup.textArea()->toPlainText(), "kucing");
  const int w = QFontMetrics(AppFont(14)).horizontalAdvance("kucing");
  EXPECT_EQ(popup.size(), DefinitionPopupSize(1, w, 6));
  EXPECT_EQ(popup.height(), 20);
  EXPECT_TRUE(item("cat").isMarked());
  EXPECT_EQ(host.searchBox, "cat");
  // Pointing again at the shown word changes nothing.
  const int shown = host.entriesShown;
  show("cat");
  EXPECT_EQ(host.entriesShown, shown);
  EXPECT_TRUE(popup.isVisible());

  show("lines");
  EXPECT_EQ(popup.size(), QSize(250, 48));
  show("long");
  const int lines = popup.wrappedLineCount();
  EXPECT_GE(lines, 3);  // 241 characters wrap at 242 pixels
  EXPECT_EQ(popup.size(), QSize(250, 14 * lines + 6));
}

TEST_F(DefinitionPopupTest, StandsLeftOfAHistoryWindowOnTheRightAndRightOfOneOnTheLeft) {
  ASSERT_GT(history.x(), 300);
  show("cat");
  const int top = history.y() + item("cat").mapTo(&history, QPoint(0, 0)).y() + 1;
  EXPECT_EQ(popup.pos(), QPoint(history.x() - popup.width(), top));
  // Growing for a wider entry never reaches over the history window: that
  // would take the mouse off the item, unmarking it and hiding the popup.
  GeometryLog log(&popup);
  show("long");
  ASSERT_FALSE(log.rects.empty());
  for (const QRect& r : log.rects) EXPECT_LE(r.x() + r.width(), history.x());
  EXPECT_EQ(popup.x() + popup.width(), history.x());

  history.setWindowRect(QRect(300, history.y(), history.width(), history.height()));
  show("cat");
  EXPECT_EQ(popup.pos(), QPoint(300 + history.width(), top));
}

TEST_F(DefinitionPopupTest, CopiesTheTranslationPaneWithItsFormatting) {
  show("book");
  QTextDocument* copy = popup.textArea()->document();
  QTextDocument* pane = host.pane.document();
  ASSERT_EQ(copy->toPlainText(), pane->toPlainText());
  int boldSeen = 0;
  for (int pos = 1; pos < pane->characterCount(); ++pos) {
    QTextCursor a(pane), b(copy);
    a.setPosition(pos);
    b.setPosition(pos);
    const bool bold = a.charFormat().fontWeight() >= QFont::Bold;
    EXPECT_EQ(bold, b.charFormat().fontWeight() >= QFont::Bold) << "position " << pos;
    boldSeen += bold;
  }
  EXPECT_GT(boldSeen, 0) << "the pane should carry some bold text";
}

TEST_F(DefinitionPopupTest, ClipboardHitFadesAfterAutoCloseTimeIn26Steps) {
  host.settingsValue.AutoCloseTime = 7;
  show("cat");
  host.hit = true;
  for (std::uint32_t tick = 1; tick <= 7; ++tick) {
    popup.countdownTick();
    EXPECT_EQ(popup.countdown(), tick);
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
  EXPECT_FALSE(popup.isVisible() || popup.fadeTimerActive() || host.hit);
  EXPECT_EQ(popup.opacity(), 255);
  EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);
}

TEST_F(DefinitionPopupTest, ZeroOrNegativeFadesAtOnceAndHidingDoesNotStopTheFade) {
  host.settingsValue.AutoCloseTime = 0;
  show("cat");
  for (int i = 0; i < 20; ++i) popup.countdownTick();  // hovering only: no hit, no fade
  EXPECT_EQ(popup.countdown(), 0u);
  EXPECT_FALSE(popup.fadeTimerActive());

  for (int autoClose : {0, -3}) {
    host.settingsValue.AutoCloseTime = autoClose;
    host.hit = true;
    popup.countdownTick();
    ASSERT_TRUE(popup.fadeTimerActive()) << autoClose;
    popup.fadeTick();
    popup.Hide();
    EXPECT_TRUE(popup.fadeTimerActive());
    EXPECT_EQ(popup.opacity(), 245);
    int ticks = 1;
    for (; popup.fadeTimerActive(); ++ticks) popup.fadeTick();
    EXPECT_EQ(ticks, 26);
    EXPECT_EQ(popup.opacity(), 255);
    EXPECT_FALSE(host.hit);
  }
}

}  // namespace
}  // namespace tavro2::test
