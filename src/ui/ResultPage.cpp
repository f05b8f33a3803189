#include "ui/ResultPage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

#include "browse/ApplicationError.h"
#include "browse/BusyCursor.h"
#include "engine/Messages.h"
#include "passes/UndoRowChecks.h"
#include "results/ResultFile.h"
#include "results/UndoFromFile.h"
#include "ui/CommandLink.h"
#include "ui/ControlFactory.h"
#include "ui/ErrorWords.h"
#include "ui/MessageBoxes.h"
#include "ui/NameBytes.h"
#include "ui/ResultFileDialog.h"
#include "ui/ResultListView.h"

namespace vt {
namespace {

QString Text(std::string_view bytes) { return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())); }

void ShowNotAResultFile() { ShowMessageBox(TMessageKind::Error, Text(Message(Msg::NotAResultFile))); }

QString RowsNotUndoableText(std::size_t count) {
  return QString(
             "%1 of the rows saved cannot be undone from this file: the path of their folder is %2 "
             "bytes or longer, and a result file keeps only the first %3 bytes of a text, so Recover "
             "will refuse them after loading it.\n\nTo undo them, use Recover now, before the table "
             "is cleared.")
      .arg(count)
      .arg(kShortestCutText)
      .arg(kResultTextLimit);
}

void ShowRowsNotUndoable(std::size_t count) { ShowMessageBox(TMessageKind::Information, RowsNotUndoableText(count)); }

}  // namespace

TResultPage::TResultPage(TResultTable& table, TResultLayout& layout, QWidget* parent)
    : QWidget(parent), Table_(table), Layout_(layout) {
  setObjectName("TabSheetResults");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  Ui_.ListView = new TResultListView(Table_, Layout_, this);
  Ui_.ListView->setObjectName("ListView");
  column->addWidget(Ui_.ListView, 1);

  QFrame* panel = Ui_.Panel2 = new QFrame(this);
  panel->setObjectName("Panel2");
  panel->setFrameShape(QFrame::NoFrame);
  panel->setFixedHeight(25);
  column->addWidget(panel);

  Ui_.ChkBxAllRecord = MakeCheckBox(panel, "ChkBxAllRecord", "To Record all messages", 18, 4);
  Ui_.BtLoadResult = MakeButton(panel, "BtLoadResult", "Load Result", 188, 4, 127, 20);
  Ui_.BtSaveAsResult = MakeButton(panel, "BtSaveAsResult", "Save Result", 328, 4, 127, 20);
  Ui_.BtClearResult = MakeButton(panel, "BtClearResult", "Clear Result", 468, 4, 127, 20);
}

void TResultPage::LinkCommands(QAction* loadResult, QAction* saveResult, QAction* clearResult) {
  LinkButtonToAction(Ui_.BtLoadResult, loadResult);
  LinkButtonToAction(Ui_.BtSaveAsResult, saveResult);
  LinkButtonToAction(Ui_.BtClearResult, clearResult);
}

std::vector<QWidget*> TResultPage::FocusOrder() const {
  return {Ui_.ListView, Ui_.ChkBxAllRecord, Ui_.BtLoadResult, Ui_.BtSaveAsResult, Ui_.BtClearResult};
}

QFileDialog* TResultPage::MakeFileDialog(const char* name, int acceptMode) {
  auto* dialog = new QFileDialog(this);
  dialog->setObjectName(name);
  dialog->setAcceptMode(QFileDialog::AcceptMode(acceptMode));
  // Qt's own dialog on every desktop, so that it behaves alike and tests can drive it.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  // A pass's journal, as the records' folder keeps it, loads as a result file does.
  dialog->setNameFilter(acceptMode == QFileDialog::AcceptOpen ? "Veltrane File Result or Journal (*.vtr *.vtj)"
                                                              : "Veltrane File Result (*.vtr)");
  // Shows the filter's text alone, as it reads in the list of filters.
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setDefaultSuffix("vtr");
  dialog->setDirectory(".");
  return dialog;
}

QFileDialog* TResultPage::OpenDialog1() {
  if (!Ui_.OpenDialog1) {
    Ui_.OpenDialog1 = MakeFileDialog("OpenDialog1", QFileDialog::AcceptOpen);
    // A name of a file that does not exist is accepted; loading it then says so.
    Ui_.OpenDialog1->setFileMode(QFileDialog::AnyFile);
  }
  return Ui_.OpenDialog1;
}

QFileDialog* TResultPage::SaveDialog1() {
  if (!Ui_.SaveDialog1) {
    Ui_.SaveDialog1 = MakeFileDialog("SaveDialog1", QFileDialog::AcceptSave);
    Ui_.SaveDialog1->setFileMode(QFileDialog::AnyFile);
    // Saving over an existing file replaces it without a question.
    Ui_.SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite);
  }
  return Ui_.SaveDialog1;
}

void TResultPage::SaveToFile() {
  // Set even when nothing is saved, as every showing of the dialog expects it.
  SaveDialog1()->setDefaultSuffix("vtr");
  if (Table_.RowCount() == 0) return;
  const std::optional<std::string> path = ChooseResultFile(*SaveDialog1());
  if (!path) return;
  TResultFileStatus status;
  {
    const TBusyCursor busy;
    status = SaveResultFile(Table_, Layout_, *path);
  }
  if (!status) {
    // "Cannot create file %s" or "Stream write error"; the old file, if any, is untouched.
    ReportApplicationError(NameText(ResultFileMessage(status.Error())));
    return;
  }
  if (const std::size_t lost = CountRowsNotUndoableFromFile(Table_.Rows())) ShowRowsNotUndoable(lost);
}

std::optional<std::string> TResultPage::ChooseFileToLoad() { return ChooseResultFile(*OpenDialog1()); }

bool TResultPage::LoadFile(const std::string& path) {
  TResultFileStatus status;
  {
    const TBusyCursor busy;
    status = LoadWholeResultFile(path, Table_, Layout_);
  }
  if (!status && status.Error().Kind == TResultFileError::CannotOpen) {
    ReportApplicationError(NameText(ResultFileMessage(status.Error())));
    return false;
  }
  if (!status) {
    // The table keeps what was applied before the failure.
    ShowNotAResultFile();
    return false;
  }
  return true;
}

}  // namespace vt
