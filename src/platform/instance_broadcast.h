#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

class QLocalSocket;

namespace numvex {

#ifdef _WIN32
class BroadcastFilter;
#endif

// The message every running instance receives, as a message posted to every top-level window
// would reach them: each listening instance keeps a local socket in a shared private folder,
// and a post writes one line to each of them. On Windows it is that message itself, the
// registered window message "Numvex: Broadcast" posted to HWND_BROADCAST; the folder is
// not used there.
class InstanceBroadcast : public QObject {
  Q_OBJECT

 public:
  // Folder holding one local socket per listening instance: $XDG_RUNTIME_DIR/numvex-broadcast,
  // else /tmp/numvex-<uid>/broadcast, created private (0700). Empty when there is none.
  static QString DefaultFolder();

  explicit InstanceBroadcast(QString folder = DefaultFolder(), QObject* parent = nullptr);
  ~InstanceBroadcast() override;  // stops listening, removes this instance's socket

  // Starts receiving; returns false (and receives nothing) when the socket cannot be created.
  bool Listen();

  // Sends "Numvex: Broadcast" to every listening instance in the folder, this one included;
  // sockets nobody listens on any more are removed. Never blocks for long, needs no event
  // loop, never throws.
  static void Post(const QString& folder = DefaultFolder());

 signals:
  void received();  // once per message received, in the event loop

 private:
  void Read(QLocalSocket* socket);

  QString folder_;
  QLocalServer server_;
#ifdef _WIN32
  std::unique_ptr<BroadcastFilter> filter_;  // takes the message out of the windows' messages
#endif
};

}  // namespace numvex
