#pragma once
// The "Result" page (TabSheetResults): the list of the result table, "To
// Record all messages" and the Load, Save and Clear Result buttons. It owns
// its controls and the result-file dialogs, and writes and reads the table's
// files with their boxes; the buttons run the window's commands they are linked to.
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QPushButton;

namespace vt {

class TResultLayout;
class TResultListView;
class TResultTable;

class TResultPage : public QWidget {
 public:
  // The table and layout outlive the page.
  TResultPage(TResultTable& table, TResultLayout& layout, QWidget* parent = nullptr);

  TResultListView& List() const { return *Ui_.ListView; }
  // "To Record all messages", which a pass reads.
  const QCheckBox& AllRecord() const { return *Ui_.ChkBxAllRecord; }
  // Each button shares its command's enabled state and runs it when clicked.
  void LinkCommands(QAction* loadResult, QAction* saveResult, QAction* clearResult);
  // Asks for a file name and writes the table; nothing for an empty table.
  void SaveToFile();
  // Asks for a result file to load; nothing when the user cancels.
  std::optional<std::string> ChooseFileToLoad();
  // Loads the file into the table; false, after its box, when it fails.
  bool LoadFile(const std::string& path);
  // The focusable controls, in the order Tab reaches them.
  std::vector<QWidget*> FocusOrder() const;

 private:
  QFileDialog* MakeFileDialog(const char* name, int acceptMode);
  // Made when first asked for. They open in the process's current folder.
  QFileDialog* OpenDialog1();
  QFileDialog* SaveDialog1();

  TResultTable& Table_;
  TResultLayout& Layout_;
  // Named as their objectNames.
  struct TControls {
    TResultListView* ListView = nullptr;
    QFrame* Panel2 = nullptr;
    QCheckBox* ChkBxAllRecord = nullptr;
    QPushButton* BtLoadResult = nullptr;
    QPushButton* BtSaveAsResult = nullptr;
    QPushButton* BtClearResult = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
  };
  TControls Ui_;
};

}  // namespace vt
