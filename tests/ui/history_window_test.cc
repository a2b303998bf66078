// The history window: building, sliding in and out, snapping, new and
// highlighted words, choosing, sorting and the popup menu. The slide timer is
// driven by calling its tick.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>

#include "fake_history_host.h"
#include "ui/history_window.h"
#include "ui/skin_widgets.h"

namespace tavro2::test {
namespace {

std::vector<std::string> numbered(int count) {
  std::vector<std::string> out;
  for (int i = 1; i <= count; ++i) out.push_back("w" + std::to_string(i));
  return out;
}

void sendMouse(QWidget* to, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, to->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(to, &event);
}

class HistoryWindowTest : public ::testing::Test {
 protected:
  // Closed windows delete themselves later; let them go with their test.
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  FHistory* openDocked(const std::vector<std::string>& list) {
    host.addWords(list);
    host.HistoryCommand();
    host.slideUntilSettled();
    return host.window;
  }

  FakeHistoryHost host;
};

TEST_F(HistoryWindowTest, FirstShowBuildsNewestFirstBeyondTheRightEdge) {
  host.HistoryCommand();
  EXPECT_EQ(host.window, nullptr) << "an empty history opens nothing";

  host.addWords({"alpha", "beta", "gamma"});
  host.HistoryCommand();
  FHistory* w = host.window;
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" gamma", " beta", " alpha"}));
  // Items at top 15 * k + 5, 16 high, width - 4 wide; window 64 wide.
  EXPECT_EQ(w->items()[0]->geometry(), QRect(1, 20, 60, 16));
  EXPECT_EQ(w->items()[2]->geometry(), QRect(1, 50, 60, 16));
  EXPECT_EQ(w->size(), QSize(64, 69));
  EXPECT_EQ(w->itemPanel()->geometry(), QRect(1, 1, 62, 67));
  EXPECT_EQ(w->title()->geometry(), QRect(0, 0, 62, 18));
  EXPECT_EQ(w->title()->text(), "History");
  EXPECT_EQ(w->pos(), QPoint(1280, (770 - 69) / 2));
  EXPECT_TRUE(w->isSliding() && w->slideTimerActive() && !w->isDocked());
}

TEST_F(HistoryWindowTest, ItemsStopAtWordHistoryAndAtTheScreenBottom) {
  host.addWords(numbered(30));
  host.settingsValue.WordHistory = 20;
  host.HistoryCommand();
  EXPECT_EQ(host.window->items().size(), 20u);
  EXPECT_EQ(host.itemTexts().front(), " w30");
  EXPECT_EQ(host.itemTexts().back(), " w11");
  host.window->close();

  // Bottoms 36, 51, 66, 81, 96: the fifth reaches 100 - 5 and ends the list.
  host.screen = QRect(0, 0, 800, 100);
  host.HistoryCommand();
  EXPECT_EQ(host.window->items().size(), 5u);
  host.window->close();

  host.settingsValue.WordHistory = 0;
  host.HistoryCommand();
  EXPECT_TRUE(host.window->items().empty());
}

