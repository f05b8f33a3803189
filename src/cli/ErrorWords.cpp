#include "cli/ErrorWords.h"

#include "engine/Messages.h"
#include "platform/PathSeparator.h"
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
  const std::string own = WithoutSlash(folder);
  return own + " can be read by other users; its records name your files (chmod 700 " + own + ")";
}

std::string ResultFileMessage(const TResultFileFailure& failure) {
  switch (failure.Kind) {
    case TResultFileError::CannotOpen:
      if (failure.LoadLimit != 0)
        return "Cannot open file " + failure.Path + ": it is larger than " + std::to_string(failure.LoadLimit >> 20) +
               " MB, the most a table loads";
      return "Cannot open file " + failure.Path;
    case TResultFileError::CannotCreate: return "Cannot create file " + failure.Path;
    case TResultFileError::WriteError: return "Stream write error";
    case TResultFileError::NotAResultFile: break;
  }
  return std::string(Message(Msg::NotAResultFile));
}

}  // namespace vt
