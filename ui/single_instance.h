// One window per storage place.
//
// The first window started on a set of settings and history files listens on
// a local socket whose name is derived from those files' places. A later
// start on the same places connects, sends one line (the word to look up,
// UTF-8, possibly empty) and waits for the line "ok": the running window then
// raises itself and looks the word up, and the later start exits. Two windows
// on the same files would otherwise rewrite each other's history and
// settings.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QLocalServer;

namespace tavro2 {

// The socket name for a storage identity: private to the user (their uid is
// part of it), under $XDG_RUNTIME_DIR when that is set.
QString instanceServerName(const std::string& identity);

// Hands `word` to the window listening on `serverName`. True when one took
// it (answered "ok") within `timeoutMs`; false when none listens.
bool handToRunningInstance(const QString& serverName, const QString& word, int timeoutMs = 3000);

class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(QObject* parent = nullptr);
  ~InstanceServer() override;

  // Starts listening. A socket left by a window that crashed is removed
  // first. False when another live window already listens there.
  bool listen(const QString& serverName);

 signals:
  // A later start asked this window to come forward and look `word` up
  // (empty: only come forward).
  void activated(const QString& word);

 private:
  void onNewConnection();

  QLocalServer* server_ = nullptr;
};

}  // namespace tavro2
