#pragma once
// The per-file step of a rename pass: split, transform, join, compare, then
// simulate or rename.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/NameFields.h"
#include "engine/RenameSettings.h"
#include "engine/RenameStatus.h"
#include "engine/SearchReplace.h"
#include "engine/StepResult.h"
#include "platform/FindData.h"
#include "platform/FolderHandle.h"
#include "platform/FolderRenamer.h"
#include "platform/Volumes.h"

namespace vt {

enum class TPassMode { Rename, Simulate };

// The reason of an "Error" row the step gives itself, where a refused rename has
// the system's errno: a regular expression that gave up on the name.
inline constexpr int kPatternTooCostly = -2;
// The error of a row refused because its new name begins with "." and the old
// one does not: a pass never hides a file from a folder's usual listing.
inline constexpr int kHidingName = -3;
static_assert(kHidingName != kLeftUnwritable && kPatternTooCostly != kLeftUnwritable);
// The errors of a row whose new name the volume of its folder would refuse
// (engine/VolumeNames.h): the rename is not asked for.
inline constexpr int kVolumeRefusesChar = -4;     // " * : < > ? \ | where refused, "/" or NUL anywhere
inline constexpr int kVolumeRefusesControl = -5;  // a control character
inline constexpr int kVolumeRefusesEnd = -6;      // a final dot or space
inline constexpr int kVolumeRefusesLength = -7;   // over 255 bytes, or UTF-16 units
static_assert(kVolumeRefusesChar != kLeftUnwritable);

// Attempt of TRenameStep below through a renamer of the caller's (one per
// thread where renames run side by side): rsOk or rsError, and error and
// newName as Attempt sets them. looked may be null: the renamer looks itself.
TRenameStatus AttemptRename(TFolderRenamer& renamer, const TFolderHandle& folder, std::string_view oldName,
                            std::string& newName, int& error, const TLookedFile* looked, Unwritable unwritable);

class TRenameStep {
 public:
  TRenameStep(TRenameSettings settings, TPassMode mode);

  // folder ends with "/"; entry as the listing returned it. Sets NewName and
  // Status; false only for entries skipped without a row ("No parameters").
  bool ProcessFile(const std::string& folder, const TFindData& entry);
  // The same for an entry of an open folder: the rename goes through the handle,
  // and folder.Path() is only the folder's text.
  bool ProcessFile(const TFolderHandle& folder, const TFindData& entry);

  // The first half of ProcessFile, which touches no disk: sets NewName and
  // Status as ProcessFile would, except that a rename to attempt leaves the
  // status rsCanBeRenamed with RenamePending() true.
  bool Judge(const TFindData& entry);
  bool RenamePending() const { return RenamePending_; }
  // The second half: renames oldName to newName in folder, never replacing.
  // rsOk or rsError; error is the errno, and newName becomes the hidden name a
  // file is stranded under when the rename could neither finish nor go back.
  // A file left as unwritable (see FolderRenamer.h) gives error kLeftUnwritable.
  TRenameStatus Attempt(const TFolderHandle& folder, std::string_view oldName, std::string& newName, int& error,
                        Unwritable unwritable = Unwritable::Move);
  // The look Attempt begins with, made ahead of it (see FolderRenamer.h), and
  // Attempt after it.
  TLookedFile Look(const TFolderHandle& folder, std::string_view oldName) { return Renamer_.Look(folder, oldName); }
  TRenameStatus Attempt(const TFolderHandle& folder, std::string_view oldName, std::string& newName, int& error,
                        const TLookedFile& looked, Unwritable unwritable = Unwritable::Move);
  // Told each hidden temporary name before a rename uses it.
  void OnTemporaryName(TTemporaryNameHook hook) { Renamer_.OnTemporaryName(std::move(hook)); }

  const std::string& NewName() const { return NewName_; }
  TRenameStatus Status() const { return Status_; }
  const TRenameSettings& Settings() const { return Settings_; }
  // errno of the last failed rename, or of one carried out although the volume
  // reported it (its status is "Ok"); 0 otherwise.
  int SystemError() const { return SystemError_; }
  // Number gives the next file its first number again.
  void RestartCounter() { Settings_.Counter = Settings_.NumberInfos.Start; }
  // What each file must be read for before it is judged (FieldSource bits).
  std::uint8_t FieldSources() const { return Fields_ ? Fields_->Sources : FieldSource::None; }
  // The values the next Judge fills the fields in from; owned by the caller,
  // which keeps them until then. A file lacking a value a field needs is not
  // renamed: its status is rsError with SystemError() ENODATA.
  void SetFieldValues(const TFieldValues* values) { Values_ = values; }
  // The names the volume of the next entries refuses (platform/Volumes.h).
  void SetNameRules(TNameRules rules) { NameRules_ = rules; }
  // Files the pass never renames, by identity (its own result files).
  void KeepUntouched(std::vector<TEntryId> files) { Renamer_.KeepUntouched(std::move(files)); }

 private:
  bool Finish(TRenameStatus status);
  void SplitName(const std::string& name);
  TStepResult Transform();
  bool Decide(const std::string& oldName);

  TRenameSettings Settings_;
  TReplaceShape ReplaceShape_;
  std::optional<TFieldTemplate> Fields_;  // of the operation's text, when it holds fields
  const TFieldValues* Values_ = nullptr;
  // The operation's settings with the fields filled in for the entry in hand.
  TInsertInfos FilledInsert_;
  TNumberInfos FilledNumber_;
  TPassMode Mode_;
  TNameRules NameRules_ = TNameRules::Linux;
  TFolderRenamer Renamer_;
  const TFolderHandle* Handle_ = nullptr;  // of the entry in hand, when it came with one
  std::string NewName_;
  TRenameStatus Status_ = TRenameStatus::rsNoParameters;
  int SystemError_ = 0;
  bool RenamePending_ = false;
  // Scratch texts kept between entries so that their storage is reused.
  std::string Name_;
  std::string Ext_;
  std::string Joined_;
};

}  // namespace vt
