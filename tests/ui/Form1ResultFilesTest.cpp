// Save Result, Load Result and Clear Result driven through the window, on real
// files: the dialogs, the questions, the boxes, and what each leaves enabled.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <iterator>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "results/ResultFile.h"
#include "results/StreamBuilder.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"
#include "ui/ResultTableModel.h"

namespace vt {
namespace {

using test::CancelDialog;
using test::ChooseFile;
using test::Contents;
using test::Press;
using test::Put;
using test::TModalScript;
using test::TStreamBuilder;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The enabled state of the five commands the result files touch, and the page shown.
struct TWindowState {
  bool Recover, Rename, Simulate, Clear, Save;
  bool ResultPage;
  bool operator==(const TWindowState&) const = default;
};

void PrintTo(const TWindowState& s, std::ostream* out) {
  *out << "{Recover " << s.Recover << ", Rename " << s.Rename << ", Simulate " << s.Simulate << ", Clear " << s.Clear
       << ", Save " << s.Save << ", Result page " << s.ResultPage << "}";
}

TWindowState StateOf(TForm1& form) {
  return {
      test::Named<QAction>(form, "UndoItem")->isEnabled(),
      test::Named<QAction>(form, "RenameItem")->isEnabled(),
      test::Named<QAction>(form, "SimulItem")->isEnabled(),
      test::Named<QAction>(form, "ClearResultItem")->isEnabled(),
      test::Named<QAction>(form, "SaveAsItem")->isEnabled(),
      test::Named<QTabWidget>(form, "PageControl1")->currentWidget() == test::Named<QWidget>(form, "TabSheetResults")};
}

class Form1ResultFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Previous_ = std::filesystem::current_path();
    // The dialogs open in the process's current folder.
    std::filesystem::current_path(Folder.Path());
  }
  void TearDown() override { std::filesystem::current_path(Previous_); }

  std::string File(const std::string& name) const { return Folder.File(name); }

  // Rows as a real pass leaves them, with its commands.
  static void AddPassRows(TForm1& form, std::size_t count, const std::string& path = "/srv/photos/") {
    for (std::size_t i = 0; i < count; ++i)
      form.ResultTable().AppendRow("img" + std::to_string(i) + ".jpg", "Rome " + std::to_string(i) + ".jpg", path,
                                   "Ok");
    test::Named<QAction>(form, "UndoItem")->setEnabled(true);
    test::Named<QAction>(form, "SaveAsItem")->setEnabled(true);
    test::Named<QAction>(form, "ClearResultItem")->setEnabled(true);
  }

  // A result file with these rows, written without the window.
  std::string SavedFile(const std::string& name, std::size_t rows) const {
    TResultTable table;
    for (std::size_t i = 0; i < rows; ++i)
      table.AppendRow("a" + std::to_string(i) + ".txt", "b" + std::to_string(i) + ".txt", "/data/", "Ok");
    const std::string path = File(name);
    EXPECT_TRUE(SaveResultFile(table, path));
    return path;
  }

  static void Load(TForm1& form, TModalScript& script) {
    script.Run([&] { test::Named<QAction>(form, "LoadResultItem")->trigger(); });
  }

  test::TTempFolder Folder;
  TForm1 Form;

 private:
  std::filesystem::path Previous_;
};

TEST_F(Form1ResultFiles, SaveWithAnEmptyTableShowsNoDialogAndWritesNothing) {
  test::Named<QAction>(Form, "SaveAsItem")->setEnabled(true);
  TModalScript script;
  script.Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  EXPECT_TRUE(script.Seen().isEmpty());
  EXPECT_TRUE(std::filesystem::is_empty(Folder.Path()));
  EXPECT_EQ(Form.SaveDialog1()->defaultSuffix(), "vtr");
}

TEST_F(Form1ResultFiles, SaveReplacesAnExistingFileWithoutAQuestionAndChangesNothingElse) {
  AddPassRows(Form, 3);
  const std::string path = File("pass.vtr");
  Put(path, "an older result");
  const TWindowState before = StateOf(Form);
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Run([&] { test::Named<QPushButton>(Form, "BtSaveAsResult")->click(); });
  EXPECT_EQ(script.Seen(), QStringList{"dialog:SaveDialog1"});
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(Contents(path), WriteResultStream(Form.ResultTable(), Form.ResultLayout()));
  EXPECT_EQ(StateOf(Form), before);
  EXPECT_EQ(Form.ResultTable().RowCount(), 3u);
}

