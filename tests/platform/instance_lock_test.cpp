#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
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
  Holder(const QString& folder, const QString& name) : Holder(QStringList{folder, name}) {}
  ~Holder() { Release(); }

  // "first holding" or "second holding" once the helper has decided.
  std::string Verdict() {
    if (!verdict_) {
      while (!process_.canReadLine() && process_.state() != QProcess::NotRunning &&
             process_.waitForReadyRead(kWaitMs)) {
      }
      verdict_ = process_.readLine().trimmed().toStdString();
    }
    return *verdict_;
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
  std::optional<std::string> verdict_;
};

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Folder() const { return dir_.path(); }
  std::unique_ptr<Holder> Start() { return std::make_unique<Holder>(Folder(), kLockName); }

  QTemporaryDir dir_;
};

TEST_F(InstanceLockTest, FirstHolderIsFirstTheNextIsNot) {
  auto a = Start();
  EXPECT_EQ(a->Verdict(), "first holding");
  auto b = Start();
  EXPECT_EQ(b->Verdict(), "second holding");
}

TEST_F(InstanceLockTest, AnyRunningInstanceKeepsLaterOnesSecond) {
  auto a = Start();
  ASSERT_EQ(a->Verdict(), "first holding");
  auto b = Start();
  ASSERT_EQ(b->Verdict(), "second holding");
  a->Release();  // the first has gone, but b still runs
  auto c = Start();
  EXPECT_EQ(c->Verdict(), "second holding");
  b->Release();
  c->Release();
  auto d = Start();
  EXPECT_EQ(d->Verdict(), "first holding");
}

TEST_F(InstanceLockTest, CrashedHolderDoesNotCount) {
  auto a = Start();
  ASSERT_EQ(a->Verdict(), "first holding");
  a->Crash();
  ASSERT_TRUE(QFile::exists(Folder() + "/" + kLockName));
  auto b = Start();
  EXPECT_EQ(b->Verdict(), "first holding");
}

TEST_F(InstanceLockTest, LeftoverFileWithoutHolderDoesNotCount) {
  std::ofstream((Folder() + "/" + kLockName).toStdString()) << "left behind\n";
  auto a = Start();
  EXPECT_EQ(a->Verdict(), "first holding");
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

// The lock is the object's: a second object, in this process too, sees it held, and the
// lock goes with the object.
TEST_F(InstanceLockTest, LockLivesAsLongAsTheObject) {
  const std::string folder = Folder().toStdString();
  {
    InstanceLock first(folder, kLockName);
    EXPECT_TRUE(first.FirstInstance());
    EXPECT_TRUE(first.Holding());
    InstanceLock second(folder, kLockName);
    EXPECT_FALSE(second.FirstInstance());
    EXPECT_TRUE(second.Holding());
    auto other_process = Start();
    EXPECT_EQ(other_process->Verdict(), "second holding");
  }
  InstanceLock again(folder, kLockName);
  EXPECT_TRUE(again.FirstInstance());
}

TEST_F(InstanceLockTest, ProgramsStartedByAnInstanceDoNotHoldItsLock) {
  QProcess child;
  {
    InstanceLock lock(Folder().toStdString(), kLockName);
    ASSERT_TRUE(lock.FirstInstance());
    child.start("cat", QStringList{});  // lives until its stdin closes
    ASSERT_TRUE(child.waitForStarted(kWaitMs));
  }
  auto next = Start();
  EXPECT_EQ(next->Verdict(), "first holding");
  child.closeWriteChannel();
  child.waitForFinished(kWaitMs);
}

TEST_F(InstanceLockTest, UnusableFolderCountsAsFirstAndHoldsNothing) {
  InstanceLock lock((Folder() + "/missing").toStdString(), kLockName);
  EXPECT_TRUE(lock.FirstInstance());
  EXPECT_FALSE(lock.Holding());
  InstanceLock no_folder("", kLockName);
  EXPECT_TRUE(no_folder.FirstInstance());
  EXPECT_FALSE(no_folder.Holding());
}

TEST_F(InstanceLockTest, ProgramLockLivesInTheRuntimeFolder) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", Folder());
  Holder a(QStringList{}, env);
  ASSERT_EQ(a.Verdict(), "first holding");
  EXPECT_TRUE(QFile::exists(Folder() + "/" + kInstanceLockName));
  Holder b(QStringList{}, env);
  EXPECT_EQ(b.Verdict(), "second holding");
}

// Sets or clears an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string PrivateTmpFolder() { return "/tmp/numvex-" + std::to_string(geteuid()); }

TEST(InstanceLockFolderTest, RuntimeFolderWhenItExists) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ScopedEnv env("XDG_RUNTIME_DIR", dir.path().toUtf8().constData());
  EXPECT_EQ(InstanceLockFolder(), dir.path().toStdString());
}

struct UnusableRuntime {
  const char* what;
  const char* value;
};

class InstanceLockFolderFallbackTest : public ::testing::TestWithParam<UnusableRuntime> {};

TEST_P(InstanceLockFolderFallbackTest, PrivateFolderInTmp) {
  ScopedEnv env("XDG_RUNTIME_DIR", GetParam().value);
  const std::string folder = InstanceLockFolder();
  EXPECT_EQ(folder, PrivateTmpFolder());
  struct stat st;
  ASSERT_EQ(lstat(folder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstanceLockFolderFallbackTest,
    ::testing::Values(UnusableRuntime{"unset", nullptr}, UnusableRuntime{"empty", ""},
                      UnusableRuntime{"relative", "run/user"},
                      UnusableRuntime{"missing", "/nonexistent/numvex-runtime"}),
    [](const auto& info) { return std::string(info.param.what); });

class PrivateFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
  static unsigned Mode(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
  }

  QTemporaryDir dir_;
};

TEST_F(PrivateFolderTest, MissingFolderIsCreatedPrivate) {
  const std::string path = Path("new");
  EXPECT_EQ(PrivateFolder(path), path);
  EXPECT_EQ(Mode(path), 0700u);
}

TEST_F(PrivateFolderTest, OpenFolderOfOursIsTightened) {
  const std::string path = Path("open");
  ASSERT_EQ(mkdir(path.c_str(), 0777), 0);
  ASSERT_EQ(chmod(path.c_str(), 0777), 0);
  EXPECT_EQ(PrivateFolder(path), path);
  EXPECT_EQ(Mode(path), 0700u);
}

TEST_F(PrivateFolderTest, LinkOrFileIsRefused) {
  const std::string target = Path("target");
  ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
  const std::string link = Path("link");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_EQ(PrivateFolder(link), "");
  const std::string file = Path("file");
  std::ofstream(file) << "x";
  EXPECT_EQ(PrivateFolder(file), "");
}

TEST_F(PrivateFolderTest, AnotherUsersFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder away";
  const std::string path = Path("foreign");
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  EXPECT_EQ(PrivateFolder(path), "");
}

}  // namespace
}  // namespace numvex
