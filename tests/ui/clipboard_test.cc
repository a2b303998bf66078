// PollClipboard over a scripted clipboard, and clipboard text to Windows-1252.

#include <optional>

#include "fake_history_host.h"
#include "ui/clipboard_monitor.h"
#include "ui_test_util.h"

namespace tavro2::test {
namespace {

// The 8-bit clipboard format ends at a NUL (the characters: FormatAdapterTest).
TEST(ClipboardTextTest, EndsAtANul) {
  EXPECT_EQ(clipboardTextTo1252(QString::fromUtf16(u"\u00e9b\0cd", 5)), "\xE9" "b");
}

struct ScriptedClipboard {
  explicit ScriptedClipboard(bool autoRemAlpha = true) {
    host.store.publish(DataKind::kEnglish, splitLines(crlfJoin({"can", "can't", "hello", "walk"})),
                       splitLines(crlfJoin({"dapat", "tidak dapat", "halo", "berjalan"})),
                       LoadState::kLoaded);
    host.settingsValue.AutoRemAlpha = autoRemAlpha;
    LookupSettings settings;
    settings.AutoRemAlpha = autoRemAlpha;
    host.lookupState.setSettings(settings);
  }
  // nullopt: no text at all.
  void copy(const std::optional<std::string>& text) {
    copy(ClipboardReading{text.has_value(), text.value_or(""), false});
  }
  void copy(ClipboardReading reading) {
    clip = std::move(reading);
    monitor.markChanged();
    monitor.pollClipboard();
  }

