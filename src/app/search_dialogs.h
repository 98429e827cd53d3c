#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace numvex {

// The find window: the text and the options of a search in the main editor. It only holds
// them; SearchController runs the search when the button asks for it. Its contents stay
// between uses.
class TfrmSearch : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSearch(QWidget* parent = nullptr);

  QLineEdit* SearchText() const { return edtSuchText_; }
  QCheckBox* FromTop() const { return chkGesamt_; }
  QCheckBox* WholeWords() const { return chkGanzesWort_; }
  QCheckBox* CloseAfterSearch() const { return chkFensterSchliessen_; }

 signals:
  void searchRequested();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblSuchen_;
  QLineEdit* edtSuchText_;
  QCheckBox* chkGesamt_;
  QCheckBox* chkGanzesWort_;
  QCheckBox* chkFensterSchliessen_;
  QPushButton* btnSuchen_;
  QPushButton* btnSchliessen_;
};

// The find-and-replace window. OK accepts it; SearchController replaces afterwards.
class TfrmSearchReplace : public QDialog {
  Q_OBJECT
 public:
  // The ids of the area's radio buttons.
  enum Area { kFromCursor = 0, kSelectedText = 1, kCompleteText = 2 };

  explicit TfrmSearchReplace(QWidget* parent = nullptr);

  QLineEdit* SearchText() const { return edtSearchtext_; }
  QLineEdit* ReplaceText() const { return edtReplaceText_; }
  QCheckBox* ReplaceAll() const { return chkAllesErsetzen_; }
  QCheckBox* WholeWords() const { return chkGanzeWoerter_; }
  QCheckBox* Prompt() const { return chkPrompt_; }
  QButtonGroup* Areas() const { return areas_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblSuchennach_;
  QLabel* lblErsetzendurch_;
  QLineEdit* edtSearchtext_;
  QLineEdit* edtReplaceText_;
  QCheckBox* chkAllesErsetzen_;
  QCheckBox* chkGanzeWoerter_;
  QCheckBox* chkPrompt_;
  QGroupBox* radgrpBereich_;
  QButtonGroup* areas_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

}  // namespace numvex
