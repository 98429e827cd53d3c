#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QWidget;

namespace numvex {

// The short introduction to the program, in German or English after Conf.Language.
class TfrmHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmHelp(QWidget* parent = nullptr);

  // Caption and the visible text box after Conf.Language: 0 German, anything else English.
  void ApplyLanguage();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QPlainTextEdit* txtInfoE_;
  QPlainTextEdit* txtInfoD_;
  QWidget* pnlCommand_;
  QPushButton* btnOK_;
  QLabel* imgZel_;
};

}  // namespace numvex