  FakeHistoryHost host;
  ClipboardReading clip;
  ClipboardMonitor monitor{host, [this](SelectionDone done) { done(clip); }, true};
};

class ClipboardTest : public ::testing::Test, public ScriptedClipboard {};

TEST(ClipboardPollTest, AcceptanceRules) {
  const std::string a32(32, 'a'), b33(33, 'b'), c32(32, 'c');
  const struct {  // search: the search box; last: the last accepted text
    const char* name; bool autoRemAlpha; std::vector<std::optional<std::string>> copies;
    std::string search, last; int shows; bool hit; std::vector<std::string> history;
  } cases[] = {
      {"found", true, {"  Hello\r\n"}, "hello", "hello", 1, true, {"hello=hello halo"}},
      {"same text twice", true, {"hello", "HELLO ", "HELLO "}, "hello", "hello", 1, true,
       {"hello=hello halo"}},
      {"same text after another", true, {"hello", "walk", "hello"}, "hello", "hello", 3, true,
       {"hello=hello halo", "walk=walk berjalan"}},
      {"32 then 33 characters", true, {" " + a32 + " ", b33, b33}, a32, a32, 1, false, {}},
      {"32 letters after filtering", true, {c32 + "!"}, c32, c32 + "!", 1, false, {}},
      {"filtered", true, {"'Can't!"}, "can't", "'can't!", 1, true, {"can't=can't tidak dapat"}},
      {"not filtered", false, {"'Can't!"}, "'can't!", "'can't!", 1, false, {}},
      {"33 characters with a kept hyphen", true, {"hello", c32.substr(1) + "-c"}, "hello", "hello",
       1, true, {"hello=hello halo"}},
      {"spaces only", true, {"hello", "    "}, "", "", 2, true, {"hello=hello halo"}},
      {"punctuation only", true, {"hello", "12!?-"}, "", "12!?-", 2, true, {"hello=hello halo"}},
      // No text: only the hit flag changes; the same text after it is ignored.
      {"no text", true, {"hello", std::nullopt, "hello"}, "hello", "hello", 1, false,
       {"hello=hello halo"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedClipboard s(c.autoRemAlpha);
    for (const auto& text : c.copies) s.copy(text);
    EXPECT_EQ((std::vector<std::string>{s.host.searchBox, s.monitor.lastClipboardText()}),
              (std::vector<std::string>{c.search, c.last}));
    EXPECT_EQ(std::make_pair(s.host.lookupShows, s.host.clipboardHit()), std::make_pair(c.shows, c.hit));
    EXPECT_EQ(readFile(s.host.list.path()), crlfJoin(c.history));
    EXPECT_TRUE(!c.search.empty() || s.host.lookupState.statusText() == " not found");
  }
}

TEST_F(ClipboardTest, ReadsOnlyWhileTheButtonIsDownAndAfterAChangeWhereSignalled) {
  host.buttonDown = false;
  copy("hello");
  EXPECT_EQ(monitor.readCount() + host.lookupShows, 0);
  host.buttonDown = true;
  for (int i = 0; i < 10; ++i) monitor.pollClipboard();
  EXPECT_EQ(monitor.readCount(), 1);
  clip = {true, "walk"};  // changed without a signal: not seen yet
  monitor.pollClipboard();
  EXPECT_EQ(host.searchBox, "hello");
  copy("walk");
  EXPECT_EQ(monitor.readCount(), 2);
  EXPECT_EQ(host.searchBox, "walk");
}

TEST_F(ClipboardTest, OneReadAtATimeAndEachReadingJudgedOnce) {
  std::vector<SelectionDone> late;  // answered when the test says, as by an owner elsewhere
  ClipboardMonitor async(host, [&](SelectionDone done) { late.push_back(std::move(done)); }, true);
  auto answer = [&late](ClipboardReading reading) {
    ASSERT_EQ(late.size(), 1u);
    SelectionDone done = std::move(late.back());
    late.clear();
    done(std::move(reading));
  };
  async.pollClipboard();
  async.markChanged();  // changed again while the owner has not answered
  for (int i = 0; i < 5; ++i) async.pollClipboard();
  answer({true, "hello"});  // looked up as soon as it arrives
  EXPECT_EQ(host.searchBox, "hello");
  async.pollClipboard();  // the change seen during the read: read again
  answer({});  // an owner that did not answer in time reads as no text
  EXPECT_FALSE(host.clipboardHit());

  // A long text left on the clipboard is judged once, not at every tick,
  // and again when the setting it was judged under changes.
  copy(std::string(1 << 20, 'x') + "!");
  const int judged = monitor.judgeCount();
  for (int i = 0; i < 100; ++i) monitor.pollClipboard();
  EXPECT_EQ(monitor.judgeCount(), judged);
  host.settingsValue.AutoRemAlpha = false;
  monitor.pollClipboard();
  EXPECT_EQ(monitor.judgeCount(), judged + 1);
  copy(std::string(1 << 20, ' ') + "Walk\t");  // long, but a word once trimmed
  EXPECT_EQ(host.searchBox, "walk");
  copy(ClipboardReading{true, "can", true});  // cut at the size limit: never a word
  EXPECT_EQ(host.searchBox, "walk");
  // Selected text, once settled, is looked up near the pointer.
  ClipboardMonitor selection(host, [this](SelectionDone done) { done(clip); }, true,
                             SelectionKind::kPrimary);
  clip = {true, "hello"};
  selection.markChanged();
  selection.pollClipboard();
  EXPECT_EQ(selection.readCount(), 0) << "off by default";
  host.settingsValue.UseSelection = true;
  selection.pollClipboard();
  EXPECT_EQ(selection.readCount(), 0) << "selected while off: not new";
  for (const char* step : {"h", "hel", "hello"}) {  // a drag: one change per step
    clip = {true, step};
    selection.markChanged();
    selection.pollClipboard();
  }
  EXPECT_EQ(selection.readCount(), 0);
  for (int tick = 1; tick < ClipboardMonitor::kSettleTicks; ++tick) selection.pollClipboard();
  EXPECT_EQ(selection.readCount(), 1);
  EXPECT_EQ((std::vector<std::string>{host.searchBox, host.list.lines().at(0)}),
            (std::vector<std::string>{"hello", "hello=hello halo"}));
  EXPECT_TRUE(host.clipboardHit() && host.definitionPopup()->isVisible());
}

// A copied word found through its base form is shown and recorded as the
// base; with the History window closed the popup shows it at the pointer.
TEST_F(ClipboardTest, ABaseFormIsRecordedAsTheBaseAndPopsUpAtThePointer) {
  copy("walked");
  EXPECT_EQ(std::tuple(host.lookupState.mainWords().line(0), host.searchBox, host.lookupShows,
                       host.records, host.list.lines().at(0), host.clipboardHit()),
            std::tuple("walk", "walk", 1, 1, "walk=walk berjalan", true));
  EXPECT_TRUE(host.definitionPopup()->isVisible());
  EXPECT_EQ(host.definitionPopup()->word(), "walk");
  const QPoint at = host.definitionPopup()->pos() - host.places.pointer;
  EXPECT_TRUE(at.x() > 0 && at.y() > 0 && at.x() < 40 && at.y() < 40) << at.x() << "," << at.y();
  // With the pointer on the main window, which shows the entry, no popup.
  host.definitionPopup()->hideNow();
  host.mainArea = QRect(500, 300, 352, 435);
  copy("walk");
  EXPECT_EQ(host.searchBox, "walk");
  EXPECT_FALSE(host.definitionPopup()->isVisible());
}

}  // namespace
}  // namespace tavro2::test
