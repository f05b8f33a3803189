// A folder or files named on the command line, or dropped on the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ModalScript.h"
#include "UiTestApp.h"
#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "platform/CurrentFolder.h"
#include "support/TempFolder.h"
#include "ui/Form1.h"
#include "ui/OpenPaths.h"

namespace vt {
namespace {

using test::Press;
using test::TModalScript;
using test::WaitUntil;

class OpenPaths : public ::testing::Test {
 protected:
  OpenPaths() {
    Root_ = Temp_.Path().string();
    std::filesystem::create_directories(Root_ + "/Photos");
    for (const char* name : {"IMG_1.JPG", "IMG_2.JPG", "notes.txt"}) std::ofstream(Root_ + "/Photos/" + name) << "x";
    Form = std::make_unique<TForm1>();
    Form->show();
  }
  ~OpenPaths() override {
    Form.reset();
    SetCurrentFolder(Kept_);
  }
  std::string Path(const std::string& name) const { return Root_ + "/" + name; }

  // Drops the paths on the window as a file manager does.
  bool Drop(const std::vector<std::string>& paths, QWidget* target = nullptr) {
    QMimeData data;
    QList<QUrl> urls;
    for (const auto& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    QWidget* on = target ? target : Form.get();
    const QPoint at = on->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &drop);
    return drop.isAccepted();
  }

  std::string Kept_ = GetCurrentFolder();
  test::TTempFolder Temp_;  // made before the window, removed after it
  std::string Root_;
  std::unique_ptr<TForm1> Form;
};

TEST_F(OpenPaths, AFolderMovesTheFolderListAndKeepsTheMasks) {
  test::Named<QLineEdit>(*Form, "EdSearch")->setText("*.JPG");
  vt::OpenPaths(*Form, {Path("Photos")});
  EXPECT_EQ(test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->Directory(), Path("Photos"));
  EXPECT_EQ(test::Named<QLineEdit>(*Form, "EdSearch")->text(), "*.JPG");
  ASSERT_TRUE(test::WaitUntil([&] { return !test::Named<TFileListBox>(*Form, "FileListBox1")->FillPending(); }));
  EXPECT_EQ(test::Named<TFileListBox>(*Form, "FileListBox1")->Names(), (QStringList{"IMG_1.JPG", "IMG_2.JPG"}));
}

TEST_F(OpenPaths, FilesOpenTheirFolderWithTheirNamesAsMasks) {
  vt::OpenPaths(*Form, {Path("Photos/IMG_2.JPG"), Path("Photos/notes.txt")});
  EXPECT_EQ(test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->Directory(), Path("Photos"));
  EXPECT_EQ(test::Named<QLineEdit>(*Form, "EdSearch")->text(), "IMG_2.JPG;notes.txt");
  ASSERT_TRUE(test::WaitUntil([&] { return !test::Named<TFileListBox>(*Form, "FileListBox1")->FillPending(); }));
  EXPECT_EQ(test::Named<TFileListBox>(*Form, "FileListBox1")->Names(), (QStringList{"IMG_2.JPG", "notes.txt"}));
}

TEST_F(OpenPaths, NamesBeyond255CharactersGiveAllFilesAndSayWhy) {
  std::vector<std::string> paths;
  for (int i = 0; i < 30; ++i) {
    const std::string name = "a-rather-long-file-name-" + std::to_string(i) + ".txt";
    std::ofstream(Path("Photos/" + name)) << "x";
    paths.push_back(Path("Photos/" + name));
  }
  TModalScript script;
  script.Then(Press(QMessageBox::Ok));
  script.Run([&] { vt::OpenPaths(*Form, paths); });
  EXPECT_EQ(test::Named<QLineEdit>(*Form, "EdSearch")->text(), "*.*");
  ASSERT_EQ(script.Seen().size(), 1);
  EXPECT_TRUE(script.Seen()[0].startsWith("Information|The names of the 30 files do not fit in the 255 characters"))
      << script.Seen()[0].toStdString();
}

TEST_F(OpenPaths, ADroppedFolderOrFilesOpenAsTheArgumentDoes) {
  ASSERT_TRUE(Drop({Path("Photos")}));
  ASSERT_TRUE(WaitUntil([&] {
    return test::Named<TFilterDirectoryListBox>(*Form, "FilterDirectoryListBox1")->Directory() == Path("Photos");
  }));
  EXPECT_EQ(test::Named<QLineEdit>(*Form, "EdSearch")->text(), "*.*");
  // Dropped on a control inside the window.
  ASSERT_TRUE(Drop({Path("Photos/IMG_1.JPG")}, test::Named<TFileListBox>(*Form, "FileListBox1")));
  ASSERT_TRUE(WaitUntil([&] { return test::Named<QLineEdit>(*Form, "EdSearch")->text() == "IMG_1.JPG"; }));
}

TEST_F(OpenPaths, WhatIsNoLocalFileIsRefused) {
  QMimeData text;
  text.setText("hello");
  QDragEnterEvent enter({10, 10}, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Form.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  QMimeData remote;
  remote.setUrls({QUrl("https://example.org/a.jpg")});
  QDragEnterEvent enterRemote({10, 10}, Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Form.get(), &enterRemote);
  EXPECT_FALSE(enterRemote.isAccepted());
}

}  // namespace
}  // namespace vt
