#include "cli/ErrorWords.h"

#include "platform/SysErrorText.h"

namespace vt {

std::string ErrorReason(const TError& error) {
  if (error.Code != 0) return SystemMessage(error.Code);
  switch (error.Kind) {
    case TErrorKind::Read: return "cannot be read";
    case TErrorKind::NotJournal: return "not a journal";
    case TErrorKind::Create: return "cannot be created";
    case TErrorKind::Write: return "cannot be written";
    case TErrorKind::MakeFolder: return "cannot be made";
    case TErrorKind::InUse: return "in use by a pass still running";
  }
  return "failed";
}

std::string OpenFolderWarning(const std::string& folder) {
  std::string own = folder;
  while (own.size() > 1 && own.back() == '/') own.pop_back();
  return own + " can be read by other users; its records name your files (chmod 700 " + own + ")";
}

}  // namespace vt
