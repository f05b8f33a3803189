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

// The file under its old name, and not (or, on a volume that ignores case,
// not by the spelling the folder lists) under its new one.
bool TUndoRename::IsBack(const std::string& newName, const std::string& oldName, const TFileIdentity& file,
                         bool newIsFile) {
  TEntryInfo info;
  const TIdentityRule rule = Rules_.Of(file.Device);
  if (PosixSysCalls().Lookup(Folder_.Fd(), oldName.c_str(), info) != 0 || !IsRecordedFile(info, file, rule))
    return false;
  if (!newIsFile) return true;
  bool listsNew = false, listsOld = false;
  if (PosixSysCalls().ListNames(Folder_.Fd(), [&](std::string_view name) {
        listsNew = listsNew || name == newName;
        listsOld = listsOld || name == oldName;
      }) != 0)
    return false;
  return listsOld && !listsNew;
}

TRenameStatus TUndoRename::Undo(const std::string& path, const std::string& newName, const std::string& oldName,
                                TPathTexts texts, int& error, const std::optional<TFileIdentity>& file) {
  error = 0;
  if (CheckUndoRow(path, newName, oldName, texts) != TUndoRowFault::None) return TRenameStatus::rsError;
  error = OpenFolder(path);
  if (error == ENOENT) {
    error = 0;
    return TRenameStatus::rsFileNotFound;
  }
  if (error != 0) return TRenameStatus::rsError;
  // The look the rename goes by: the file moved is the one judged here, and
  // the check after the move still tells a stranger's file swapped in since.
  const TLookedFile looked = Renamer_.Look(Folder_, newName);
  const TEntryInfo& info = looked.Info;
  // Only a regular file: no pass renames folders, links, FIFOs, sockets or devices.
  const bool found = looked.Error == 0 && info.Regular;
  const bool newIsFile = found && file && IsRecordedFile(info, *file, Rules_.Of(file->Device));
  // Another file under the new name (the next one of a renumbering, already back) is not this row's.
  if (file && !newIsFile && IsBack(newName, oldName, *file, false)) return TRenameStatus::rsNoChange;
  if (!found) return TRenameStatus::rsFileNotFound;
  if (newName == oldName) return TRenameStatus::rsNoChange;
  // Read-only as the pass has it (FolderRenamer.h): what a pass may rename, Recover may rename back.
  if (info.Immutable) {
    error = EPERM;
    return TRenameStatus::rsError;
  }
  error = Renamer_.Rename(Folder_, newName, oldName, looked);
  // Two spellings of one file: back already when the folder lists the old one.
  if (error == EEXIST && newIsFile && IsBack(newName, oldName, *file, true)) {
    error = 0;
    return TRenameStatus::rsNoChange;
  }
  if (error != 0) return TRenameStatus::rsError;
  error = Renamer_.NotedError();
  return TRenameStatus::rsOk;
}

}  // namespace vt
