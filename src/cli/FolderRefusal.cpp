#include "cli/FolderRefusal.h"

#include "cli/RowFormat.h"
#include "platform/SysErrorText.h"

namespace vt {

std::string FolderRefusalText(const TUntrustedFolder& refused) {
  const std::string path = TerminalText(refused.Path);
  switch (refused.Fault) {
    case TFolderFault::OthersCanWrite:
      return "other users can write to " + path +
             ", so they could swap or plant the records of your passes; make it yours alone with: chmod go-w " + path;
    case TFolderFault::OwnedByOther:
      return path + " belongs to another user (uid " + std::to_string(refused.Owner) +
             "), who could swap or plant the records of your passes; use a folder of your own (move " + path +
             " away, or set XDG_STATE_HOME)";
    case TFolderFault::CannotCheck: break;
  }
  return "cannot check who may change " + path + ": " + SystemMessage(refused.Error);
}

}  // namespace vt
