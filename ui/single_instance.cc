#include "ui/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace tavro2 {
namespace {

// A request longer than this is not from us; the connection is dropped.
constexpr qint64 kMaxRequestBytes = 4096;

}  // namespace

QString instanceServerName(const std::string& identity) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(identity), QCryptographicHash::Sha256)
          .toHex()
          .left(16);
  const QString name =
      QStringLiteral("tavro2-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) return QDir(runtime).filePath(name);
  return name;  // QLocalServer puts it in the temporary directory
}

bool handToRunningInstance(const QString& serverName, const QString& word, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(serverName);
  if (!socket.waitForConnected(timeoutMs)) return false;
  QByteArray line = word.toUtf8();
  line.replace('\n', ' ');
  line.append('\n');
  socket.write(line);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // The answer says the window took the request; a window that is hanging
  // or dying leaves us to start our own.
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine().trimmed() == "ok";
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& serverName) {
  // Asked first: with access options Qt renames its socket into place, which
  // would silently replace a live window's.
  {
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(500)) return false;
  }
  delete server_;
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(serverName)) {
    // A socket file nobody answers on is a crashed window's: take it over.
    if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
    QLocalServer::removeServer(serverName);
    if (!server_->listen(serverName)) return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::onNewConnection);
  return true;
}

void InstanceServer::onNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
        return;
      }
      const QString word = QString::fromUtf8(socket->readLine(kMaxRequestBytes)).trimmed();
      socket->write("ok\n");
      socket->flush();
      socket->disconnectFromServer();
      emit activated(word);
    });
  }
}

}  // namespace tavro2
