// The main window as a whole: size and frame, fonts, menus, commands shared by a
// button and a menu item, the focus order and the result list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <memory>
#include <string>

#include "UiTestApp.h"
#include "browse/FileListBox.h"
#include "ui/Form1.h"
#include "ui/ResultListView.h"
#include "ui/ResultTableModel.h"
#include "ui/WindowFont.h"

namespace vt {
namespace {

using test::WaitUntil;

TEST(Form1Window, ClientAreaIsFixedAtItsSizeWithoutMaximiseButton) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.isVisible(); }));
  EXPECT_EQ(form.centralWidget()->size(), QSize(620, 394));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.height(), form.menuBar()->height() + 394);
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  // Asking for another size changes nothing.
  form.resize(800, 600);
  EXPECT_EQ(form.centralWidget()->size(), QSize(620, 394));
  EXPECT_EQ(form.size(), form.minimumSize());
}

TEST(Form1Window, OpensCentredOnTheScreen) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.isVisible(); }));
  const QPoint centre = form.screen()->availableGeometry().center();
  EXPECT_LE((form.frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST(Form1Window, FontIsTheLogicalFontOnAnInstalledSansFont) {
  TForm1 form;
  EXPECT_EQ(form.font().family(), kLogicalFontName);
  EXPECT_EQ(form.font().pixelSize(), 11);
  const QString actual = QFontInfo(form.font()).family();
  EXPECT_TRUE(actual == "Liberation Sans" || actual == "DejaVu Sans") << actual.toStdString();
  EXPECT_EQ(QFontInfo(test::Named<QLineEdit>(form, "EdSearchFor")->font()).family(), actual);
  EXPECT_EQ(form.palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(Form1Window, CaptionsFitTheirControls) {
  TForm1 form;
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.isVisible(); }));
  for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
    if (button->text().isEmpty() || !button->parentWidget() || button->objectName().isEmpty()) continue;
    SCOPED_TRACE(button->objectName().toStdString());
    // Caption, image and the spacing between them inside the button's frame.
    const int image = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + image + 8, button->width());
    EXPECT_LE(button->fontMetrics().height(), button->height() - 4);
  }
}

struct MenuRow {
  const char* Menu;
  const char* Item;
  const char* Caption;  // nullptr: a separator
  bool Enabled;
};

constexpr MenuRow kMenus[] = {
    {"FileMnu", "LoadResultItem", "&Load Result...", true},
    {"FileMnu", "SaveAsItem", "&Save Result...", false},
    {"FileMnu", "ClearResultItem", "&Clear Result", false},
    {"FileMnu", "N1", nullptr, true},
    {"FileMnu", "QuitItem", "&Quit", true},
    {"ExecMnu", "UndoItem", "Rec&over", false},
    {"ExecMnu", "HistoryItem", "Recover an &earlier pass…", true},
    {"ExecMnu", "N2", nullptr, true},
    {"ExecMnu", "SimulItem", "Si&mulate", true},
    {"ExecMnu", "RenameItem", "&Rename", true},
    {"ExecMnu", "N4", nullptr, true},
    {"ExecMnu", "StopItem", "&Stop", true},
    {"ExecMnu", "N5", nullptr, true},
    {"ExecMnu", "PreviewItem", "&Preview New Names", true},
    {"ExecMnu", "ChainsItem", "Let renames make room for each other", true},
    {"HelpMnu", "HelpItem", "Help &Topics", true},
    {"HelpMnu", "N3", nullptr, true},
    {"HelpMnu", "AboutItem", "&About...", true},
};

TEST(Form1Window, MenusAndTheirItemsInOrder) {
  TForm1 form;
  ASSERT_EQ(test::Named<QMenuBar>(form, "MainMenu1")->objectName(), "MainMenu1");
  const QList<QAction*> bar = test::Named<QMenuBar>(form, "MainMenu1")->actions();
  ASSERT_EQ(bar.size(), 3);
  const char* const menus[][2] = {{"FileMnu", "&File"}, {"ExecMnu", "Exec&ute"}, {"HelpMnu", "&Help"}};
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(bar[i]->menu(), nullptr);
    EXPECT_EQ(bar[i]->menu()->objectName(), menus[i][0]);
    EXPECT_EQ(bar[i]->text(), menus[i][1]);
  }
  std::size_t row = 0;
  for (QAction* menuAction : bar) {
    for (QAction* item : menuAction->menu()->actions()) {
      ASSERT_LT(row, std::size(kMenus));
      const MenuRow& expected = kMenus[row++];
      SCOPED_TRACE(expected.Item);
      EXPECT_EQ(menuAction->menu()->objectName(), expected.Menu);
      EXPECT_EQ(item->objectName(), expected.Item);
      EXPECT_EQ(item->isSeparator(), expected.Caption == nullptr);
      if (expected.Caption) {
        EXPECT_EQ(item->text(), expected.Caption);
      }
      EXPECT_EQ(item->isEnabled(), expected.Enabled);
      EXPECT_TRUE(item->shortcut().isEmpty());
    }
  }
  EXPECT_EQ(row, std::size(kMenus));
}

