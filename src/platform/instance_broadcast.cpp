#include "platform/instance_broadcast.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/instance_lock.h"

#ifdef _WIN32
#include <windows.h>

#include <QAbstractNativeEventFilter>

#include "platform/broadcast_win.h"
#endif

namespace numvex {

#ifdef _WIN32
// Takes the registered message out of the messages of the application's windows. A post
// reaches each top-level window of the program, so one post may be received more than once;
// what the window does on it (leave the tray, close while hidden) comes to the same.
class BroadcastFilter final : public QAbstractNativeEventFilter {
 public:
  explicit BroadcastFilter(InstanceBroadcast* owner) : owner_(owner), id_(BroadcastMessageId()) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (id_ == 0 || type != "windows_generic_MSG" ||
        static_cast<const MSG*>(message)->message != id_) {
      return false;
    }
    emit owner_->received();
    return true;
  }

 private:
  InstanceBroadcast* owner_;
  UINT id_;
};
#endif

namespace {

constexpr char kMessage[] = "Numvex: Broadcast\n";
constexpr int kLineLimit = 256;  // longer than any message; more is not one of ours
constexpr int kTimeoutMs = 1000;

}  // namespace

QString InstanceBroadcast::DefaultFolder() {
  const std::string base = InstanceLockFolder();
  if (base.empty()) return QString();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const bool in_runtime = runtime != nullptr && base == runtime;
  return QFile::decodeName(
      PrivateFolder(base + (in_runtime ? "/numvex-broadcast" : "/broadcast")).c_str());
}

InstanceBroadcast::InstanceBroadcast(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
      // What arrived just before the sender went away still counts.
      connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        Read(socket);
        socket->deleteLater();
      });
    }
  });
}

InstanceBroadcast::~InstanceBroadcast() {
#ifdef _WIN32
  if (filter_ != nullptr) QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
#endif
  // Closing the open connections must report nothing to an object half gone.
  for (QLocalSocket* socket : server_.findChildren<QLocalSocket*>()) socket->disconnect(this);
  server_.close();
}

bool InstanceBroadcast::Listen() {
#ifdef _WIN32
  if (filter_ == nullptr) {
    filter_ = std::make_unique<BroadcastFilter>(this);
    QCoreApplication::instance()->installNativeEventFilter(filter_.get());
  }
  return BroadcastMessageId() != 0;
#endif
  if (folder_.isEmpty()) return false;
  if (server_.isListening()) return true;
  // The socket is reachable by this user only; the name just has to be unique in the folder.
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  const QString name = QStringLiteral("%1/%2-%3")
                           .arg(folder_)
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
  return server_.listen(name);
}

void InstanceBroadcast::Read(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    if (socket->readLine(kLineLimit) == kMessage) emit received();
  }
  if (socket->bytesAvailable() >= kLineLimit) socket->abort();
}

void InstanceBroadcast::Post(const QString& folder) {
#ifdef _WIN32
  Q_UNUSED(folder);
  PostBroadcastMessage();
  return;
#endif
  if (folder.isEmpty()) return;
  // Sockets and anything else left in the folder; Qt's temporary folders of an instance
  // starting to listen are folders and so not among them.
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::Hidden);
  for (const QFileInfo& entry : entries) {
    QLocalSocket socket;
    socket.connectToServer(entry.absoluteFilePath());
    if (!socket.waitForConnected(kTimeoutMs)) {
      // Refused means nobody listens there; a timeout may just be a busy instance.
      const QLocalSocket::LocalSocketError error = socket.error();
      if (error == QLocalSocket::ConnectionRefusedError ||
          error == QLocalSocket::ServerNotFoundError) {
        QFile::remove(entry.absoluteFilePath());
      }
      continue;
    }
    socket.write(kMessage);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
  }
}

}  // namespace numvex
