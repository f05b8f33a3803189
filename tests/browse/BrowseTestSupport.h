#pragma once
// What the widget tests share: a temporary tree, an own mount table, a
// recorder of application errors and the process's current folder kept.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <string>

#include "browse/ApplicationError.h"
#include "platform/MountTable.h"
#include "platform/Volumes.h"

namespace vt::test {

class TTempTree {
 public:
  TTempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vt-browse-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = std::filesystem::canonical(pattern).string();
  }
  ~TTempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
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
  std::string path_;
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
    SetApplicationErrorHandler([this](const QString& text) { errors_.push_back(text); });
  }
  ~TErrorRecorder() { SetApplicationErrorHandler(nullptr); }
  const QStringList& Errors() const { return errors_; }

 private:
  QStringList errors_;
};

class TFolderGuard {
 public:
  TFolderGuard() : saved_(std::filesystem::current_path()) {}
  ~TFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::filesystem::path saved_;
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
    QObject::connect(sender, signal, &context_, [this] { ++count_; });
  }
  int count() const { return count_; }

 private:
  QObject context_;
  int count_ = 0;
};

inline std::string CurrentPath() { return std::filesystem::current_path().string(); }

inline void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

}  // namespace vt::test