TEST_F(Form1ResultFiles, TheDialogsOpenInTheCurrentFolderAndOfferTheLastNameWithItsExtension) {
  AddPassRows(Form, 1);
  TModalScript first;
  first.Then(ChooseFile(Q(File("first")))).Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  ASSERT_TRUE(std::filesystem::exists(File("first.vtr")));  // the default extension was added

  // The process moved on to another folder since.
  std::filesystem::create_directory(Folder.Path() / "later");
  std::filesystem::current_path(Folder.Path() / "later");
  QString directory, offered;
  TModalScript second;
  second
      .Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        directory = dialog->directory().absolutePath();
        offered = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        dialog->reject();
      })
      .Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  EXPECT_EQ(directory, Q((Folder.Path() / "later").string()));
  EXPECT_EQ(offered, "first.vtr");
  EXPECT_FALSE(std::filesystem::exists(Folder.Path() / "later" / "first.vtr"));
}

TEST_F(Form1ResultFiles, LongTextsAreSavedCutAndTheRowsAFileCannotUndoAreNamed) {
  const std::string longPath = "/" + std::string(298, 'p') + "/";
  AddPassRows(Form, 2);
  Form.ResultTable().AppendRow("x.txt", "y.txt", longPath, "Ok");
  Form.ResultTable().AppendRow("z.txt", "w.txt", longPath, "Error");  // never undone anyway
  const std::string path = File("long.vtr");
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok)).Run([&] {
    test::Named<QAction>(Form, "SaveAsItem")->trigger();
  });
  ASSERT_EQ(script.Seen().size(), 2);
  EXPECT_TRUE(script.Seen()[1].startsWith("Information|1 of the rows saved cannot be undone"))
      << script.Seen()[1].toStdString();
  EXPECT_EQ(Form.ResultTable().Row(2).Path(), longPath);  // cut in the file only

  TForm1 later;
  TModalScript load;
  load.Then(ChooseFile(Q(path)));
  Load(later, load);
  ASSERT_EQ(later.ResultTable().RowCount(), 4u);
  EXPECT_EQ(later.ResultTable().Row(2).Path(), longPath.substr(0, 255));
}

TEST_F(Form1ResultFiles, ALoadWithRowsOffersRecoverAndClearButNotANewPass) {
  const std::string path = SavedFile("pass.vtr", 2);
  const TWindowState before = StateOf(Form);
  EXPECT_EQ(before, (TWindowState{false, true, true, false, false, false}));
  TModalScript script;
  script.Then(ChooseFile(Q(path)));
  Load(Form, script);
  EXPECT_EQ(script.Seen(), QStringList{"dialog:OpenDialog1"});
  EXPECT_EQ(Form.ResultTable().RowCount(), 2u);
  EXPECT_EQ(test::Named<TResultListView>(Form, "ListView")->model()->rowCount(), 2);
  EXPECT_EQ(StateOf(Form), (TWindowState{true, false, false, true, false, true}));
  EXPECT_EQ(test::Named<QToolButton>(Form, "SpBtUndo")->isEnabled(), true);
  EXPECT_EQ(test::Named<QPushButton>(Form, "BtRename")->isEnabled(), false);
}

TEST_F(Form1ResultFiles, ALoadOfManyRowsReachesTheViewAsOneAppend) {
  const std::string path = SavedFile("many.vtr", 20000);
  int inserted = 0;
  QObject::connect(test::Named<TResultListView>(Form, "ListView")->model(), &QAbstractItemModel::rowsInserted,
                   [&] { ++inserted; });
  TModalScript script;
  script.Then(ChooseFile(Q(path)));
  Load(Form, script);
  EXPECT_EQ(test::Named<TResultListView>(Form, "ListView")->model()->rowCount(), 20000);
  EXPECT_EQ(inserted, 1);
}

