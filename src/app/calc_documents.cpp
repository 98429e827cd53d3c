// The main window's documents: opening, starting anew, saving, and the question before
// changes are lost. The file itself is CalcDocument's.
#include <QAction>
#include <QFileInfo>

#include "app/calc_document.h"
#include "app/calc_main.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "config/conf.h"
#include "config/lang_texts.h"
#include "config/recent_files.h"

namespace numvex {

namespace {

// The folder of a chosen file, as the dialogs start in it next time.
std::string FolderOf(const QString& path) {
  return (QFileInfo(path).absolutePath() + "/").toStdString();
}

}  // namespace

const QString& TfrmCalc::FileName() const { return document_->FileName(); }

void TfrmCalc::OpenDocument(const QString& name) {
  const QString file = name.trimmed();
  document_->SetFileName(file);
  document_->Clear();
  if (!file.isEmpty() && QFileInfo::exists(file)) {
    // The mode and its highlighter first: a highlighter attached to a loaded document would
    // restyle all of it, while one attached to the empty editor styles what comes into view.
    SwitchMode(file);
    // A tape goes into the editor recalculated.
    bool recalculated = false;
    const CalcDocument::Recalculation recalc{Engine().Settings(), this};
    const CalcDocument::Loaded loaded =
        QFileInfo(file).isDir()
            ? CalcDocument::Loaded::kFailed
            : document_->Load(file, CalcMode() ? &recalc : nullptr, &recalculated);
    if (loaded == CalcDocument::Loaded::kOk) {
      SetDocModified(false);
      if (CalcMode() && !recalculated) Engine().RecalcAll();
      Engine().ResetTapeView();
      UpdateCaption();
      return;
    }
    // A file that will not read gives a new document without a word; one that vanished
    // since it was chosen is reported as missing below.
    if (loaded == CalcDocument::Loaded::kFailed) {
      document_->SetFileName({});
      SetDocModified(false);
      NewCalcFile();
      return;
    }
  }
  if (!file.isEmpty()) {
    ShowMessage(this, {GetLangText("FileDoesNotExist"), GetLangText("Fatal Error"),
                       MessageButtons::Ok, MessageIcon::Error});
  }
  document_->SetFileName({});
  SetDocModified(false);
  NewCalcFile();
}

void TfrmCalc::NewCalcFile() {
  document_->SetFileName({});
  document_->Clear();
  SwitchMode("blablabla.nvx");
  Engine().ResetTapeView();
  UpdateCaption();
}

bool TfrmCalc::WriteDocument() {
  std::string error;
  if (!document_->Write(&error)) {
    // The fixed reasons of the message, and the one the system gave.
    ShowMessage(this, {GetLangText("readonlytext") + "\n\n" + error, GetLangText("readonlycaption"),
                       MessageButtons::Ok, MessageIcon::Error});
    return false;
  }
  SetDocModified(false);
  return true;
}

bool TfrmCalc::SaveFile() { return FileName().isEmpty() ? SaveFileAs() : WriteDocument(); }

bool TfrmCalc::SaveFileAs() {
  FileDialogRequest request;
  request.save = true;
  request.title = QString::fromStdString(GetLangText("dlgSaveAsCaption"));
  request.start = FileName().isEmpty() ? QString::fromStdString(Conf.LruDir) : FileName();
  request.filters = FileDialogFilters(GetLangText("Filter"));
  request.filter_index = save_filter_index_;
  QString chosen = ShowFileDialog(this, request);
  if (chosen.isEmpty()) return false;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".nvx";
  document_->SetFileName(chosen);
  Conf.LruDir = FolderOf(chosen);
  SaveSettings();
  UpdateCaption();
  return WriteDocument();
}

void TfrmCalc::FileOpenExecute() {
  if (AskSave() == mrCancel) return;
  FileDialogRequest request;
  request.title = QString::fromStdString(GetLangText("dlgOpenCaption"));
  request.start = QString::fromStdString(Conf.LruDir);
  request.filters = FileDialogFilters(GetLangText("FilterOpen"));
  request.filter_index = 10;  // all supported files
  const QString chosen = ShowFileDialog(this, request);
  if (chosen.isEmpty()) return;
  Conf.LruDir = FolderOf(chosen);
  SaveSettings();
  OpenDocument(chosen);
  UpdateCaption();
}

int TfrmCalc::AskSave() {
  if (!Conf.AskSave) return mrOk;
  int answer = mrOk;
  if (DocModified()) {
    answer = ShowMessage(this, {GetLangText("quSave"), "Numvex", MessageButtons::YesNoCancel,
                                MessageIcon::Question});
    if (answer == mrYes) {
      if (!SaveFile()) answer = mrCancel;
    } else if (answer == mrNo) {
      NewCalcFile();  // the changes are given up before the caller goes on
    }
  }
  // The document given up joins the recent files.
  if (answer != mrCancel && AddRecentFile(FileName().toStdString())) UpdateRecentMenu();
  return answer;
}

}  // namespace numvex