TEST(HistorySlideTest, SlidesInFlushAndOutBeyondTheEdge) {
  const struct {
    const char* name;
    QRect work;
    bool fromRight;
    int start, docked;  // left when the first show ends, and when docked
    int ticksOut;       // the closing tick included; sliding in always takes 14
  } cases[] = {
      // 1280 - 5k until at most 1216 - 1 = 1215, then flush at 1216.
      {"right", QRect(0, 0, 1280, 770), true, 1280, 1216, 14},
      {"right, odd width", QRect(0, 0, 1277, 770), true, 1277, 1213, 14},
      // -64 + 5k until 1, then flush at 0; out: 0 - 5k until below -69.
      {"left", QRect(0, 0, 1280, 770), false, -64, 0, 15},
      {"left of an offset work area", QRect(70, 0, 1210, 770), false, 6, 70, 15},
      {"right of a second screen", QRect(1280, 0, 1024, 740), true, 2304, 2240, 14},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHistoryHost host;
    host.work = c.work;
    host.settingsValue.HistoryFromRight = c.fromRight;
    host.addWords({"one", "two"});
    host.HistoryCommand();
    FHistory* w = host.window;
    EXPECT_EQ(w->x(), c.start);
    const int y = w->y();

    EXPECT_EQ(host.slideUntilSettled(), 14);
    EXPECT_TRUE(w->isDocked());
    EXPECT_FALSE(w->isSliding() || w->slideTimerActive());
    EXPECT_EQ(w->pos(), QPoint(c.docked, y));

    host.HistoryCommand();  // docked and still: slide out
    EXPECT_TRUE(w->closeRequested() && w->slideTimerActive());
    w->slideTick();
    EXPECT_TRUE(w->isSliding());
    EXPECT_EQ(host.slideUntilSettled() + 1, c.ticksOut);
    EXPECT_EQ(host.window, nullptr);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(host.restores, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(HistoryWindowTest, CommandsAndMovesWhileSlidingAndWhileStill) {
  host.addWords({"one"});
  host.HistoryCommand();
  FHistory* w = host.window;
  w->slideTick();
  host.HistoryCommand();
  EXPECT_FALSE(w->closeRequested()) << "a command while sliding keeps the slide going";
  w->setWindowRect(QRect(w->x(), 12, w->width(), w->height()));
  EXPECT_EQ(w->y(), 12) << "no snapping while sliding";
  host.slideUntilSettled();
  ASSERT_TRUE(w->isDocked());
  w->setWindowRect(QRect(10, 12, w->width(), w->height()));
  EXPECT_EQ(w->pos(), QPoint(0, 0));

  // Away from both edges the command closes the window at once.
  w->setWindowRect(QRect(600, 300, w->width(), w->height()));
  host.HistoryCommand();
  w->slideTick();
  EXPECT_EQ(host.window, nullptr);
  EXPECT_EQ(host.closes, 1);
}

TEST(SnapToWorkAreaTest, SnapsWithin15PixelsAndKeepsInside) {
  const WorkArea area = WorkArea::of(QRect(0, 30, 1280, 740));  // bottom 770
  const std::pair<QPoint, QPoint> cases[] = {  // proposed top left -> kept, 64 x 100
      {{400, 300}, {400, 300}},   {{15, 300}, {0, 300}},     {{16, 300}, {16, 300}},
      {{1201, 300}, {1216, 300}}, {{1200, 300}, {1200, 300}},  // right edge 1265 >= 1265
      {{400, 45}, {400, 30}},     {{400, 655}, {400, 670}},  // top, bottom
      {{-200, 300}, {0, 300}},    {{1500, 900}, {1216, 670}},  // dragged off: back inside
  };
  for (const auto& [from, to] : cases) {
    EXPECT_EQ(SnapToWorkArea(QRect(from, QSize(64, 100)), area), QRect(to, QSize(64, 100)))
        << from.x() << "," << from.y();
  }
  // Taller than the work area: the bottom wins.
  EXPECT_EQ(SnapToWorkArea(QRect(400, 0, 64, 800), area), QRect(400, -30, 64, 800));
}

TEST_F(HistoryWindowTest, NewWordsWithoutGrowthAndHighlightsInTheExactCaseOnly) {
  host.settingsValue.WordHistory = 20;
  FHistory* w = openDocked(numbered(30));
  const QSize size = w->size();
  host.list.AddToHistory("W29", "W29 lain");  // already there, other case
  EXPECT_FALSE(host.popup->isVisible());
  EXPECT_FALSE(w->items()[1]->isMarked());
  EXPECT_EQ(host.list.lines().size(), 30u);

  host.list.AddToHistory("w29", "w29 lain");
  EXPECT_TRUE(w->items()[1]->isMarked());
  EXPECT_TRUE(host.popup->isVisible());
  EXPECT_EQ(host.searchBox, "w29");
  EXPECT_EQ(w->lastWord(), "w29");

  host.list.AddToHistory("fresh", "fresh baru");  // the last item goes
  ASSERT_EQ(w->items().size(), 20u);
  EXPECT_EQ(host.itemTexts()[0], " fresh");
  EXPECT_EQ(host.itemTexts()[1], " w30");
  EXPECT_EQ(host.itemTexts().back(), " w12");
  EXPECT_EQ(w->size(), size);
  EXPECT_TRUE(w->items()[0]->isMarked());
  EXPECT_TRUE(host.popup->isVisible());
}

TEST_F(HistoryWindowTest, NewWordWithRoomAddsAnItemAndGrowsUpFromTheBottomEdge) {
  FHistory* w = openDocked({"one", "two", "three"});
  const QRect before = w->geometry();
  host.list.AddToHistory("four", "four empat");
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" four", " three", " two", " one"}));
  EXPECT_EQ(w->items().back()->y(), before.height() - 4);
  EXPECT_EQ(w->height(), before.height() + 16);
  EXPECT_EQ(w->itemPanel()->height(), w->height() - 2);
  EXPECT_EQ(w->pos(), before.topLeft());

  w->setWindowRect(QRect(w->x(), 770 - w->height(), w->width(), w->height()));
  host.list.AddToHistory("five", "five lima");
  EXPECT_EQ(w->geometry().bottom() + 1, 770);
}

