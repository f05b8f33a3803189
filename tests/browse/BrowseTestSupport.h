#pragma once
// What the widget tests share: a temporary tree, an own mount table, a
// recorder of application errors and the process's current folder kept.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "browse/ApplicationError.h"
#include "browse/FileListBox.h"
#include "platform/MountTable.h"
#include "platform/Volumes.h"
#include "support/TempFolder.h"

namespace vt::test {

class TTempTree {
 public:
  TTempTree() : Path_(Folder_.Path().string()) {}
  const std::string& Path() const { return Path_; }
  std::string operator/(const std::string& name) const { return Path_ + "/" + name; }
  std::string Dir(const std::string& name) const {
    std::filesystem::create_directories(*this / name);
    return *this / name;
  }
  std::string File(const std::string& name) const {
    std::filesystem::create_directories(std::filesystem::path(*this / name).parent_path());
    std::ofstream(*this / name) << "x";
    return *this / name;
  }

 private:
  TTempFolder Folder_;  // support/TempFolder.h: made first, removed last
  std::string Path_;
};

class TScopedMounts {
 public:
  TScopedMounts(const std::string& mountInfo, const std::string& deviceRoot) {
    SetMountTableForTesting(mountInfo);
    SetDeviceFilesRootForTesting(deviceRoot);
  }
  ~TScopedMounts() {
    SetMountTableForTesting(std::nullopt);
    SetDeviceFilesRootForTesting("");
  }
};

class TErrorRecorder {
 public:
  TErrorRecorder() {
    SetApplicationErrorHandler([this](const QString& text) { Errors_.push_back(text); });
  }
  ~TErrorRecorder() { SetApplicationErrorHandler(nullptr); }
  const QStringList& Errors() const { return Errors_; }

 private:
  QStringList Errors_;
};

class TFolderGuard {
 public:
  TFolderGuard() : Saved_(std::filesystem::current_path()) {}
  ~TFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(Saved_, ignored);
  }

 private:
  std::filesystem::path Saved_;
};

inline std::string Mount(int id, const std::string& device, const std::string& mountPoint, const std::string& type,
                         const std::string& source) {
  return std::to_string(id) + " 1 " + device + " / " + mountPoint + " rw,relatime - " + type + " " + source + " rw\n";
}

// Counts the emissions of one signal while it lives.
class TSignalCount {
 public:
  template <class Sender, class Signal>
  TSignalCount(Sender* sender, Signal signal) {
    QObject::connect(sender, signal, &Context_, [this] { ++Count_; });
  }
  int count() const { return Count_; }

 private:
  QObject Context_;
  int Count_ = 0;
};

// Runs the event loop until the file list shows its newest fill's names.
inline bool Filled(const TFileListBox& files) {
  return QTest::qWaitFor([&] { return !files.FillPending(); }, 10000);
}

inline std::string CurrentPath() { return std::filesystem::current_path().string(); }

inline void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

}  // namespace vt::test

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
