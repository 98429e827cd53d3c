#pragma once

#include <Qsci/qsciprinter.h>

#include <QFont>
#include <QString>
#include <functional>

class QPainter;
class QRect;
class QWidget;
class QsciScintilla;

namespace numvex {

// The header's text: every "%USER%", then every "%PC%", then every "%TIME%" replaced, in any
// letter case.
QString PrintHeaderText(QString text, const QString& user, const QString& pc, const QString& time);

// The program's one page layout: fixed margins, a centred header line above the text and a
// centred footer line below it, both in `font`; long lines wrap at words.
class TapePrinter : public QsciPrinter {
 public:
  TapePrinter(const QFont& font, const QString& footer);
  // Prints the whole document of `editor` black on white, tabs 8 wide, without line numbers;
  // the editor looks as before afterwards. False when the printer failed.
  bool Print(QsciScintilla* editor, const QString& header);

 protected:
  void formatPage(QPainter& painter, bool drawing, QRect& area, int page) override;

 private:
  int Mm(double mm) const;

  QFont font_;
  QString header_;
  QString footer_;
};

// Every print dialog of the program goes through here, so tests can answer it. True prints
// with `printer` as the dialog left it.
bool ShowPrintDialog(QWidget* parent, QPrinter& printer);

// Replaces the print dialog (tests); an empty function restores it.
using PrintDialogHandler = std::function<bool(QPrinter&)>;
void SetPrintDialogHandler(PrintDialogHandler handler);

// File > Print: the print dialog, then the editor's document with the "printed by" header and
// `file_name` (empty for an unnamed document) as footer. False when cancelled or failed; a
// failure is reported, and nothing else changes either way.
bool PrintDocument(QWidget* parent, QsciScintilla* editor, const QString& file_name);

}  // namespace numvex
