#include "ui/ErrorWords.h"

#include "engine/Messages.h"
#include "platform/PathSeparator.h"
#include "platform/SysErrorText.h"

namespace vt {

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(bytes); }

}  // namespace

QString ErrorReason(const TError& error) {
  switch (error.Kind) {
    case TErrorKind::MakeFolder:
    case TErrorKind::Create:
      if (error.Code != 0) return Text(SystemMessage(error.Code));
      return error.Kind == TErrorKind::Create ? QStringLiteral("cannot be created") : QStringLiteral("cannot be made");
    case TErrorKind::Read:
    case TErrorKind::NotJournal:
    case TErrorKind::Write:
    case TErrorKind::InUse: break;
  }
  if (error.Code != 0) return Text(SysErrorText(error.Code));
  switch (error.Kind) {
    case TErrorKind::NotJournal: return QStringLiteral("not a journal");
    case TErrorKind::Write: return QStringLiteral("Stream write error");
    case TErrorKind::InUse: return QStringLiteral("in use by a pass still running");
    default: return QStringLiteral("cannot be read");
  }
}

QString OpenFolderWarning(const std::string& folder) {
  const std::string own = WithoutSlash(folder);
  return QString("%1 can be read by other users; its records name your files (chmod 700 %1)").arg(Text(own));
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