TEST(Form1Window, ButtonAndMenuItemShareTheirEnabledState) {
  TForm1 form;
  const struct {
    QAbstractButton* Button;
    QAction* Item;
  } pairs[] = {{test::Named<QPushButton>(form, "BtRename"), test::Named<QAction>(form, "RenameItem")},
               {test::Named<QPushButton>(form, "BtSimul"), test::Named<QAction>(form, "SimulItem")},
               {test::Named<QToolButton>(form, "SpBtUndo"), test::Named<QAction>(form, "UndoItem")},
               {test::Named<QPushButton>(form, "BtSaveAsResult"), test::Named<QAction>(form, "SaveAsItem")},
               {test::Named<QPushButton>(form, "BtClearResult"), test::Named<QAction>(form, "ClearResultItem")},
               {test::Named<QPushButton>(form, "BtCancel"), test::Named<QAction>(form, "StopItem")},
               {test::Named<QPushButton>(form, "BtQuit"), test::Named<QAction>(form, "QuitItem")},
               {test::Named<QPushButton>(form, "BtLoadResult"), test::Named<QAction>(form, "LoadResultItem")}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.Button->objectName().toStdString());
    const bool initially = pair.Item->isEnabled();
    EXPECT_EQ(pair.Button->isEnabled(), initially);
    pair.Item->setEnabled(!initially);
    EXPECT_EQ(pair.Button->isEnabled(), !initially);
    pair.Button->setEnabled(initially);
    EXPECT_EQ(pair.Item->isEnabled(), initially);
  }
  // A parent's disabling is not the command's own.
  test::Named<QWidget>(form, "TabSheetResults")->setEnabled(false);
  test::Named<QWidget>(form, "TabSheetResults")->setEnabled(true);
  EXPECT_FALSE(test::Named<QAction>(form, "SaveAsItem")->isEnabled());
  EXPECT_TRUE(test::Named<QAction>(form, "LoadResultItem")->isEnabled());
  test::Named<QFrame>(form, "Panel2")->setEnabled(false);
  EXPECT_TRUE(test::Named<QAction>(form, "LoadResultItem")->isEnabled());
  test::Named<QFrame>(form, "Panel2")->setEnabled(true);
  EXPECT_TRUE(test::Named<QPushButton>(form, "BtLoadResult")->isEnabled());
}

TEST(Form1Window, ButtonRunsTheHandlerOfItsMenuItem) {
  // Stop: with no pass running it changes nothing, so both clicks count.
  TForm1 form;
  test::Named<QListWidget>(form, "LstBoxActions")->setCurrentRow(3);  // Number: passes the checks without a box
  int runs = 0;
  QObject::connect(test::Named<QAction>(form, "StopItem"), &QAction::triggered, [&] { ++runs; });
  test::Named<QPushButton>(form, "BtCancel")->click();
  test::Named<QAction>(form, "StopItem")->trigger();
  EXPECT_EQ(runs, 2);
  test::Named<QAction>(form, "StopItem")->setEnabled(false);
  test::Named<QPushButton>(form, "BtCancel")->click();
  EXPECT_EQ(runs, 2);
}

TEST(Form1Window, EdSearchIsTheMaskOfTheFileList) {
  TForm1 form;
  EXPECT_EQ(test::Named<TFileListBox>(form, "FileListBox1")->Mask(), "*.*");
  test::Named<QLineEdit>(form, "EdSearch")->setText("*.txt;*.TXT");
  EXPECT_EQ(test::Named<TFileListBox>(form, "FileListBox1")->Mask(), "*.txt;*.TXT");
  test::Named<QLineEdit>(form, "EdSearch")->clear();
  EXPECT_EQ(test::Named<TFileListBox>(form, "FileListBox1")->Mask(), "");
}

// Presses Tab from the tab bar on and names each control the focus reaches.
QStringList TabThrough(TForm1& form, int presses) {
  QStringList order;
  test::Named<QTabWidget>(form, "PageControl1")->tabBar()->setFocus(Qt::TabFocusReason);
  for (int i = 0; i < presses; ++i) {
    QWidget* focus = QApplication::focusWidget();
    order << test::NamedAncestor(focus);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(focus, &tab);
  }
  return order;
}

TEST(Form1Window, FocusOrderOfTheWindowAndTheControlPage) {
  TForm1 form;
  form.show();
  form.activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return form.isActiveWindow(); }));
  const QStringList expected = {"PageControl1",
                                "FileListBox1",
                                "ChkBxIncSubDir",
                                "ChkBxRestartPerFolder",
                                "ChkBxUseFields",
                                "ComboOrder",
                                "ChkBxReverse",
                                "EdSearch",
                                "EdSearchFor",
                                "EdReplaceWith",
                                "ChkBxRegex",
                                "ChkBxSearchInExt",
                                "ChkBxSearchRecursive",
                                "ChkBxCaseSensitive",
                                "LstBoxActions",
                                "FilterDirectoryListBox1",
                                "FilterDriveComboBox1",
                                "BtCancel",
                                "BtRename",
                                "BtSimul",
                                "BtQuit",
                                "PageControl1"};
  EXPECT_EQ(TabThrough(form, int(expected.size())), expected);
  EXPECT_EQ(test::Named<QToolButton>(form, "SpBtUndo")->focusPolicy(), Qt::NoFocus);
}