TEST_F(Form1ResultFiles, AFileWithoutRowsAppliesItsColumnsAndChangesNoCommand) {
  TResultLayout layout;
  layout.SetColumnWidth(2, 300);
  const std::string path = File("empty.vtr");
  ASSERT_TRUE(SaveResultFile(TResultTable(), layout, path));
  AddPassRows(Form, 2);
  const TWindowState before = StateOf(Form);
  TModalScript script;
  script.Then(ChooseFile(Q(path)));
  Load(Form, script);
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
  EXPECT_EQ(test::Named<TResultListView>(Form, "ListView")->header()->sectionSize(2), 300);
  TWindowState expected = before;
  expected.ResultPage = true;
  EXPECT_EQ(StateOf(Form), expected);
}

TEST_F(Form1ResultFiles, AFileThatCannotBeOpenedLeavesTheTableAndSaysSo) {
  AddPassRows(Form, 2);
  const TWindowState before = StateOf(Form);
  const std::string path = File("missing.vtr");
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok));
  Load(Form, script);
  EXPECT_EQ(script.Seen(), (QStringList{"dialog:OpenDialog1", Q("Veltrane|Cannot open file " + path + ".")}));
  EXPECT_EQ(Form.ResultTable().RowCount(), 2u);
  TWindowState expected = before;
  expected.ResultPage = true;
  EXPECT_EQ(StateOf(Form), expected);
}

TEST_F(Form1ResultFiles, ATextFileEmptiesTheTableAndIsNotAResultFile) {
  AddPassRows(Form, 2);
  const TWindowState before = StateOf(Form);
  const std::string path = File("notes.txt");
  Put(path, "Shopping list\n");
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok));
  Load(Form, script);
  EXPECT_EQ(script.Seen(), (QStringList{"dialog:OpenDialog1", "Error|File is not a valid Veltrane file result."}));
  EXPECT_EQ(script.Unexpected(), 0);
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
  TWindowState expected = before;
  expected.ResultPage = true;
  EXPECT_EQ(StateOf(Form), expected);
}

TEST_F(Form1ResultFiles, AFailingFileKeepsWhatWasAppliedBeforeTheFailure) {
  const std::string path = File("broken.vtr");
  Put(path,
      TStreamBuilder()
          .Header()
          .Name("Columns")
          .Byte(14)
          .Byte(1)
          .Name("Width")
          .Int16(222)
          .End()
          .End()
          .Name("Items.Data")
          .Binary(test::RowBlock(2, test::RowRecord("a", {"b", "/d/", "Ok"}) +
                                        // five sub-texts announced, none there
                                        TStreamBuilder().Le32(0).Le32(-1).Le32(-1).Le32(5).Le32(0).Short("c").Bytes()))
          .Bytes());
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok));
  Load(Form, script);
  EXPECT_EQ(script.Seen().value(1), "Error|File is not a valid Veltrane file result.");
  EXPECT_EQ(test::Named<TResultListView>(Form, "ListView")->header()->sectionSize(0), 222);
  EXPECT_EQ(Form.ResultTable().RowCount(), 1u);  // the row read before the block ran out
  EXPECT_FALSE(test::Named<QAction>(Form, "UndoItem")->isEnabled());
}

TEST_F(Form1ResultFiles, TrailingBytesAndLetterCaseOfNamesAreAccepted) {
  const std::string path = File("odd.vtr");
  Put(path, TStreamBuilder()
                .Header()
                .Name("READONLY")
                .Ident("TRUE")
                .Name("font.COLOR")
                .Ident("CLBLACK")
                .Name("items.data")
                .Binary(test::RowBlock(1, test::RowRecord("a.txt", {"b.txt", "/d/", "Ok"})))
                .Name("viewstyle")
                .Ident("VSREPORT")
                .End()
                .End()
                .Raw("trailing bytes that belong to nothing")
                .Bytes());
  TModalScript script;
  script.Then(ChooseFile(Q(path)));
  Load(Form, script);
  EXPECT_EQ(script.Unexpected(), 0);
  ASSERT_EQ(Form.ResultTable().RowCount(), 1u);
  EXPECT_TRUE(test::Named<QAction>(Form, "UndoItem")->isEnabled());
}

