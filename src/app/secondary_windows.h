#pragma once

#include <QDialog>

namespace numvex {

// The program's other windows, created once at start and reused while the program runs.
class TfrmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmOptions(QWidget* parent = nullptr);
};

class TfrmHelp : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmHelp(QWidget* parent = nullptr);
};

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);
};

}  // namespace numvex