TEST(Form1Window, FocusOrderOnTheResultPage) {
  TForm1 form;
  form.show();
  form.activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return form.isActiveWindow(); }));
  test::Named<QTabWidget>(form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(form, "TabSheetResults"));
  test::Named<QPushButton>(form, "BtSaveAsResult")->setEnabled(true);
  const QStringList expected = {"PageControl1", "ListView",       "ChkBxAllRecord",
                                "BtLoadResult", "BtSaveAsResult", "BtCancel"};
  EXPECT_EQ(TabThrough(form, int(expected.size())), expected);
}

TEST(Form1Window, ResultListShowsTheTableReadOnly) {
  TForm1 form;
  TResultTable& table = form.ResultTable();
  QAbstractItemModel* model = test::Named<TResultListView>(form, "ListView")->model();
  ASSERT_EQ(model->columnCount(), 4);
  const char* const captions[] = {"File", "New Name", "Path", "Status"};
  const int widths[] = {150, 150, 176, 130};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), captions[c]);
    EXPECT_EQ(test::Named<TResultListView>(form, "ListView")->header()->sectionSize(c), widths[c]);
  }
  EXPECT_EQ(model->rowCount(), 0);
  table.AppendRow("a.txt", "b.txt", "/tmp/x/", "Ok");
  table.AppendRow("c.txt", "", "/tmp/x/", "No Match");
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(model->data(model->index(0, 0)).toString(), "a.txt");
  EXPECT_EQ(model->data(model->index(0, 1)).toString(), "b.txt");
  EXPECT_EQ(model->data(model->index(1, 3)).toString(), "No Match");
  EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_EQ(test::Named<TResultListView>(form, "ListView")->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(test::Named<TResultListView>(form, "ListView")->showGrid());
  table.Clear();
  EXPECT_EQ(model->rowCount(), 0);
}

TEST(Form1Window, ResultListTextTakesTheTableColour) {
  TForm1 form;
  TResultTable& table = form.ResultTable();
  table.AppendRow("a.txt", "b.txt", "/tmp/", "Ok");
  QAbstractItemModel* model = test::Named<TResultListView>(form, "ListView")->model();
  EXPECT_EQ(model->data(model->index(0, 2), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  table.StartPassRows(TPassRows::Simulation);
  EXPECT_EQ(model->data(model->index(0, 2), Qt::ForegroundRole).value<QColor>(), QColor(128, 128, 128));
  table.StartPassRows(TPassRows::Renames);
  EXPECT_EQ(model->data(model->index(0, 2), Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
  // Colour values are stored blue-green-red.
  EXPECT_EQ(ScreenColor(0x0000FF), QColor(255, 0, 0));
}

TEST(Form1Window, ColumnWidthsGoBothWaysBetweenListAndTable) {
  TForm1 form;
  TResultLayout& table = form.ResultLayout();
  test::Named<TResultListView>(form, "ListView")->header()->resizeSection(2, 210);  // as a drag does
  EXPECT_EQ(table.Columns()[2].Width, 210);
  table.SetColumnWidth(0, 90);
  EXPECT_EQ(test::Named<TResultListView>(form, "ListView")->header()->sectionSize(0), 90);
  EXPECT_EQ(table.Columns()[1].Width, 150);
}

TEST(Form1Window, TableRecordsThePlacementOfTheList) {
  TForm1 form;
  form.show();
  test::Named<QTabWidget>(form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(form, "TabSheetResults"));
  ASSERT_TRUE(WaitUntil([&] { return test::Named<TResultListView>(form, "ListView")->isVisible(); }));
  const TResultLayout& table = form.ResultLayout();
  EXPECT_EQ(table.Left, 0);
  EXPECT_EQ(table.Top, 0);
  EXPECT_EQ(table.Width, test::Named<TResultListView>(form, "ListView")->width());
  EXPECT_EQ(table.Height, test::Named<TResultListView>(form, "ListView")->height());
  EXPECT_EQ(test::Named<TResultListView>(form, "ListView")->height() + test::Named<QFrame>(form, "Panel2")->height(),
            test::Named<QWidget>(form, "TabSheetResults")->height());
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

// The window's table goes before its widgets; a view laid out while the window
// closes on destruction must not read it.
TEST(Form1Window, AShownWindowWithManyRowsIsDestroyedCleanly) {
  auto form = std::make_unique<TForm1>();
  for (int i = 0; i < 2000; ++i) form->ResultTable().AppendRow("file" + std::to_string(i), "new", "/tmp/", "Ok");
  test::Named<QTabWidget>(*form, "PageControl1")->setCurrentWidget(test::Named<QWidget>(*form, "TabSheetResults"));
  form->show();
  ASSERT_TRUE(test::WaitUntil([&] { return test::Named<TResultListView>(*form, "ListView")->isVisible(); }));
  form.reset();
}

}  // namespace
}  // namespace vt
