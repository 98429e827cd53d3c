#include "app/tape_printer.h"

#include <Qsci/qsciscintilla.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <algorithm>
#include <vector>

#include "app/editor_font.h"
#include "app/message_box.h"
#include "app/syn_lexer_adapter.h"
#include "config/lang_texts.h"
#include "platform/system_info.h"

namespace numvex {

namespace {

// Page layout in millimetres from the paper's edges.
constexpr double kMarginLeft = 25;
constexpr double kMarginRight = 15;
constexpr double kMarginTop = 25;
constexpr double kMarginBottom = 25;
constexpr double kHeaderFooterDistance = 15;
constexpr double kTextIndent = 2;
constexpr double kGap = 0.5;  // between header or footer and the text
constexpr int kPrintTabWidth = 8;

PrintDialogHandler& Handler() {
  static PrintDialogHandler handler;
  return handler;
}

// The editor as printing wants it, for as long as this lives: Scintilla prints with the
// document's tab width, its colour mode and any line number margin of the view.
class PrintView {
 public:
  explicit PrintView(QsciScintilla* editor)
      : editor_(editor),
        tab_width_(editor->tabWidth()),
        colour_mode_(editor->SendScintilla(QsciScintillaBase::SCI_GETPRINTCOLOURMODE)) {
    editor->setTabWidth(kPrintTabWidth);
    editor->SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                          QsciScintillaBase::SC_PRINT_BLACKONWHITE);
    for (int margin = 0; margin < editor->margins(); ++margin) {
      margin_widths_.push_back(editor->marginWidth(margin));
      editor->setMarginWidth(margin, 0);
    }
  }
  ~PrintView() {
    for (int margin = 0; margin < static_cast<int>(margin_widths_.size()); ++margin) {
      editor_->setMarginWidth(margin, margin_widths_[margin]);
    }
    editor_->SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE, colour_mode_);
    editor_->setTabWidth(tab_width_);
  }
  PrintView(const PrintView&) = delete;
  PrintView& operator=(const PrintView&) = delete;

 private:
  QsciScintilla* editor_;
  int tab_width_;
  long colour_mode_;
  std::vector<int> margin_widths_;
};

}  // namespace

QString PrintHeaderText(QString text, const QString& user, const QString& pc, const QString& time) {
  return text.replace("%USER%", user, Qt::CaseInsensitive)
      .replace("%PC%", pc, Qt::CaseInsensitive)
      .replace("%TIME%", time, Qt::CaseInsensitive);
}

TapePrinter::TapePrinter(const QFont& font, const QString& footer)
    : QsciPrinter(QPrinter::HighResolution), font_(font), footer_(footer) {
  // The whole sheet is ours: formatPage places the margins, which then do not depend on the
  // printer's own.
  setFullPage(true);
  setWrapMode(QsciScintilla::WrapWord);
  setMagnification(0);
}

int TapePrinter::Mm(double mm) const { return qRound(mm * resolution() / 25.4); }

void TapePrinter::formatPage(QPainter& painter, bool drawing, QRect& area, int /*page*/) {
  const QFontMetrics metrics(font_, this);
  const int left = Mm(kMarginLeft + kTextIndent);
  const int width = this->width() - Mm(kMarginRight + kTextIndent) - left;
  const QRect header(left, Mm(kHeaderFooterDistance), width, metrics.height());
  const QRect footer(left, height() - Mm(kHeaderFooterDistance) - metrics.height(), width,
                     metrics.height());
  // A font too big for the margins pushes the text away instead of overlapping it.
  const int top = std::max(Mm(kMarginTop), header.y() + header.height() + Mm(kGap));
  const int bottom = std::min(height() - Mm(kMarginBottom), footer.top() - Mm(kGap));
  area.setCoords(left, top, left + width - 1, bottom - 1);
  if (!drawing) return;
  painter.save();
  painter.setFont(font_);
  painter.setPen(Qt::black);
  painter.drawText(header, Qt::AlignHCenter | Qt::AlignTop,
                   metrics.elidedText(header_, Qt::ElideRight, width));
  // A long path keeps its start and its file name.
  painter.drawText(footer, Qt::AlignHCenter | Qt::AlignTop,
                   metrics.elidedText(footer_, Qt::ElideMiddle, width));
  painter.restore();
}

bool TapePrinter::Print(QsciScintilla* editor, const QString& header) {
  header_ = header;
  // The program's highlighters style text far above the view only in idle time.
  if (auto* highlighter = qobject_cast<SynLexerAdapter*>(editor->lexer())) {
    highlighter->StyleToEnd();
  }
  PrintView view(editor);
  QPainter painter;
  if (!painter.begin(this)) return false;
  bool printed = true;
  if (editor->length() == 0) {
    // Scintilla prints no page for no text; the sheet still says who printed what.
    QRect area(0, 0, width(), height());
    formatPage(painter, true, area, 1);
  } else {
    printed = printRange(editor, painter) != 0;
  }
  return painter.end() && printed && printerState() != QPrinter::Error;
}

void SetPrintDialogHandler(PrintDialogHandler handler) { Handler() = std::move(handler); }

bool ShowPrintDialog(QWidget* parent, QPrinter& printer) {
  if (Handler()) return Handler()(printer);
  QPrintDialog dialog(&printer, parent);
  // Printing to a PDF file works without any printer installed.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  return dialog.exec() == QDialog::Accepted;
}

bool PrintDocument(QWidget* parent, QsciScintilla* editor, const QString& file_name) {
  TapePrinter printer(ScintillaFont(editor->font(), editor), file_name);
  if (!ShowPrintDialog(parent, printer)) return false;
  // The time of printing, not of opening the dialog.
  const QString header = PrintHeaderText(QString::fromStdString(GetLangText("PrintedByHeader")),
                                         QString::fromLocal8Bit(UserName().c_str()),
                                         QString::fromLocal8Bit(ComputerName().c_str()),
                                         QString::fromStdString(LocalDateTimeText()));
  if (printer.Print(editor, header)) return true;
  const QString target =
      printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
  ReportError(parent, "The document could not be printed on \"" + target.toStdString() + "\".");
  return false;
}

}  // namespace numvex
