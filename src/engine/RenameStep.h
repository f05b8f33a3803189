#pragma once
// The per-file step of a rename pass: split, transform, join, compare, then
// simulate or rename.
#include <string>

#include "engine/RenameSettings.h"
#include "engine/RenameStatus.h"
#include "platform/FindData.h"
#include "platform/FolderRenamer.h"

namespace vt {

enum class TPassMode { Rename, Simulate };

class TRenameStep {
 public:
  TRenameStep(TRenameSettings settings, TPassMode mode);

  // folder ends with "/"; entry as the listing returned it. Sets NewName and
  // Status; false only for entries skipped without a row ("No parameters").
  bool ProcessFile(const std::string& folder, const TFindData& entry);

  const std::string& NewName() const { return NewName_; }
  TRenameStatus Status() const { return Status_; }
  const TRenameSettings& Settings() const { return Settings_; }

 private:
  TRenameSettings Settings_;
  TPassMode Mode_;
  TFolderRenamer Renamer_;
  std::string NewName_;
  TRenameStatus Status_ = TRenameStatus::rsNoParameters;
};

}  // namespace vt
