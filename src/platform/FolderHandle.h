#pragma once
// An open folder that listings and renames work relative to. A walk that goes
// from handle to handle cannot be redirected by a folder swapped for a link
// while it runs, and is not limited by the length of a path: the path is kept
// only as the text the rows show.
#include <string>
#include <string_view>

#include "platform/SysCalls.h"

namespace vt {

class TFolderHandle {
 public:
  TFolderHandle() = default;
  ~TFolderHandle();
  TFolderHandle(TFolderHandle&& other) noexcept;
  TFolderHandle& operator=(TFolderHandle&& other) noexcept;
  TFolderHandle(const TFolderHandle&) = delete;
  TFolderHandle& operator=(const TFolderHandle&) = delete;

  // The folder a path names, links followed: where a walk starts is the user's
  // choice. path is kept as the handle's text. 0 or the errno of the failure.
  static int Open(const std::string& path, TFolderHandle& out);
  // The folder a path names, reached as a walk reaches it: from "/" (from the
  // current folder for a relative path) one component at a time, never through
  // a link. ELOOP for a component that is a link, ".", ".." or empty (the path
  // does not lead where a walk would have gone), else the errno of the failure.
  static int OpenStepwise(const std::string& path, TFolderHandle& out);
  // The sub-folder name of this folder, never through a link, and only if it
  // is still the entry listed: ELOOP or ENOTDIR for a link or a file there now,
  // ESTALE for another folder swapped in, ENOENT when it is gone.
  int OpenSub(std::string_view name, const TEntryId& listed, TFolderHandle& out) const;
  // A folder named relative to this one ("sub/", "../"), as a mask's folder part
  // names it; links followed, as typed.
  int OpenRelative(std::string_view relative, TFolderHandle& out) const;

  bool IsOpen() const { return Fd_ >= 0; }
  int Fd() const { return Fd_; }
  const TEntryId& Id() const { return Id_; }
  // The folder's path as text, ending with "/".
  const std::string& Path() const { return Path_; }
  void Close();

 private:
  int Adopt(int fd, std::string path);

  int Fd_ = -1;
  TEntryId Id_;
  std::string Path_;
};

// Whether a failure to open a sub-folder means only that the folder listed is
// no longer there as a folder (gone, a link, swapped): such a folder is not
// entered, and that is no failure to read it.
bool IsFolderGone(int error);

}  // namespace vt
