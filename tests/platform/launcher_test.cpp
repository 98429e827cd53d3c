#include "platform/launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32  // the cases that start programs on Windows are in platform_win_test.cpp
#include <QDir>
#include <QTemporaryDir>

#include "common/processes.h"
#endif

namespace numvex {
namespace {

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

#ifndef _WIN32

// Programs start without a shell: what a shell would act on stays part of a file name, a
// quoted argument stays whole, and the line is Windows-1252 ("M\xFCller" is "Müller").
TEST(LaunchCommandLineTest, ProgramsGetTheirArgumentsLiterally) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  OpenRecorder open;
  QStringList expected;
  for (const char* name : {"a;b", "c|d", "e&f", "g>h", "i$(id)", "j`id`", "k$HOME", "l*", "m<n",
                           "o#p", "M\xFCller", "q r"}) {
    const std::string path = dir.path().toStdString() + "/" + name;
    EXPECT_TRUE(LaunchCommandLine("touch " + (name[1] == ' ' ? '"' + path + '"' : path)));
    expected << dir.path() + "/" + QString::fromLatin1(name);
    EXPECT_TRUE(testing::WaitUntil([&] { return QFile::exists(expected.back()); })) << name;
  }
  expected.replaceInStrings(dir.path() + "/", "").sort();
  EXPECT_EQ(QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
            expected);
  EXPECT_TRUE(open.targets.empty());
}

#endif

// What is no program, a folder too, goes to "open" as the whole line; a blank line does
// nothing; a refused "open" is reported.
TEST(LaunchCommandLineTest, TheRestGoesToOpenWithTheWholeLine) {
  const std::vector<std::string> targets{"  numvex-no-such-program \"some file.txt\" --flag",
                                         std::filesystem::temp_directory_path().string()};
  for (bool accepted : {true, false}) {
    OpenRecorder open(accepted);
    for (const std::string& line : targets) EXPECT_EQ(LaunchCommandLine(line), accepted) << line;
    for (const char* blank : {"", " ", "\t  ", "\r\n"}) EXPECT_FALSE(LaunchCommandLine(blank));
    EXPECT_EQ(open.targets, targets);
  }
}

TEST(LaunchCommandLineTest, ReplaceShellOpenReturnsTheReplacedOpener) {
  int calls = 0;
  ShellOpenFunction original = ReplaceShellOpen([&calls](const std::string&) { return ++calls; });
  EXPECT_TRUE(LaunchCommandLine("numvex-no-such-program"));
  ShellOpenFunction mine = ReplaceShellOpen(original);
  ASSERT_TRUE(mine);
  EXPECT_TRUE(mine("x"));
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace numvex