TEST_F(HistoryWindowTest, PointingMarksAnItemAndClickingChoosesItWithoutALookup) {
  FHistory* w = openDocked({"one", "two"});
  HistoryItem* item = w->items()[0];
  w->itemMouseMove(item);
  EXPECT_TRUE(item->isMarked() && item->font().bold() && item->autoFillBackground());
  EXPECT_EQ(item->palette().color(QPalette::Window), toQColor(host.colorsValue.markedItem));
  EXPECT_TRUE(host.popup->isVisible());
  EXPECT_EQ(host.searchBox, "two");
  host.hit = true;
  w->itemMouseLeave(item);
  EXPECT_FALSE(item->isMarked() || item->font().bold() || item->autoFillBackground());
  EXPECT_FALSE(host.hit);
  EXPECT_FALSE(host.popup->isVisible());

  const std::string file = readFile(host.list.path());
  item = w->items()[1];
  const QPoint at = item->mapToGlobal(QPoint(5, 5));
  sendMouse(item, QEvent::MouseButtonPress, at, Qt::LeftButton);
  EXPECT_NE(host.searchBox, "one") << "chosen on the release";
  sendMouse(item, QEvent::MouseButtonRelease, at, Qt::NoButton);
  EXPECT_EQ(w->lastWord(), "one");
  EXPECT_EQ(host.searchBox, "one");
  EXPECT_EQ(host.pane.toPlainText(), "one translation of one");
  EXPECT_EQ(host.records + host.lookupShows, 0);
  EXPECT_EQ(readFile(host.list.path()), file);
}

TEST_F(HistoryWindowTest, PopupMenuCaptionsAndCommands) {
  FHistory* w = openDocked({"pear", "Apple", "banana"});
  const QList<QAction*> actions = w->popupMenu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_EQ(actions[0]->text(), "Show/Hide main window");
  EXPECT_EQ(actions[1]->text(), "Short by name");
  EXPECT_EQ(actions[2]->text(), "Close");

  actions[0]->trigger();
  EXPECT_EQ(host.minimizes, 1);
  w->mainWindowMinimized();
  EXPECT_EQ(actions[0]->text(), "Show main window");
  actions[0]->trigger();
  EXPECT_EQ(host.mainShows, 1);
  EXPECT_FALSE(host.hidden);

  // Sorting reorders the items, not the file; the mark follows its word.
  const std::string file = readFile(host.list.path());
  w->markItem(w->items()[2]);  // " pear"
  actions[1]->trigger();
  EXPECT_EQ(host.itemTexts(), (std::vector<std::string>{" Apple", " banana", " pear"}));
  EXPECT_FALSE(w->items()[0]->isMarked());
  EXPECT_TRUE(w->items()[2]->isMarked());
  EXPECT_EQ(readFile(host.list.path()), file);
  host.list.AddToHistory("cherry", "cherry ceri");
  EXPECT_EQ(readFile(host.list.path()),
            crlfJoin({"Apple=Apple translation of Apple", "banana=banana translation of banana",
                      "pear=pear translation of pear", "cherry=cherry ceri"}));

  actions[2]->trigger();  // the History command: slide out
  EXPECT_TRUE(w->closeRequested());
}

TEST_F(HistoryWindowTest, DraggingTheTitleMovesTheWindowThroughTheSnapRule) {
  FHistory* w = openDocked({"one"});
  QLabel* title = w->title();
  const QPoint grab = title->mapToGlobal(QPoint(5, 5));
  const int y = w->y();
  sendMouse(title, QEvent::MouseButtonPress, grab, Qt::LeftButton);
  sendMouse(title, QEvent::MouseMove, grab - QPoint(600, 100), Qt::LeftButton);
  EXPECT_EQ(w->pos(), QPoint(1216 - 600, y - 100));
  sendMouse(title, QEvent::MouseMove, grab - QPoint(1210, 0), Qt::LeftButton);  // 6 from the edge
  EXPECT_EQ(w->x(), 0);
  sendMouse(title, QEvent::MouseButtonRelease, grab - QPoint(1210, 0), Qt::NoButton);
  sendMouse(title, QEvent::MouseMove, grab, Qt::NoButton);
  EXPECT_EQ(w->x(), 0) << "no drag after the release";
}

TEST_F(HistoryWindowTest, ClosingDetachesFromTheHistory) {
  openDocked({"one"})->close();
  EXPECT_EQ(host.closes, 1);
  EXPECT_EQ(host.list.AddToHistory("two", "two dua"), HistoryList::AddResult::kAppended);
  EXPECT_FALSE(host.popup->isVisible()) << "a word recorded after the close reaches no window";
}

}  // namespace
}  // namespace tavro2::test
