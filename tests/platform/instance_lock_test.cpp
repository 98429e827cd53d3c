#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace numvex {
namespace {

constexpr char kLockName[] = "test.lock";
constexpr int kWaitMs = 30000;  // a safety net for a hung helper, never a measurement

// A helper process holding the lock, like a running instance of the program.
class Holder {
 public:
  explicit Holder(const QStringList& arguments,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    process_.setProcessEnvironment(env);
    process_.start(NUMVEX_LOCK_HOLDER, arguments);
  }
  ~Holder() { Release(); }
  // "first holding" or "second holding" once the helper has decided.
  std::string Verdict() {
    if (verdict_.empty()) {
      while (!process_.canReadLine() && process_.state() != QProcess::NotRunning &&
             process_.waitForReadyRead(kWaitMs)) {
      }
      verdict_ = process_.readLine().trimmed().toStdString();
    }
    return verdict_;
  }
  // The instance ends normally.
  void Release() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    process_.waitForFinished(kWaitMs);
  }
  // The instance is killed without any chance to clean up.
  void Crash() {
    process_.kill();
    process_.waitForFinished(kWaitMs);
  }

 private:
  QProcess process_;
  std::string verdict_;
};

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Folder() const { return dir_.path(); }
  std::unique_ptr<Holder> Start() {
    return std::make_unique<Holder>(QStringList{Folder(), kLockName});
  }
  QTemporaryDir dir_;
};

TEST_F(InstanceLockTest, FirstWhileNoInstanceRunsWhateverCameBefore) {
  auto a = Start();
  EXPECT_EQ(a->Verdict(), "first holding");
  auto b = Start();
  ASSERT_EQ(b->Verdict(), "second holding");
  a->Release();  // the first has gone, but b still runs
  auto c = Start();
  EXPECT_EQ(c->Verdict(), "second holding");
  b->Release();
  c->Release();
  auto d = Start();
  EXPECT_EQ(d->Verdict(), "first holding");
  // A crashed instance and the file it leaves behind do not count.
  d->Crash();
  ASSERT_TRUE(QFile::exists(Folder() + "/" + kLockName));
  EXPECT_EQ(Start()->Verdict(), "first holding");
}

TEST_F(InstanceLockTest, ExactlyOneOfManySimultaneousStartsIsFirst) {
  std::vector<std::unique_ptr<Holder>> holders;
  for (int i = 0; i < 12; ++i) holders.push_back(Start());
  int first = 0;
  for (auto& holder : holders) {
    const std::string verdict = holder->Verdict();
    EXPECT_TRUE(verdict == "first holding" || verdict == "second holding") << verdict;
    if (verdict == "first holding") ++first;
  }
  EXPECT_EQ(first, 1);
}

// The lock is the object's: a second object, in this process too, sees it held, and the lock
// goes with the object, but not with programs the instance started.
TEST_F(InstanceLockTest, LockLivesAsLongAsTheObject) {
  const std::string folder = Folder().toStdString();
  QProcess child;
  {
    InstanceLock first(folder, kLockName);
    EXPECT_TRUE(first.FirstInstance());
    EXPECT_TRUE(first.Holding());
    InstanceLock second(folder, kLockName);
    EXPECT_FALSE(second.FirstInstance());
    EXPECT_TRUE(second.Holding());
    EXPECT_EQ(Start()->Verdict(), "second holding");
    child.start("cat", QStringList{});  // lives until its stdin closes
    ASSERT_TRUE(child.waitForStarted(kWaitMs));
  }
  EXPECT_TRUE(InstanceLock(folder, kLockName).FirstInstance());
  EXPECT_EQ(Start()->Verdict(), "first holding");
  child.closeWriteChannel();
  child.waitForFinished(kWaitMs);
}

TEST_F(InstanceLockTest, UnusableFolderCountsAsFirstAndHoldsNothing) {
  for (const QString& folder : {Folder() + "/missing", QString()}) {
    InstanceLock lock(folder.toStdString(), kLockName);
    EXPECT_TRUE(lock.FirstInstance());
    EXPECT_FALSE(lock.Holding());
  }
}

TEST_F(InstanceLockTest, ProgramLockLivesInTheRuntimeFolder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", Folder());
  Holder a({}, env);
  ASSERT_EQ(a.Verdict(), "first holding");
  EXPECT_TRUE(QFile::exists(Folder() + "/" + kInstanceLockName));
  EXPECT_EQ(Holder({}, env).Verdict(), "second holding");
}

unsigned Mode(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid() ? st.st_mode & (S_IFMT | 07777)
                                                                 : 0;
}

TEST(InstanceLockFolderTest, RuntimeFolderOrAPrivateFolderInTmp) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
  EXPECT_EQ(InstanceLockFolder(), dir.path().toStdString());
  const std::string tmp = "/tmp/numvex-" + std::to_string(geteuid());
  for (const char* unusable : {"", "run/user", "/nonexistent/numvex-runtime"}) {
    qputenv("XDG_RUNTIME_DIR", unusable);
    EXPECT_EQ(InstanceLockFolder(), tmp) << unusable;
  }
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLockFolder(), tmp);
  EXPECT_EQ(Mode(tmp), S_IFDIR | 0700u);
  qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(PrivateFolderTest, MadeOrTightenedWhenOursRefusedOtherwise) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string base = dir.path().toStdString();
  EXPECT_EQ(PrivateFolder(base + "/new"), base + "/new");
  EXPECT_EQ(Mode(base + "/new"), S_IFDIR | 0700u);
  ASSERT_EQ(mkdir((base + "/open").c_str(), 0777), 0);
  ASSERT_EQ(chmod((base + "/open").c_str(), 0777), 0);
  EXPECT_EQ(PrivateFolder(base + "/open"), base + "/open");
  EXPECT_EQ(Mode(base + "/open"), S_IFDIR | 0700u);
  ASSERT_EQ(symlink((base + "/new").c_str(), (base + "/link").c_str()), 0);
  EXPECT_EQ(PrivateFolder(base + "/link"), "");
  std::ofstream(base + "/file") << "x";
  EXPECT_EQ(PrivateFolder(base + "/file"), "");
  if (geteuid() == 0) {  // only root can give a folder away
    ASSERT_EQ(mkdir((base + "/foreign").c_str(), 0700), 0);
    ASSERT_EQ(chown((base + "/foreign").c_str(), 65534, 65534), 0);
    EXPECT_EQ(PrivateFolder(base + "/foreign"), "");
  }
}

}  // namespace
}  // namespace numvex
