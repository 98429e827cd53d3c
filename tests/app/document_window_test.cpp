// Documents in the main window: the bytes on disk, the dialogs, and writes that fail.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

#include "platform/launcher.h"
#include "window_fixture.h"

namespace numvex::testing {
namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

TEST_F(WindowTest, AFileComesBackByteForByteWithOneFinalLineBreak) {
  QByteArray every;
  for (int i = 0; i < 512; ++i) every += char(i % 256);  // NUL, CR, LF and all the rest
  // {file, bytes, calc mode, written}
  const std::tuple<const char*, QByteArray, bool, QByteArray> kCases[] = {
      {"lf.txt", "a\nb\n", false, "a\nb\n"},
      {"one.txt", "abc", false, "abc\n"},
      {"crlf.nvx", "x\r\n\r\n", true, "x\r\n\r\n"},
      {"mixed.txt", "a\r\nb\nc\rd\r\n", false, "a\r\nb\nc\rd\r\n"},
      {"binary.bin", every + "\n", false, every + "\n"},
      {"empty.cpp", "", false, ""},
      {"break.txt", "\n", false, "\n"}};
  QTemporaryDir dir;
  Open();
  // A new document of a fresh run writes CR LF; later ones keep the style of the one before.
  Type("tip");
  chosen = dir.filePath("new.txt");
  Action("FileSave")->trigger();
  EXPECT_EQ(Read(chosen), "tip\r\n");
  for (const auto& [name, bytes, calc, written] : kCases) {
    const QString path = dir.filePath(name);
    WriteFile(path, bytes);
    window->OpenDocument(path);
    EXPECT_EQ(window->CalcMode(), calc) << name;
    Action("FileSave")->trigger();
    EXPECT_EQ(Read(path), written) << name;
  }
  window->NewCalcFile();
  Type("tip");
  window->SaveFileAs();
  EXPECT_EQ(Read(chosen), "tip\n");
  EXPECT_TRUE(messages.empty());
}

// A tape whose lines all end alike is recalculated before it goes into the editor, one with
// mixed breaks in the editor: both ways give the same lines and the same messages.
TEST_F(WindowTest, ATypedTapeOpensRecalculatedWhateverItsLineBreaks) {
  // A note longer than the recalculation's output block goes into the editor on its own.
  const Tape typed = {"Rent",  "12.5", "+3 less", "/0", "---", std::string(200000, 'n'),
                      "7",     "*2",   "===",     "",   "1e9"};
  QTemporaryDir dir;
  Open();
  std::vector<std::pair<Tape, size_t>> seen;
  for (const char* first_break : {"\r\n", "\n"}) {
    const QString path = dir.filePath("typed.nvx");
    const Tape rest(typed.begin() + 1, typed.end());
    WriteFile(path, QByteArray::fromStdString(typed[0] + first_break + Join(rest, "\r\n")));
    const size_t before = messages.size();
    window->OpenDocument(path);
    seen.emplace_back(Lines(), messages.size() - before);
    EXPECT_FALSE(window->DocModified());
  }
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(seen[0].first.size(), typed.size() + 1);  // a result under "---" above "note"
  EXPECT_EQ(seen[0].second, 1u);                      // the division by zero
}

TEST_F(WindowTest, DialogsProposeTheTypeAndCancellingChangesNothing) {
  QTemporaryDir dir;
  const QString source = dir.filePath("main.cpp");
  WriteFile(source, "int x;\n");
  Open();
  Type("7");
  Action("FileSave")->trigger();  // unnamed: the save dialog, cancelled
  window->OpenDocument("  " + source + " ");
  Action("mnuFSaveAs")->trigger();
  Action("FileOpen")->trigger();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_TRUE(dialogs[0].save && dialogs[0].filter_index == 1 && dialogs[0].start == ".");
  EXPECT_EQ(dialogs[0].filters.value(0), "Numvex file (*.nvx) (*.nvx)");
  EXPECT_TRUE(dialogs[1].save && dialogs[1].start == source && dialogs[1].filter_index == 4);
  EXPECT_EQ(dialogs[1].filters.value(3), "C++ sources (*.cpp) (*.cpp *.h *.c)");
  EXPECT_TRUE(!dialogs[2].save && dialogs[2].filter_index == 10);
  EXPECT_EQ(dialogs[2].filters.size(), 10);
  EXPECT_EQ(window->FileName(), source);
  // The first document was unchanged by the cancelled save; the question answered No,
  // and the open cancelled, leaves an empty calc document.
  Type("y");
  answer = mrNo;
  Action("FileOpen")->trigger();
  EXPECT_EQ(messages.at(0).text, "Save changes?");
  EXPECT_TRUE(window->FileName().isEmpty() && window->CalcMode() && !window->DocModified());
  EXPECT_EQ(Lines(), Tape{""});
  // A file gone between the dialog and the open is reported as missing; a new calc document.
  chosen = dir.filePath("gone.nvx");
  Action("FileOpen")->trigger();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "The file you entered could not be found.");
  EXPECT_TRUE(window->FileName().isEmpty() && window->CalcMode());
  EXPECT_EQ(Conf.LruDir, (dir.path() + "/").toStdString());
}

