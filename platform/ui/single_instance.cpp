#include "platform/ui/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {
const char kActivate[] = "activate\n";
const int kWaitMs = 2000;
}  // namespace

CSingleInstance::CSingleInstance(const QString& title, QObject* parent)
    : QObject(parent), m_path(SocketPath(title)) {}

CSingleInstance::~CSingleInstance() {
  if (m_server) m_server->close();
}

QString CSingleInstance::SocketPath(const QString& title) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return QDir(runtime).filePath(title);
  return QDir(QDir::tempPath()).filePath(title + QStringLiteral("-%1").arg(getuid()));
}

bool CSingleInstance::IsListening() const { return m_server && m_server->isListening(); }

bool CSingleInstance::Knock() {
  QLocalSocket socket;
  socket.connectToServer(m_path);
  if (!socket.waitForConnected(kWaitMs)) return false;
  socket.write(kActivate);
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool CSingleInstance::Claim() {
  if (IsListening()) return true;
  // Two starts at the same moment take turns here.
  QLockFile lock(m_path + QStringLiteral(".lock"));
  lock.setStaleLockTime(10000);
  lock.tryLock(5000);
  if (Knock()) return false;
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::Accept);
  if (m_server->listen(m_path)) return true;
  // Nobody answered: the socket was left behind by an instance that ended.
  // Should listening still fail, this start runs on its own all the same.
  QLocalServer::removeServer(m_path);
  m_server->listen(m_path);
  return true;
}

void CSingleInstance::Accept() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto read = [this, socket] {
      if (socket->readAll().contains("activate") && onActivate) onActivate();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    if (socket->bytesAvailable() > 0) read();
  }
}
