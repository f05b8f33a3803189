// Renders the windows into PNG files for the documentation and the metainfo:
//   veltrane-screenshot <folder>
// writes main-window.png (as start-up shows it), about-box.png, search-settings.png
// (Search/Replace set up on the Control page), file-list-preview.png (the file
// list with the new names those settings give) and result-table.png (a real
// simulation with those settings over the current folder), then the result
// table and the main window again with a dark palette (result-table-dark.png,
// main-window-dark.png). Given a folder of photos too, photo-fields.png: the
// photos numbered in the order taken, named by the date taken.
//   veltrane-screenshot <folder> [<folder of photos>]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "browse/FileListBox.h"
#include "browse/FilterDirectoryListBox.h"
#include "passes/RunControl.h"
#include "ui/ControlPage.h"
#include "ui/Form1.h"
#include "ui/FrmAbout.h"
#include "ui/PaletteColours.h"
#include "ui/Startup.h"

namespace {

bool Save(QWidget& widget, const std::string& path) {
  const QPixmap picture = widget.grab();
  if (!picture.save(QString::fromStdString(path), "PNG")) {
    std::fprintf(stderr, "veltrane-screenshot: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

// Each step runs once the window has been laid out and painted after the last.
void RunSteps(std::vector<std::function<void()>> steps, std::size_t next = 0) {
  if (next == steps.size()) {
    QApplication::quit();
    return;
  }
  QTimer::singleShot(300, [steps = std::move(steps), next]() mutable {
    steps[next]();
    RunSteps(std::move(steps), next + 1);
  });
}

// Runs the event loop until done() holds; false if it did not within a minute.
bool WaitUntil(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

// The file list is read on a worker: a picture waits for its names.
bool FileListFilled(vt::TForm1& form) {
  const auto* files = form.findChild<vt::TFileListBox*>("FileListBox1");
  return WaitUntil([files] { return !files->FillPending(); });
}

// Simulate as a user presses it; returns once the pass has ended and the file
// list shows the folder again.
bool Simulate(vt::TForm1& form) {
  form.findChild<QPushButton*>("BtSimul")->click();
  return WaitUntil([&form] { return !form.RunControl().PassAlive(); }) && FileListFilled(form);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: veltrane-screenshot <folder for the pictures> [<folder of photos>]\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const std::string photos = argc == 3 ? argv[2] : "";
  const QPalette light = QApplication::palette();
  vt::SetUpApplication(app);
  const vt::TApplicationWindows windows = vt::CreateApplicationWindows();
  vt::TForm1& form = *windows.Form1;
  form.show();
  int status = 0;
  const auto save = [&](QWidget& widget, const char* name) {
    if (!Save(widget, folder + name)) status = 1;
  };
  RunSteps({
      [&] {
        if (!FileListFilled(form)) {
          std::fputs("veltrane-screenshot: the file list was not read\n", stderr);
          status = 1;
        }
        save(form, "main-window.png");
        windows.FrmAbout->show();
      },
      [&] {
        save(*windows.FrmAbout, "about-box.png");
        windows.FrmAbout->hide();
        form.findChild<QLineEdit*>("EdSearchFor")->setText("IMG_");
        form.findChild<QLineEdit*>("EdReplaceWith")->setText("Rome 2025 - ");
        form.findChild<QCheckBox*>("ChkBxCaseSensitive")->setChecked(true);
      },
      [&] {
        save(form, "search-settings.png");
        // The folder and file lists with the preview of the whole folder, clash marks and all.
        auto* page = form.findChild<vt::TControlPage*>("TabSheetControls");
        form.findChild<QAction*>("PreviewItem")->trigger();
        if (!WaitUntil([page] { return page->PreviewSettled(); })) {
          std::fputs("veltrane-screenshot: the preview did not come\n", stderr);
          status = 1;
        }
        const QPixmap lists = page->grab(QRect(0, 0, page->width(), 200));
        if (!lists.save(QString::fromStdString(folder + "file-list-preview.png"), "PNG")) status = 1;
        form.findChild<QCheckBox*>("ChkBxAllRecord")->setChecked(true);
        if (!Simulate(form)) {
          std::fputs("veltrane-screenshot: the simulation did not end\n", stderr);
          status = 1;
        }
      },
      [&] {
        save(form, "result-table.png");
        // The same with a dark desktop palette.
        QApplication::setPalette(vt::DarkPalette());
      },
      [&] {
        save(form, "result-table-dark.png");
        form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
      },
      [&] {
        save(form, "main-window-dark.png");
        if (photos.empty()) return;
        // Photos numbered in the order taken and named by the date: the fields' example.
        QApplication::setPalette(light);
        form.findChild<QCheckBox*>("ChkBxAllRecord")->setChecked(false);
        form.findChild<vt::TFilterDirectoryListBox*>("FilterDirectoryListBox1")->SetFolder(photos);
        form.findChild<QComboBox*>("ComboOrder")->setCurrentIndex(3);
        form.findChild<QCheckBox*>("ChkBxUseFields")->setChecked(true);
        form.findChild<QListWidget*>("LstBoxActions")->setCurrentRow(3);
        form.findChild<QCheckBox*>("ChkBxUseBaseFilename")->setChecked(true);
        form.findChild<QComboBox*>("ComboBaseFileName")->setEditText("{taken} Rome ");
        form.findChild<QLineEdit*>("EdStartNumber")->setText("001");
      },
      [&] {
        if (photos.empty()) return;
        auto* page = form.findChild<vt::TControlPage*>("TabSheetControls");
        if (!FileListFilled(form) || !WaitUntil([page] { return page->PreviewSettled(); })) {
          std::fputs("veltrane-screenshot: the photos' preview did not come\n", stderr);
          status = 1;
        }
        save(form, "photo-fields.png");
      },
  });
  QApplication::exec();
  return status;
}
