#include "ui/ResultFileDialog.h"
#include "ui/NameBytes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vt {
namespace {

// Kept on the dialog itself, which lives as long as the window.
constexpr char kLastName[] = "LastName";

}  // namespace

std::optional<std::string> ChooseResultFile(QFileDialog& dialog) {
  dialog.setDefaultSuffix("vtr");
  dialog.setDirectory(QDir::currentPath());
  dialog.selectFile(dialog.property(kLastName).toString());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  dialog.setProperty(kLastName, QFileInfo(chosen.front()).fileName());
  return NameBytes(chosen.front());
}

}  // namespace vt
