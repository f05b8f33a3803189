#include "ui/OpenPaths.h"

#include <QFileInfo>
#include <QLineEdit>

#include "browse/FilterDirectoryListBox.h"
#include "engine/MessageKind.h"
#include "platform/CurrentFolder.h"
#include "ui/Form1.h"
#include "ui/MessageBoxes.h"
#include "ui/NameBytes.h"

namespace vt {

QString OpenPlanNotice(const TOpenPlan& plan, std::size_t files) {
  switch (plan.Outcome) {
    case MaskOutcome::TooLong:
      return QStringLiteral(
                 "The names of the %1 files do not fit in the %2 characters of \"Search :\"; "
                 "it is set to \"*.*\" instead.")
          .arg(files)
          .arg(kLongestOpenedMasks);
    case MaskOutcome::NotAMask:
      return QStringLiteral(
          "A file name holds \";\", which separates the masks of \"Search :\"; "
          "it is set to \"*.*\" instead.");
    case MaskOutcome::Unchanged:
    case MaskOutcome::Names: break;
  }
  return {};
}

void OpenPaths(TForm1& form, const std::vector<std::string>& paths) {
  const TOpenPlan plan = PlanOpen(paths, GetCurrentFolder(), PathKindOf);
  if (plan.Folder.empty()) return;
  auto* folders = form.findChild<TFilterDirectoryListBox*>("FilterDirectoryListBox1");
  auto* masks = form.findChild<QLineEdit*>("EdSearch");
  folders->SetFolder(plan.Folder);
  // A folder that could not be entered has been reported; its masks are of no use.
  const auto canonical = [](const std::string& path) { return QFileInfo(NameText(path)).canonicalFilePath(); };
  if (canonical(folders->Directory()) != canonical(plan.Folder)) return;
  if (plan.Outcome == MaskOutcome::Unchanged) return;
  masks->setText(NameText(plan.Masks));
  const QString notice = OpenPlanNotice(plan, paths.size() - plan.Missing.size() - plan.LeftOut.size());
  if (!notice.isEmpty()) ShowMessageBox(TMessageKind::Information, notice);
}

}  // namespace vt
