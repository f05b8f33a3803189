#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ControlFactory.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"

namespace vt {

void TForm1::BuildResultPage() {
  auto* layout = new QVBoxLayout(TabSheetResults);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  ListView = new TResultListView(ResultTable_, ResultLayout_, TabSheetResults);
  ListView->setObjectName("ListView");
  layout->addWidget(ListView, 1);

  Panel2 = new QFrame(TabSheetResults);
  Panel2->setObjectName("Panel2");
  Panel2->setFrameShape(QFrame::NoFrame);
  Panel2->setFixedHeight(25);
  layout->addWidget(Panel2);

  ChkBxAllRecord = MakeCheckBox(Panel2, "ChkBxAllRecord", "To Record all messages", 18, 4);
  BtLoadResult = MakeButton(Panel2, "BtLoadResult", "Load Result", 188, 4, 127, 20);
  BtSaveAsResult = MakeButton(Panel2, "BtSaveAsResult", "Save Result", 328, 4, 127, 20);
  BtClearResult = MakeButton(Panel2, "BtClearResult", "Clear Result", 468, 4, 127, 20);
}

QFileDialog* TForm1::MakeFileDialog(const char* name, int acceptMode) {
  auto* dialog = new QFileDialog(this);
  dialog->setObjectName(name);
  dialog->setAcceptMode(QFileDialog::AcceptMode(acceptMode));
  // Qt's own dialog on every desktop, so that it behaves alike and tests can drive it.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilter("Veltrane File Result (*.vtr)");
  // Shows the filter's text alone, as it reads in the list of filters.
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setDefaultSuffix("vtr");
  dialog->setDirectory(".");
  return dialog;
}

QFileDialog* TForm1::OpenDialog1() {
  if (!OpenDialog1_) {
    OpenDialog1_ = MakeFileDialog("OpenDialog1", QFileDialog::AcceptOpen);
    // A name of a file that does not exist is accepted; loading it then says so.
    OpenDialog1_->setFileMode(QFileDialog::AnyFile);
  }
  return OpenDialog1_;
}

QFileDialog* TForm1::SaveDialog1() {
  if (!SaveDialog1_) {
    SaveDialog1_ = MakeFileDialog("SaveDialog1", QFileDialog::AcceptSave);
    SaveDialog1_->setFileMode(QFileDialog::AnyFile);
    // Saving over an existing file replaces it without a question.
    SaveDialog1_->setOption(QFileDialog::DontConfirmOverwrite);
  }
  return SaveDialog1_;
}

}  // namespace vt
