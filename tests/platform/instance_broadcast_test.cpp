#include "platform/instance_broadcast.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <utility>

#include "common/processes.h"

namespace numvex {
namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

TEST(InstanceBroadcastTest, ReachesEveryListenerAndClearsWhatNobodyListensOn) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = dir.path();
  EXPECT_FALSE(InstanceBroadcast(folder + "/missing").Listen());
  InstanceBroadcast first(folder);
  auto second = std::make_unique<InstanceBroadcast>(folder);
  ASSERT_TRUE(first.Listen());
  ASSERT_TRUE(second->Listen());
  QSignalSpy first_spy(&first, &InstanceBroadcast::received);
  QSignalSpy second_spy(second.get(), &InstanceBroadcast::received);
  auto counts_at = [&](int n) {
    testing::WaitUntil([&] { return std::min(first_spy.size(), second_spy.size()) >= n; });
    return std::pair<int, int>(first_spy.size(), second_spy.size());
  };
  const QStringList live = Entries(folder);
  ASSERT_EQ(live.size(), 2);
  // Near misses count for nothing. Written at once before a real message, they are read in
  // one go with it, so any count for them shows when the real one does.
  for (const QString& name : live) {
    QLocalSocket socket;
    socket.connectToServer(folder + "/" + name);
    ASSERT_TRUE(socket.waitForConnected(testing::kWaitMs));
    socket.write("Numvex: Broadcast \nnumvex: broadcast\nNumvex: Broadcast\n");
    ASSERT_TRUE(socket.waitForBytesWritten(testing::kWaitMs));
  }
  EXPECT_EQ(counts_at(1), std::pair(1, 1));

  QFile(folder + "/left-over").open(QIODevice::WriteOnly);
  // A socket nobody listens on: a second name for a server's socket, kept after it closed.
  QLocalServer gone;
  ASSERT_TRUE(gone.listen(folder + "/gone") &&
              link(qPrintable(gone.fullServerName()), qPrintable(folder + "/dead")) == 0);
  gone.close();
  InstanceBroadcast::Post(folder);
  EXPECT_EQ(counts_at(2), std::pair(2, 2));
  EXPECT_EQ(Entries(folder), live);
  second.reset();
  EXPECT_EQ(Entries(folder).size(), 1);
}

}  // namespace
}  // namespace numvex
