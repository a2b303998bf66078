// Pronounce: Ctrl+P, the menu and the popup's menu speak the shown entry's
// headword in its language, made off the window's thread; what is missing is
// said once.
#ifdef TAVRO2_HAVE_SOUND

#include <QAudioDevice>
#include <QMenu>
#include <QTimer>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "engine/lookup_state.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/pronouncer.h"
#include "ui_test_util.h"

namespace tavro2::test {
namespace {

using Asked = std::vector<std::pair<std::string, SpeechLanguage>>;
constexpr auto kEnglish = SpeechLanguage::kEnglish;
constexpr auto kIndonesian = SpeechLanguage::kIndonesian;

TEST(PronounceTest, SpeaksTheShownEntryOffTheWindowThreadAndSaysOnceThatNoDeviceIsThere) {
  LoadedWindow w("", crlfJoin({"halo=halo hello; salam"}));
  ASSERT_TRUE(w.loaded);
  MainWindow& window = *w.window;
  QApplication::setActiveWindow(&window);
  searchBoxOf(window)->setFocus();
  Pronouncer& pronouncer = window.pronouncer();
  pronouncer.setOutputDevice([] { return QAudioDevice(); });  // whatever this machine has
  // The synthesis of each word waits for the test, then speaks for real.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::mutex mutex;
  Asked asked;
  bool onWindowThread = false;
  const std::thread::id windowThread = std::this_thread::get_id();
  pronouncer.setSynthesizer([&](const std::string& word, SpeechLanguage language) {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      asked.emplace_back(word, language);
      onWindowThread = onWindowThread || std::this_thread::get_id() == windowThread;
    }
    released.wait_for(std::chrono::seconds(20));
    return synthesize(word, language);
  });
  QSignalSpy started(&pronouncer, &Pronouncer::synthesisStarted);
  QSignalSpy finished(&pronouncer, &Pronouncer::finished);
  QSignalSpy status(&window, &MainWindow::statusChanged);
  auto ctrlP = [&] { QTest::keyClick(searchBoxOf(window), Qt::Key_P, Qt::ControlModifier); };

  ctrlP();  // no entry shown: nothing to speak
  searchFor(window, "run");
  ctrlP();
  ASSERT_TRUE(started.wait(10000));
  // The window goes on while the word is made.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(1);
  EXPECT_TRUE(processEventsUntil([&] { return ticks >= 3; }, 10000));
  EXPECT_EQ(finished.count(), 0);
  // A second press (here from the popup's menu) overtakes the word being made.
  searchFor(window, "lari");
  const std::unique_ptr<QMenu> menu = w.host->definitionPopup()->createContextMenu({});
  auto* action = menu->findChild<QAction*>("pronounceAction");
  ASSERT_NE(action, nullptr);
  action->trigger();
  release.set_value();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_TRUE(processEventsUntil([&] { return started.count() == 2; }, 10000));
  EXPECT_EQ(finished.count(), 1);  // the overtaken word is not played
  // A history entry names no side: "halo" is an Indonesian headword only.
  w.host->showHistoryEntry("halo", "halo");
  ctrlP();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(asked, (Asked{{"run", kEnglish}, {"lari", kIndonesian}, {"halo", kIndonesian}}));
  EXPECT_FALSE(onWindowThread);
  int noDevice = 0;
  for (const QList<QVariant>& call : status)
    noDevice += call.at(0).toString() == " No sound device: Pronounce cannot play";
  EXPECT_EQ(noDevice, 1);
  // The menu holds the command with its key; a suggestion shown is no entry.
  QStringList captions;
  for (const QAction* a : child<QMenu>(window, "popupMenu")->actions()) captions << a->text();
  EXPECT_TRUE(captions.contains("Pronounce\tCtrl+P"));
  searchFor(window, "rnu");
  EXPECT_EQ(window.lookup().shownHeadword(), "");
  EXPECT_EQ(w.host->definitionPopup()->createContextMenu({})->findChild<QAction*>("pronounceAction"),
            nullptr);
}

// A missing voice is said once for its language, and nothing plays.
TEST(PronounceTest, AMissingVoiceIsSaidOnce) {
  Pronouncer pronouncer;
  pronouncer.setSynthesizer([](const std::string&, SpeechLanguage) {
    SpokenWord none;
    none.outcome = SpokenWord::Outcome::kNoVoice;
    return none;
  });
  QSignalSpy problems(&pronouncer, &Pronouncer::problem);
  QSignalSpy finished(&pronouncer, &Pronouncer::finished);
  for (int i = 0; i < 2; ++i) {
    pronouncer.pronounce("rumah", kIndonesian);
    ASSERT_TRUE(finished.wait(10000));
  }
  ASSERT_EQ(problems.count(), 1);
  EXPECT_EQ(problems.at(0).at(0).toString(), " No voice for Indonesian");
  EXPECT_FALSE(pronouncer.playing());
}

}  // namespace
}  // namespace tavro2::test

#endif
