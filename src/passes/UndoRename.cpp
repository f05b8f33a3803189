#include "passes/UndoRename.h"

#include <cerrno>

#include "passes/UndoRowChecks.h"
#include "platform/SysCalls.h"

namespace vt {

// The handle of the last row's folder is kept: it is the folder the walk
// reached then, and what happens to the path since cannot lead it elsewhere.
int TUndoRename::OpenFolder(const std::string& path) {
  if (Folder_.IsOpen() && path == FolderPath_) return 0;
  Folder_.Close();
  FolderPath_.clear();
  if (const int error = TFolderHandle::OpenStepwise(path, Folder_)) return error;
  FolderPath_ = path;
  return 0;
}

TRenameStatus TUndoRename::Undo(const std::string& path, const std::string& newName, const std::string& oldName,
                                TPathTexts texts, int& error) {
  error = 0;
  if (CheckUndoRow(path, newName, oldName, texts) != TUndoRowFault::None) return TRenameStatus::rsError;
  error = OpenFolder(path);
  if (error == ENOENT) {
    error = 0;
    return TRenameStatus::rsFileNotFound;
  }
  if (error != 0) return TRenameStatus::rsError;
  TEntryInfo info;
  // Only a regular file: no pass renames folders, links, FIFOs, sockets or devices.
  if (PosixSysCalls().Lookup(Folder_.Fd(), newName.c_str(), info) != 0 || !info.Regular)
    return TRenameStatus::rsFileNotFound;
  if (newName == oldName) return TRenameStatus::rsNoChange;
  // Read-only as the pass has it (FolderRenamer.h): what a pass may rename, Recover may rename back.
  if (info.Immutable) {
    error = EPERM;
    return TRenameStatus::rsError;
  }
  error = Renamer_.Rename(Folder_, newName, oldName);
  if (error != 0) return TRenameStatus::rsError;
  error = Renamer_.NotedError();
  return TRenameStatus::rsOk;
}

}  // namespace vt
