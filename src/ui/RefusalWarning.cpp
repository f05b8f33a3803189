#include "ui/RefusalWarning.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <memory>
#include <utility>

#include "ui/ErrorReasons.h"
#include "ui/MessageBoxes.h"
#include "ui/NameBytes.h"

namespace vt {
namespace {

constexpr std::size_t kRefusalsShown = 5;  // the box stays on one screen

std::optional<TRefusalFinderForTesting>& FinderForTesting() {
  static std::optional<TRefusalFinderForTesting> finder;
  return finder;
}

}  // namespace

void SetRefusalFinderForTesting(std::optional<TRefusalFinderForTesting> finder) {
  FinderForTesting() = std::move(finder);
}

QString RefusalWarningText(const TVolumeRefusals& refused) {
  QString text = refused.Count == 1
                     ? QStringLiteral("Be careful, the volume refuses the new name of 1 file. It will keep its name:\n")
                     : QStringLiteral(
                           "Be careful, the volume refuses the new names of %1 files. They will keep "
                           "their names:\n")
                           .arg(refused.Count);
  for (const TRefusedRename& rename : refused.First)
    text += QStringLiteral("\n%1 \u2192 %2\n    %3")
                .arg(NameText(rename.OldName), NameText(rename.NewName), VolumeRefusalText(rename.Error));
  if (refused.Count > refused.First.size())
    text += QStringLiteral("\n\nand %1 more.").arg(refused.Count - refused.First.size());
  text += QStringLiteral("\n\nDo you really want to continue?");
  return text;
}

bool RefusalsAllowPass(const TSearchPassOptions& options, const TRenameSettings& settings, const TLookWindow& window) {
  const TRefusalLook look = RefusalLookFor(options, settings);
  if (look == TRefusalLook::None) return true;
  TRefusalFinder find = [look, options, settings](const std::function<bool()>& stopped,
                                                  std::atomic<std::uint64_t>& files) {
    return LookForRefusals(look, options, settings, kRefusalsShown, stopped, &files);
  };
  if (const std::optional<TRefusalFinderForTesting>& finder = FinderForTesting())
    find = [finder = *finder, options](const std::function<bool()>& stopped, std::atomic<std::uint64_t>& files) {
      return finder(options, stopped, files);
    };
  std::optional<TVolumeRefusals> found = TRefusalLookWorker(window).Run(std::move(find));
  if (!found) return false;
  const TVolumeRefusals& refused = *found;
  if (refused.Count == 0) return true;
  const std::unique_ptr<QMessageBox> box = MakeMessageBox(TMessageKind::Confirmation, RefusalWarningText(refused));
  box->setObjectName("VolumeRefusalsBox");
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  return clicked != nullptr && box->buttonRole(clicked) == QMessageBox::YesRole;
}

}  // namespace vt
