#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/ControlPage.h"
#include "ui/Form1.h"
#include "ui/PreviewSwitch.h"

namespace vt {
namespace {

// No menu item has a shortcut key; "&" only marks the access letter.
QAction* AddItem(QMenu* menu, const char* name, const QString& caption, bool enabled) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  item->setEnabled(enabled);
  return item;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(name);
  return separator;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(QString(name) + "Action");
  return menu;
}

}  // namespace

void TForm1::BuildMenus() {
  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName("MainMenu1");
  // Inside the window on every desktop, as the fixed layout expects.
  MainMenu1->setNativeMenuBar(false);
  setMenuBar(MainMenu1);

  FileMnu = AddMenu(MainMenu1, "FileMnu", "&File");
  LoadResultItem = AddItem(FileMnu, "LoadResultItem", "&Load Result...", true);
  SaveAsItem = AddItem(FileMnu, "SaveAsItem", "&Save Result...", false);
  ClearResultItem = AddItem(FileMnu, "ClearResultItem", "&Clear Result", false);
  N1 = AddSeparator(FileMnu, "N1");
  QuitItem = AddItem(FileMnu, "QuitItem", "&Quit", true);

  ExecMnu = AddMenu(MainMenu1, "ExecMnu", "Exec&ute");
  UndoItem = AddItem(ExecMnu, "UndoItem", "Rec&over", false);
  HistoryItem = AddItem(ExecMnu, "HistoryItem", "Recover an &earlier pass…", true);
  N2 = AddSeparator(ExecMnu, "N2");
  SimulItem = AddItem(ExecMnu, "SimulItem", "Si&mulate", true);
  RenameItem = AddItem(ExecMnu, "RenameItem", "&Rename", true);
  N4 = AddSeparator(ExecMnu, "N4");
  StopItem = AddItem(ExecMnu, "StopItem", "&Stop", true);
  AddSeparator(ExecMnu, "N5");
  // The file list's new names; the page is built after the menus and reads the same choice.
  QAction* preview = AddItem(ExecMnu, "PreviewItem", "&Preview New Names", true);
  preview->setCheckable(true);
  preview->setChecked(PreviewWanted());
  connect(preview, &QAction::toggled, this, [this](bool on) {
    RememberPreview(on);
    if (ControlPage_ != nullptr) ControlPage_->SetPreviewOn(on);
  });

  HelpMnu = AddMenu(MainMenu1, "HelpMnu", "&Help");
  HelpItem = AddItem(HelpMnu, "HelpItem", "Help &Topics", true);
  N3 = AddSeparator(HelpMnu, "N3");
  AboutItem = AddItem(HelpMnu, "AboutItem", "&About...", true);
}

}  // namespace vt
