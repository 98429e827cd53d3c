#include "platform/desktop_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>

#include "common/processes.h"

namespace numvex {
namespace {

// Sets an environment variable for the life of the object.
struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(name), old(qgetenv(name)) {
    qputenv(name, value.c_str());
  }
  ~ScopedEnv() { qputenv(name, old); }
  const char* name;
  QByteArray old;
};

std::string Read(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(missing)";
}

void Write(const std::string& path, const std::string& text) {
  QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text.c_str()) == qint64(text.size()));
}

// The value of `key` in a desktop entry.
std::string Value(const std::string& entry, const std::string& key) {
  const QRegularExpression line("^" + QString::fromStdString(key) + "=(.*)$",
                                QRegularExpression::MultilineOption);
  return line.match(QString::fromStdString(Read(entry))).captured(1).toStdString();
}

ino_t Inode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Every test runs with PATH on a folder of its own, empty unless the test puts a program in.
class DesktopFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QTemporaryDir dir_;
  const std::string root_ = dir_.path().toStdString();
  ScopedEnv path_{"PATH", root_ + "/bin"};
  DesktopFiles files_{root_ + "/data", root_ + "/config"};
};

TEST_F(DesktopFilesTest, ExecQuotesThePathAsDesktopEntriesRequire) {
  const struct {
    const char *path, *exec;
  } kCases[] = {
      {"/usr/bin/numvex", "/usr/bin/numvex"},
      {"/opt/my apps/numvex", R"("/opt/my apps/numvex")"},
      {"/opt/it's/numvex", R"("/opt/it's/numvex")"},
      {"/opt/100%/numvex", "/opt/100%%/numvex"},
      {"/opt/50% off/numvex", R"("/opt/50%% off/numvex")"},
      {"/opt/a\"b`c$d\\e", R"("/opt/a\\"b\\`c\\$d\\\\e")"},
      {"/opt/line\nbreak", R"("/opt/line\nbreak")"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    ASSERT_EQ(files_.RegisterFileType(c.path), "");
    files_.SetRunAtStartup(true, c.path);
    EXPECT_EQ(Value(files_.ApplicationEntryPath(), "Exec"), std::string(c.exec) + " %f");
    EXPECT_EQ(Value(files_.AutostartEntryPath(), "Exec"), std::string(c.exec) + " /TB");
  }
}

// Registering twice rewrites nothing; another program's files, even in our places, are never
// changed or removed.
TEST_F(DesktopFilesTest, WritesAndRemovesOnlyItsOwnFiles) {
  const std::string foreign = "MimeType=application/x-numvex-tape;\n<glob pattern=\"*.nvx\"/>\n";
  const std::string others[] = {root_ + "/data/mime/packages/other.xml",
                                root_ + "/data/applications/other.desktop"};
  for (const std::string& other : others) Write(other, foreign);

  ASSERT_EQ(files_.RegisterFileType("/usr/bin/numvex"), "");
  EXPECT_EQ(Value(files_.ApplicationEntryPath(), "MimeType"), "application/x-numvex-tape;");
  EXPECT_NE(Read(files_.MimePackagePath()).find("<glob pattern=\"*.nvx\"/>"), std::string::npos);
  const ino_t entry = Inode(files_.ApplicationEntryPath());
  EXPECT_EQ(files_.RegisterFileType("/usr/bin/numvex"), "");
  EXPECT_EQ(Inode(files_.ApplicationEntryPath()), entry);
  files_.SetRunAtStartup(true, "/usr/bin/numvex");
  EXPECT_EQ(Value(files_.AutostartEntryPath(), "X-GNOME-Autostart-enabled"), "true");

  files_.SetRunAtStartup(false, "/usr/bin/numvex");
  files_.UnregisterFileType();
  for (const std::string& path :
       {files_.ApplicationEntryPath(), files_.MimePackagePath(), files_.AutostartEntryPath()}) {
    EXPECT_EQ(Read(path), "(missing)");
  }
  for (const std::string& other : others) EXPECT_EQ(Read(other), foreign);

  const std::string ours[] = {files_.MimePackagePath(), files_.AutostartEntryPath()};
  for (const std::string& path : ours) Write(path, foreign);
  EXPECT_NE(files_.RegisterFileType("/usr/bin/numvex").find(ours[0]), std::string::npos);
  files_.SetRunAtStartup(true, "/usr/bin/numvex");
  files_.SetRunAtStartup(false, "/usr/bin/numvex");
  files_.UnregisterFileType();
  for (const std::string& path : ours) EXPECT_EQ(Read(path), foreign);
}

// The databases are refreshed after every change by whichever update program is on PATH.
TEST_F(DesktopFilesTest, RefreshesWithTheUpdateProgramsThereAre) {
  const std::string log = root_ + "/log", program = root_ + "/bin/update-mime-database";
  Write(program, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log + "'\n");
  QFile::setPermissions(QString::fromStdString(program), QFile::ReadOwner | QFile::ExeOwner);
  const std::string mime = root_ + "/data/mime\n";
  ASSERT_EQ(files_.RegisterFileType("/usr/bin/numvex"), "");
  EXPECT_TRUE(testing::WaitUntil([&] { return Read(log) == mime; })) << Read(log);
  files_.UnregisterFileType();
  EXPECT_TRUE(testing::WaitUntil([&] { return Read(log) == mime + mime; })) << Read(log);
}

}  // namespace
}  // namespace numvex
