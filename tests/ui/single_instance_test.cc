#include "ui/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>

#include <future>

#include "ui/run_window.h"
#include "ui_test_util.h"

namespace tavro2 {
namespace {

QString uniqueName() {
  static int n = 0;
  return instanceServerName("single-instance-test\n" + std::to_string(::getpid()) + "-" +
                            std::to_string(++n));
}

// The client blocks until the server answers, so it runs on its own thread while this one serves.
std::future<bool> handOver(const QString& name, const QString& word) {
  return std::async(std::launch::async, [name, word] { return handToRunningInstance(name, word); });
}

TEST(SingleInstanceTest, SecondServerOnTheSamePlaceLosesAndHandsItsWordOver) {
  const QString name = uniqueName();
  EXPECT_FALSE(handToRunningInstance(name, "bank", 200)) << "nobody listens yet";
  InstanceServer first, second;
  ASSERT_TRUE(first.listen(name));
  EXPECT_FALSE(second.listen(name)) << "a live window keeps its place";

  QSignalSpy activated(&first, &InstanceServer::activated);
  auto answered = handOver(name, "rumah");
  ASSERT_TRUE(activated.wait(5000));
  EXPECT_EQ(activated.at(0).at(0).toString(), "rumah");
  EXPECT_TRUE(answered.get());

  // Other places are other windows.
  InstanceServer elsewhere;
  EXPECT_TRUE(elsewhere.listen(uniqueName()));
  EXPECT_NE(instanceServerName("a\nb"), instanceServerName("a\nc"));
  // A window that died leaves its socket file with nobody listening: taken over.
  test::TempDir dir;
  const std::string path = dir.file("socket");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(test::fileExists(path));
  InstanceServer next;
  EXPECT_TRUE(next.listen(QString::fromStdString(path)));
}

TEST(SingleInstanceTest, BringForwardShowsTheWindowAndLooksTheWordUp) {
  test::TempDir dir;
  test::writeDictionary(dir);
  MainWindow window(dir.path());
  window.showMinimized();
  bringForward(window, "hello");
  EXPECT_TRUE(!window.isMinimized() && window.isVisible());
  EXPECT_EQ(test::searchBoxOf(window)->text(), "hello");
}

}  // namespace
}  // namespace tavro2
