#include "platform/launcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <string>
#include <vector>

namespace numvex {
namespace {

constexpr int kWaitMs = 30000;  // a safety net for a process that never runs, not a measure

// Stands in for the desktop's "open" while a test runs and records what it was given.
class OpenRecorder {
 public:
  explicit OpenRecorder(bool result = true)
      : previous_(ReplaceShellOpen([this, result](const std::string& target) {
          targets.push_back(target);
          return result;
        })) {}
  ~OpenRecorder() { ReplaceShellOpen(previous_); }

  std::vector<std::string> targets;

 private:
  ShellOpenFunction previous_;
};

// Started processes run on their own; wait until their work shows.
bool WaitForFile(const QString& path) {
  for (int waited = 0; waited < kWaitMs; waited += 20) {
    if (QFile::exists(path)) return true;
    QThread::msleep(20);
  }
  return QFile::exists(path);
}

std::string Quoted(const QString& path) { return "\"" + path.toStdString() + "\""; }

class LaunchCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Dir() const { return dir_.path(); }
  QStringList Entries() const {
    return QDir(Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  QTemporaryDir dir_;
  OpenRecorder open_;
};

TEST_F(LaunchCommandLineTest, QuotedArgumentWithBlanksIsOneArgument) {
  ASSERT_TRUE(QDir(Dir()).mkdir("dir with space"));
  const QString marker = Dir() + "/dir with space/marker";
  EXPECT_TRUE(LaunchCommandLine("touch " + Quoted(marker)));
  EXPECT_TRUE(WaitForFile(marker));
  EXPECT_EQ(Entries(), QStringList{"dir with space"});
  EXPECT_TRUE(open_.targets.empty());
}

TEST_F(LaunchCommandLineTest, ScriptArgumentReachesTheProgramWhole) {
  const QString out = Dir() + "/out file";
  const std::string line = "sh -c \"echo launched > '" + out.toStdString() + "'\"";
  EXPECT_TRUE(LaunchCommandLine(line));
  ASSERT_TRUE(WaitForFile(out));
  QFile file(out);
  // The file may exist a moment before echo has written into it.
  QByteArray content;
  for (int waited = 0; waited < kWaitMs && content.isEmpty(); waited += 20) {
    if (file.open(QIODevice::ReadOnly)) {
      content = file.readAll();
      file.close();
    }
    if (content.isEmpty()) QThread::msleep(20);
  }
  EXPECT_EQ(content, "launched\n");
}

// No shell ever sees the line: what a shell would act on stays part of a file name.
class ShellCharactersTest : public LaunchCommandLineTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(ShellCharactersTest, StayLiteralInTheArgument) {
  const QString name = QString::fromUtf8(GetParam());
  EXPECT_TRUE(LaunchCommandLine("touch " + Dir().toStdString() + "/" + GetParam()));
  ASSERT_TRUE(WaitForFile(Dir() + "/" + name));
  EXPECT_EQ(Entries(), QStringList{name});
}

INSTANTIATE_TEST_SUITE_P(Cases, ShellCharactersTest,
                         ::testing::Values("a;b", "c|d", "e&f", "g>h", "i$(id)", "j`id`", "k$HOME",
                                           "l*", "m<n", "o#p"));

TEST_F(LaunchCommandLineTest, LineIsWindows1252) {
  // "M\xFCller" is "Müller" in the document's code page; the file system wants UTF-8.
  EXPECT_TRUE(LaunchCommandLine("touch " + Dir().toStdString() + "/M\xFCller"));
  ASSERT_TRUE(WaitForFile(Dir() + QString::fromUtf8("/Müller")));
  EXPECT_EQ(Entries(), QStringList{QString::fromUtf8("Müller")});
}

TEST_F(LaunchCommandLineTest, MissingProgramGoesToOpenWithTheWholeLine) {
  const std::string line = "  numvex-no-such-program \"some file.txt\" --flag";
  EXPECT_TRUE(LaunchCommandLine(line));
  EXPECT_EQ(open_.targets, std::vector<std::string>{line});
}

TEST_F(LaunchCommandLineTest, FolderIsNotAProgramAndGoesToOpen) {
  const std::string line = Dir().toStdString();
  EXPECT_TRUE(LaunchCommandLine(line));
  EXPECT_EQ(open_.targets, std::vector<std::string>{line});
}

TEST(LaunchCommandLineFailureTest, FailingOpenIsReportedQuietly) {
  OpenRecorder refusing(false);
  EXPECT_FALSE(LaunchCommandLine("numvex-no-such-program"));
  EXPECT_EQ(refusing.targets, std::vector<std::string>{"numvex-no-such-program"});
}

TEST(LaunchCommandLineFailureTest, BlankLineDoesNothing) {
  OpenRecorder open;
  for (const char* line : {"", " ", "\t  ", "\r\n"}) {
    EXPECT_FALSE(LaunchCommandLine(line)) << "[" << line << "]";
  }
  EXPECT_TRUE(open.targets.empty());
}

TEST(ReplaceShellOpenTest, ReturnsTheReplacedOpener) {
  int calls = 0;
  ShellOpenFunction original = ReplaceShellOpen([&calls](const std::string&) {
    ++calls;
    return true;
  });
  EXPECT_TRUE(LaunchCommandLine("numvex-no-such-program"));
  ShellOpenFunction mine = ReplaceShellOpen(original);
  EXPECT_EQ(calls, 1);
  ASSERT_TRUE(mine);
  EXPECT_TRUE(mine("x"));
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace numvex
