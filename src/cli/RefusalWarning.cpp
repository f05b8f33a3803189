#include "cli/RefusalWarning.h"

#include <cstddef>

#include "cli/Complaint.h"
#include "cli/RowFormat.h"
#include "cli/RowTally.h"
#include "passes/VolumeRefusals.h"

namespace vt {
namespace {

constexpr std::size_t kRefusalsShown = 10;  // as many as the clashes a simulation names

}  // namespace

bool RefusalsAllowPass(const TSearchPassOptions& options, const TRenameSettings& settings,
                       const TPromptEnvironment& environment, const std::function<bool()>& interrupted) {
  const TRefusalLook look = RefusalLookFor(options, settings);
  if (look == TRefusalLook::None) return true;
  const TVolumeRefusals refused = LookForRefusals(look, options, settings, kRefusalsShown, interrupted);
  if (interrupted && interrupted()) return false;
  if (refused.Count == 0) return true;
  for (const TRefusedRename& rename : refused.First)
    Complain(environment.Err, "warning: '" + TerminalText(rename.NewName) + "' in " + TerminalText(rename.Folder) +
                                  " (now '" + TerminalText(rename.OldName) +
                                  "'): " + FailureReason(rename.Error, TRowOrigin::Rename));
  if (refused.Count > refused.First.size())
    Complain(environment.Err,
             "warning: " + std::to_string(refused.Count - refused.First.size()) + " more new names the volume refuses");
  const std::string files = refused.Count == 1 ? "1 file" : std::to_string(refused.Count) + " files";
  return ConfirmPass("The volume refuses the new names of " + files +
                         ": they will keep their names.\nDo you really want to rename the others?",
                     environment);
}

}  // namespace vt