TEST_F(Form1ResultFiles, TheFontGroupIsWrittenOnlyOnceTheTextFontChanged) {
  AddPassRows(Form, 1);
  const std::string plain = File("plain.vtr");
  TModalScript first;
  first.Then(ChooseFile(Q(plain))).Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  EXPECT_EQ(Contents(plain).find("Font.Color"), std::string::npos);

  // A simulation turns the text grey, the real pass after it black again.
  Form.ResultTable().StartPassRows(TPassRows::Simulation);
  Form.ResultTable().StartPassRows(TPassRows::Renames);
  const std::string after = File("after-simulation.vtr");
  TModalScript second;
  second.Then(ChooseFile(Q(after))).Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  const std::string bytes = Contents(after);
  EXPECT_NE(bytes.find(TStreamBuilder().Name("Font.Color").Ident("clBlack").Bytes()), std::string::npos);
}

TEST_F(Form1ResultFiles, ALoadKeepsTheGreyOfASimulationUnlessTheFileHasAFont) {
  const QColor grey(128, 128, 128);
  const std::string noFont = SavedFile("no-font.vtr", 1);
  const std::string black = File("black.vtr");
  Put(black, TStreamBuilder()
                 .Header()
                 .Name("Font.Color")
                 .Ident("clBlack")
                 .Name("Items.Data")
                 .Binary(test::RowBlock(1, test::RowRecord("a.txt", {"b.txt", "/d/", "Ok"})))
                 .End()
                 .End()
                 .Bytes());
  Form.ResultTable().StartPassRows(TPassRows::Simulation);  // as Simulate leaves it

  const auto textColour = [&] {
    return test::Named<TResultListView>(Form, "ListView")
        ->model()
        ->index(0, 0)
        .data(Qt::ForegroundRole)
        .value<QColor>();
  };
  TModalScript first;
  first.Then(ChooseFile(Q(noFont)));
  Load(Form, first);
  EXPECT_EQ(textColour(), grey);
  TModalScript second;
  second.Then(ChooseFile(Q(black)));
  Load(Form, second);
  EXPECT_EQ(textColour(), QColor(Qt::black));
  EXPECT_TRUE(test::Named<QAction>(Form, "UndoItem")->isEnabled());
}

TEST_F(Form1ResultFiles, AColumnWidthOfFiftyIsNotWrittenAndKeepsTheCurrentWidthOnLoading) {
  AddPassRows(Form, 1);
  test::Named<TResultListView>(Form, "ListView")->header()->resizeSection(1, 50);
  test::Named<TResultListView>(Form, "ListView")->header()->resizeSection(2, 51);
  const std::string path = File("fifty.vtr");
  TModalScript save;
  save.Then(ChooseFile(Q(path))).Run([&] { test::Named<QAction>(Form, "SaveAsItem")->trigger(); });
  TResultTable read;
  TResultLayout readLayout;
  ASSERT_TRUE(ReadResultStream(Contents(path), read, readLayout));
  EXPECT_EQ(readLayout.Columns()[1].Width, 150);  // not in the file: a new table keeps its own
  EXPECT_EQ(readLayout.Columns()[2].Width, 51);

  TForm1 later;
  test::Named<TResultListView>(later, "ListView")->header()->resizeSection(1, 99);
  TModalScript load;
  load.Then(ChooseFile(Q(path)));
  Load(later, load);
  EXPECT_EQ(test::Named<TResultListView>(later, "ListView")->header()->sectionSize(1), 99);
  EXPECT_EQ(test::Named<TResultListView>(later, "ListView")->header()->sectionSize(0), 150);
}

TEST_F(Form1ResultFiles, ClearWithSaveDisabledAsksNothing) {
  AddPassRows(Form, 2);
  test::Named<QAction>(Form, "SaveAsItem")->setEnabled(false);  // as after a simulation
  test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
  test::Named<QAction>(Form, "RenameItem")->setEnabled(false);
  TModalScript script;
  script.Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
  EXPECT_TRUE(script.Seen().isEmpty());
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
  EXPECT_EQ(StateOf(Form), (TWindowState{false, true, true, false, false, false}));
}