TEST_F(WindowTest, AFailedWriteKeepsTheDocumentOpenAndChanged) {
  QTemporaryDir dir;
  const QString path = dir.filePath("locked.txt");
  WriteFile(path, "kept\n");
  chmod(QFile::encodeName(path).constData(), 0444);
  Open({path});
  Type("more ");
  answer = mrYes;
  EXPECT_FALSE(window->close());
  ASSERT_EQ(messages.size(), 2u);  // the question, then the refusal
  EXPECT_EQ(messages[1].caption, "Fatal Error");
  EXPECT_NE(messages[1].text.find("Permission denied"), std::string::npos);
  EXPECT_TRUE(window->isVisible() && window->DocModified());
  EXPECT_EQ(Read(path), "kept\n");
  // A disk that fills up half way (a file size limit of 4 KiB): the original stays whole.
  chmod(QFile::encodeName(path).constData(), 0644);
  window->Editor()->append(QString(8192, 'x'));
  struct rlimit old, small;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  small = old, small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_FALSE(window->SaveFile());
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, old_handler);
  EXPECT_NE(messages.back().text.find("File too large"), std::string::npos);
  EXPECT_EQ(Read(path), "kept\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
  // Without the question, New gives the changes up silently.
  Conf.AskSave = false;
  Action("FileNew")->trigger();
  EXPECT_EQ(std::pair(messages.size(), window->DocModified()), std::pair(size_t{3}, false));
}

// What a document brings, its name and its links, reaches the screen and the desktop as the
// characters it is: no markup, no mnemonic, no title placeholder, no shell.
TEST_F(WindowTest, MarkupInANameOrALinkStaysText) {
  QTemporaryDir dir;
  const QString path = dir.filePath("<b>x<br>&amp;&y [*].nvx");
  const QString link = "<i>nothing</i> &amp; $(touch " + dir.filePath("ran") + ")";
  WriteFile(path, ("[" + link + "]\n").toLatin1());
  Open({path});
  const QString caption = "ZEL: Numvex [" + path + "]";
  EXPECT_EQ(window->windowHandle()->title(), caption);
  // A tool tip that might be rich text is shown as rich text.
  const QString tip = window->findChild<QSystemTrayIcon*>()->toolTip();
  QTextDocument shown;
  shown.setHtml(tip);
  EXPECT_EQ(Qt::mightBeRichText(tip) ? shown.toPlainText() : tip, caption);
  std::vector<std::string> opened;
  const ShellOpenFunction system_open =
      ReplaceShellOpen([&](const std::string& target) { return opened.push_back(target), true; });
  window->Editor()->setCursorPosition(0, 3);
  window->TapeEditor().txtCalcDblClick();
  ReplaceShellOpen(system_open);
  EXPECT_EQ(opened, std::vector<std::string>{link.toStdString()});
  EXPECT_FALSE(QFile::exists(dir.filePath("ran")));
  Action("FileNew")->trigger();
  EXPECT_EQ(Action("mnuFLRU1")->iconText(), "1 " + path);
  EXPECT_TRUE(messages.empty());
}

// A message shows file names as they are: markup in a name stays text.
TEST(MessageBoxTest, TextIsPlain) {
  Qt::TextFormat format = Qt::RichText;
  QTimer::singleShot(0, [&format] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    format = box->textFormat();
    box->accept();
  });
  EXPECT_EQ(ShowMessage(nullptr, {"<b>tape</b>.nvx", "Numvex"}), mrOk);
  EXPECT_EQ(format, Qt::PlainText);
}

}  // namespace
}  // namespace numvex::testing
