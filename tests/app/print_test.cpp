// File > Print of a window's document into a PDF file, read back as text.
#include <QDate>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/tape_printer.h"
#include "platform/system_info.h"
#include "window_fixture.h"

namespace numvex::testing {

class PrintTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "no pdftotext";
  }
  QString PrintedText(bool accept = true) {
    SetPrintDialogHandler([this, accept](QPrinter& printer) {
      printer.setOutputFileName(pdf);
      return accept;
    });
    Action("FilePrint")->trigger();
    SetPrintDialogHandler(nullptr);
    QProcess reader;
    reader.start("pdftotext", {"-layout", pdf, "-"});
    return reader.waitForFinished() ? QString::fromUtf8(reader.readAllStandardOutput()) : "";
  }
  QTemporaryDir dir;
  QString pdf = dir.filePath("out.pdf"), path = dir.filePath("tape.txt");
};

TEST_F(PrintTest, EveryPageNamesWhoWhereWhenAndThePathAndNoLineIsLost) {
  QByteArray bytes;
  for (int row = 1; row <= 150; ++row) bytes += "row " + QByteArray::number(row) + "\r\n";
  WriteFile(path, bytes);
  Open({path});
  const QList<int> look = {window->Editor()->tabWidth(), window->Editor()->marginWidth(0)};
  const QString text = PrintedText();
  const QString who = QString("Printed by %1 (Computer: %2) at ")
                          .arg(QString::fromStdString(UserName()), ComputerName().c_str());
  EXPECT_GE(text.count('\f'), 2);  // pdftotext ends every page with a form feed
  for (const QString& s : {who, path}) EXPECT_EQ(text.count(s), text.count('\f'));
  EXPECT_TRUE(text.contains(QDate::currentDate().toString("yy")));
  EXPECT_EQ(text.count("row "), 150);
  EXPECT_EQ((QList<int>{window->Editor()->tabWidth(), window->Editor()->marginWidth(0)}), look);
}

TEST_F(PrintTest, CancelPrintsNothingUnnamedEmptyGetsTheHeaderOnlyAFailureIsReported) {
  Open();
  PrintedText(false);
  EXPECT_FALSE(QFile::exists(pdf) || window->DocModified() || !messages.empty());
  const QString text = PrintedText().trimmed();  // no file name, no footer
  EXPECT_TRUE(text.startsWith("Printed by ") && !text.contains('\n')) << text.toStdString();
  pdf = dir.filePath("no such folder/out.pdf");
  PrintedText();
  EXPECT_EQ(messages.size(), 1u);
}

TEST(PrintHeaderText, ReplacesPlaceholdersInAnyCase) {
  const char* cases[][2] = {
      {"Printed by %USER% (Computer: %PC%) at %TIME%", "Printed by ann (Computer: pc) at 9:00"},
      {"%user%@%Pc%, %time% %TIME%", "ann@pc, 9:00 9:00"},
      {"%USER %PC 100%", "%USER %PC 100%"}};
  for (const auto& [text, out] : cases) EXPECT_EQ(PrintHeaderText(text, "ann", "pc", "9:00"), out);
}

}  // namespace numvex::testing
