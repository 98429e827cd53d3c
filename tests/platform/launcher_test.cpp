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

// Started processes run on their own: wait until their work shows.
bool WaitForFile(const QString& path) {
  for (int waited = 0; waited < kWaitMs && !QFile::exists(path); waited += 20) QThread::msleep(20);
  return QFile::exists(path);
}

class LaunchCommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Dir() const { return dir_.path().toStdString(); }
  QStringList Entries() const {
    return QDir(dir_.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
  }

  QTemporaryDir dir_;
  OpenRecorder open_;
};

TEST_F(LaunchCommandLineTest, QuotedArgumentsReachTheProgramWhole) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("dir with space"));
  EXPECT_TRUE(LaunchCommandLine("touch \"" + Dir() + "/dir with space/marker\""));
  EXPECT_TRUE(WaitForFile(dir_.path() + "/dir with space/marker"));
  const QString out = dir_.path() + "/out file";
  EXPECT_TRUE(LaunchCommandLine("sh -c \"echo launched > '" + out.toStdString() + "'\""));
  ASSERT_TRUE(WaitForFile(out));
  QByteArray content;  // the file may exist a moment before echo has written into it
  for (int waited = 0; waited < kWaitMs && content.isEmpty(); waited += 20) {
    QFile file(out);
    if (file.open(QIODevice::ReadOnly)) content = file.readAll();
    if (content.isEmpty()) QThread::msleep(20);
  }
  EXPECT_EQ(content, "launched\n");
  EXPECT_EQ(Entries(), (QStringList{"dir with space", "out file"}));
  EXPECT_TRUE(open_.targets.empty());
}

// No shell ever sees the line: what a shell would act on stays part of a file name. The line
// is Windows-1252 ("M\xFCller" is "Müller") while the file system wants UTF-8.
TEST_F(LaunchCommandLineTest, ShellCharactersStayLiteralAndTheLineIsWindows1252) {
  QStringList expected;
  for (const char* name :
       {"a;b", "c|d", "e&f", "g>h", "i$(id)", "j`id`", "k$HOME", "l*", "m<n", "o#p", "M\xFCller"}) {
    expected << QString::fromLatin1(name);
    EXPECT_TRUE(LaunchCommandLine("touch " + Dir() + "/" + name));
    EXPECT_TRUE(WaitForFile(dir_.path() + "/" + expected.back())) << name;
  }
  expected.sort();
  EXPECT_EQ(Entries(), expected);
}

TEST_F(LaunchCommandLineTest, WhatIsNoProgramGoesToOpenWithTheWholeLine) {
  const std::string missing = "  numvex-no-such-program \"some file.txt\" --flag";
  EXPECT_TRUE(LaunchCommandLine(missing));
  EXPECT_TRUE(LaunchCommandLine(Dir()));  // a folder is no program either
  EXPECT_EQ(open_.targets, (std::vector<std::string>{missing, Dir()}));
}

TEST(LaunchCommandLineFailureTest, FailingOpenIsReportedQuietlyAndBlankLinesDoNothing) {
  OpenRecorder refusing(false);
  EXPECT_FALSE(LaunchCommandLine("numvex-no-such-program"));
  for (const char* line : {"", " ", "\t  ", "\r\n"}) {
    EXPECT_FALSE(LaunchCommandLine(line)) << "[" << line << "]";
  }
  EXPECT_EQ(refusing.targets, std::vector<std::string>{"numvex-no-such-program"});
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
