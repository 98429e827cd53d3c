#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/processes.h"

namespace numvex {
namespace {

using testing::kWaitMs;

// A program instance in a process of its own, with its runtime folder set to `folder`.
class Instance {
 public:
  explicit Instance(const QString& folder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", folder);
    process_.setProcessEnvironment(env);
    process_.start(NUMVEX_PROBE, {"lock"});
  }
  ~Instance() { End(); }
  // "first holding" or "second holding", once it has decided.
  std::string Verdict() {
    testing::WaitUntil([this] { return process_.canReadLine() || !process_.isOpen(); });
    if (verdict_.empty()) verdict_ = process_.readLine().trimmed().toStdString();
    return verdict_;
  }
  void End() {
    process_.closeWriteChannel();
    process_.waitForFinished(kWaitMs);
  }
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
  std::string Verdict() { return Instance(dir_.path()).Verdict(); }
  QTemporaryDir dir_;
  const std::string folder_ = dir_.path().toStdString();
};

// Whoever starts while any instance runs is second, whatever came before; a crashed
// instance and the file it leaves behind do not count.
TEST_F(InstanceLockTest, FirstOnlyWhileNoInstanceRuns) {
  Instance a(dir_.path());
  EXPECT_EQ(a.Verdict(), "first holding");
  EXPECT_TRUE(QFile::exists(dir_.path() + "/" + kInstanceLockName));
  Instance b(dir_.path());
  ASSERT_EQ(b.Verdict(), "second holding");
  a.End();
  EXPECT_EQ(Verdict(), "second holding");
  b.Crash();
  EXPECT_EQ(Verdict(), "first holding");
}

TEST_F(InstanceLockTest, ExactlyOneOfManySimultaneousStartsIsFirst) {
  std::vector<std::unique_ptr<Instance>> instances;
  for (int i = 0; i < 12; ++i) instances.push_back(std::make_unique<Instance>(dir_.path()));
  std::vector<std::string> verdicts;
  for (auto& instance : instances) verdicts.push_back(instance->Verdict());
  EXPECT_EQ(std::count(verdicts.begin(), verdicts.end(), "first holding"), 1);
  EXPECT_EQ(std::count(verdicts.begin(), verdicts.end(), "second holding"), 11);
}

// The lock is the object's, seen by a second object in this process too; it goes with the
// object, and a program the instance started does not keep it.
TEST_F(InstanceLockTest, LockLivesAsLongAsTheObject) {
  QProcess child;
  {
    InstanceLock first(folder_, kInstanceLockName), second(folder_, kInstanceLockName);
    EXPECT_TRUE(first.FirstInstance() && first.Holding());
    EXPECT_TRUE(!second.FirstInstance() && second.Holding());
    EXPECT_EQ(Verdict(), "second holding");
    child.start("cat", {});  // lives until its stdin closes
    ASSERT_TRUE(child.waitForStarted(kWaitMs));
  }
  EXPECT_EQ(Verdict(), "first holding");
  child.closeWriteChannel();
  child.waitForFinished(kWaitMs);
  for (const std::string& unusable : {folder_ + "/missing", std::string()}) {
    InstanceLock lock(unusable, kInstanceLockName);
    EXPECT_TRUE(lock.FirstInstance() && !lock.Holding()) << unusable;
  }
}

unsigned Mode(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && st.st_uid == geteuid() ? st.st_mode & (S_IFMT | 07777)
                                                                 : 0;
}

// The runtime folder when it is an absolute path to a folder, else a private one in /tmp,
// made or tightened to 0700 when it is ours and refused when it is a link or a file.
TEST(InstanceLockFolderTest, RuntimeFolderOrAPrivateFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string base = dir.path().toStdString(), saved = qgetenv("XDG_RUNTIME_DIR").data();
  const std::string tmp = "/tmp/numvex-" + std::to_string(geteuid());
  for (const std::string& runtime : {base, std::string(), std::string("run/user"), base + "/no"}) {
    qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    EXPECT_EQ(InstanceLockFolder(), runtime == base ? base : tmp) << runtime;
  }
  qputenv("XDG_RUNTIME_DIR", saved.c_str());
  EXPECT_EQ(Mode(tmp), S_IFDIR | 0700u);
  ASSERT_EQ(mkdir((base + "/open").c_str(), 0777), 0);
  ASSERT_EQ(chmod((base + "/open").c_str(), 0777), 0);
  ASSERT_EQ(symlink((base + "/open").c_str(), (base + "/link").c_str()), 0);
  std::ofstream(base + "/file") << "x";
  const bool root = geteuid() == 0;  // only root can give a folder away
  if (root) {
    ASSERT_EQ(mkdir((base + "/foreign").c_str(), 0700), 0);
    ASSERT_EQ(chown((base + "/foreign").c_str(), 65534, 65534), 0);
  }
  // clang-format off
  for (const auto& [name, ours] : {std::pair{"/new", true}, {"/open", true}, {"/link", false},
                                   {"/file", false}, {"/foreign", !root}}) {
    // clang-format on
    EXPECT_EQ(PrivateFolder(base + name), ours ? base + name : "") << name;
    if (ours) {
      EXPECT_EQ(Mode(base + name), S_IFDIR | 0700u) << name;
    }
  }
}

}  // namespace
}  // namespace numvex
