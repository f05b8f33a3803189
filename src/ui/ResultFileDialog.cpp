#include "ui/ResultFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "ui/Form1PassJournal.h"
#include "ui/NameBytes.h"

namespace vt {
namespace {

// Kept on the dialog itself, which lives as long as the window.
constexpr char kLastName[] = "LastName";

// The Load dialog lists the folder of the automatic records beside the user's
// places, so that a user finds them.
void OfferRecordsFolder(QFileDialog& dialog) {
  if (dialog.acceptMode() != QFileDialog::AcceptOpen) return;
  const std::optional<std::string> folder = RecordsFolder();
  if (!folder || !QFileInfo(QString::fromStdString(*folder)).isDir()) return;
  const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(QString::fromStdString(*folder)));
  QList<QUrl> urls = dialog.sidebarUrls();
  if (urls.contains(url)) return;
  urls.append(url);
  dialog.setSidebarUrls(urls);
}

}  // namespace

std::optional<std::string> ChooseResultFile(QFileDialog& dialog) {
  dialog.setDefaultSuffix("vtr");
  dialog.setDirectory(QDir::currentPath());
  dialog.selectFile(dialog.property(kLastName).toString());
  OfferRecordsFolder(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  dialog.setProperty(kLastName, QFileInfo(chosen.front()).fileName());
  return NameBytes(chosen.front());
}

}  // namespace vt