TEST_F(Form1ResultFiles, ClearAnsweredYesSavesThenClearsEvenWhenTheSaveIsCancelled) {
  AddPassRows(Form, 2);
  TModalScript cancelled;
  cancelled.Then(Press(QMessageBox::Yes)).Then(CancelDialog());
  cancelled.Run([&] { test::Named<QPushButton>(Form, "BtClearResult")->click(); });
  EXPECT_EQ(cancelled.Seen(),
            (QStringList{"Confirm|Do you want to save result before clearing?", "dialog:SaveDialog1"}));
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
  EXPECT_EQ(StateOf(Form), (TWindowState{false, true, true, false, false, false}));

  AddPassRows(Form, 2);
  const std::string path = File("kept.vtr");
  const std::string expected = WriteResultStream(Form.ResultTable(), Form.ResultLayout());
  TModalScript saved;
  saved.Then(Press(QMessageBox::Yes)).Then(ChooseFile(Q(path)));
  saved.Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
  EXPECT_EQ(Contents(path), expected);
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
}

TEST_F(Form1ResultFiles, ClearAnsweredNoClearsAndCancelChangesNothing) {
  AddPassRows(Form, 2);
  test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
  const TWindowState before = StateOf(Form);
  for (const int cancel : {int(QMessageBox::Cancel), -1}) {  // -1: the box closed with Escape
    TModalScript script;
    script.Then(cancel < 0 ? CancelDialog() : Press(cancel));
    script.Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
    EXPECT_EQ(Form.ResultTable().RowCount(), 2u);
    EXPECT_EQ(StateOf(Form), before);
  }
  TModalScript no;
  no.Then(Press(QMessageBox::No)).Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
  EXPECT_EQ(no.Seen().size(), 1);
  EXPECT_EQ(Form.ResultTable().RowCount(), 0u);
  EXPECT_FALSE(StateOf(Form).ResultPage);
}

TEST_F(Form1ResultFiles, TheClearQuestionDefaultsToYes) {
  AddPassRows(Form, 1);
  QString defaultButton, escapeButton;
  TModalScript script;
  script.Then([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    defaultButton = box->defaultButton()->text();
    escapeButton = box->escapeButton()->text();
    test::ButtonOf(*box, QMessageBox::Cancel)->click();
  });
  script.Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
  EXPECT_EQ(defaultButton, "&Yes");
  EXPECT_EQ(escapeButton, "Cancel");
  EXPECT_EQ(Form.ResultTable().RowCount(), 1u);
}

TEST_F(Form1ResultFiles, ClearOfAnEmptyTableDoesNothing) {
  test::Named<QAction>(Form, "ClearResultItem")->setEnabled(true);
  test::Named<QTabWidget>(Form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(Form, "TabSheetResults"));
  const TWindowState before = StateOf(Form);
  TModalScript script;
  script.Run([&] { test::Named<QAction>(Form, "ClearResultItem")->trigger(); });
  EXPECT_TRUE(script.Seen().isEmpty());
  EXPECT_EQ(StateOf(Form), before);
}

TEST_F(Form1ResultFiles, ASaveThatCannotCreateItsFileSaysSo) {
  AddPassRows(Form, 1);
  const std::string path = File("no-such-folder/r.vtr");
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok)).Run([&] {
    test::Named<QAction>(Form, "SaveAsItem")->trigger();
  });
  EXPECT_EQ(script.Seen().value(1), Q("Veltrane|Cannot create file " + path + "."));
}

// The kernel stops the file at 64 KB, part-way through the rows.
TEST_F(Form1ResultFiles, ASaveThatFailsHalfWayLeavesThePreviousFile) {
  const std::string path = SavedFile("pass.vtr", 3);
  const std::string before = Contents(path);
  AddPassRows(Form, 5000);
  test::TFileSizeLimit limit(65536);
  ASSERT_TRUE(limit.Applied());
  TModalScript script;
  script.Then(ChooseFile(Q(path))).Then(Press(QMessageBox::Ok)).Run([&] {
    test::Named<QAction>(Form, "SaveAsItem")->trigger();
  });
  limit.Lift();
  EXPECT_EQ(script.Seen().value(1), "Veltrane|Stream write error.");
  EXPECT_EQ(Contents(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder.Path()), {}), 1);
}

}  // namespace
}  // namespace vt
