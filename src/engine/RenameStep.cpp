#include "engine/RenameStep.h"

#include <cerrno>
#include <utility>

#include "engine/ChangeCase.h"
#include "engine/Insert.h"
#include "engine/Number.h"
#include "engine/Remove.h"
#include "engine/SearchReplace.h"
#include "engine/StepResult.h"
#include "engine/Truncate.h"
#include "engine/VolumeNames.h"

namespace vt {
namespace {

bool IsDotEntry(const std::string& name) {
  return !name.empty() && name[0] == '.' && (name.size() == 1 || (name.size() == 2 && name[1] == '.'));
}

// A name the rename may be given: one entry of the same folder, no longer than
// a volume can hold (so a simulation does not promise what the rename refuses).
bool IsUsableName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxNameBytes && !IsDotEntry(name) && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// The text of the operation that may hold fields; none for the others. A
// text the checks would refuse stays literal.
std::optional<TFieldTemplate> FieldsOf(const TRenameSettings& settings) {
  if (!settings.UseFields) return std::nullopt;
  const TNumberInfos& number = settings.NumberInfos;
  std::string_view text;
  if (settings.Operation == TOperation::Insert)
    text = settings.InsertInfos.Text;
  else if (settings.Operation == TOperation::Number && number.UseBaseName && !IsOriginalName(number.BaseName))
    text = number.BaseName;
  else
    return std::nullopt;
  TExpected<TFieldTemplate, TFieldError> fields = ParseFieldTemplate(text);
  if (!fields) return std::nullopt;
  return std::move(fields).Value();
}

int RefusalError(TNameRefusal refusal) {
  switch (refusal) {
    case TNameRefusal::None: return 0;
    case TNameRefusal::ReservedChar: return kVolumeRefusesChar;
    case TNameRefusal::ControlChar: return kVolumeRefusesControl;
    case TNameRefusal::TrailingDotOrSpace: return kVolumeRefusesEnd;
    case TNameRefusal::TooLong: return kVolumeRefusesLength;
  }
  return 0;
}

}  // namespace

TRenameStep::TRenameStep(TRenameSettings settings, TPassMode mode)
    : Settings_(std::move(settings)),
      ReplaceShape_(ShapeOf(Settings_.ReplaceInfos)),
      Fields_(FieldsOf(Settings_)),
      FilledInsert_(Settings_.InsertInfos),
      FilledNumber_(Settings_.NumberInfos),
      Mode_(mode) {}

bool TRenameStep::Finish(TRenameStatus status) {
  Status_ = status;
  return status != TRenameStatus::rsNoParameters;
}

bool TRenameStep::ProcessFile(const std::string& folder, const TFindData& entry) {
  if (!Judge(entry)) return false;
  if (!RenamePending_) return true;
  if (Handle_ != nullptr) {
    Status_ = Attempt(*Handle_, entry.cFileName, NewName_, SystemError_);
    return true;
  }
  SystemError_ = Renamer_.Rename(folder, entry.cFileName, NewName_);
  // A file the rename could neither finish nor take back is under a hidden
  // temporary name: the row must say where.
  if (SystemError_ != 0 && !Renamer_.StrandedName().empty()) NewName_ = Renamer_.StrandedName();
  Status_ = SystemError_ == 0 ? TRenameStatus::rsOk : TRenameStatus::rsError;
  return true;
}

bool TRenameStep::Judge(const TFindData& entry) {
  NewName_.clear();
  SystemError_ = 0;
  RenamePending_ = false;
  const std::string& oldName = entry.cFileName;
  if (IsDotEntry(oldName) || (entry.dwFileAttributes & FileAttr::Directory) != 0) {
    return Finish(TRenameStatus::rsNoParameters);
  }
  if (Settings_.Operation == TOperation::Truncate && Settings_.TruncateKind != TTruncateKind::MaxChars) {
    // The short name replaces the whole name; without one there is nothing to do.
    if (Settings_.TruncateKind != TTruncateKind::ShortName || entry.cAlternateFileName.empty()) {
      return Finish(TRenameStatus::rsNoChange);
    }
    Joined_ = entry.cAlternateFileName;
    return Decide(oldName);
  }

  SplitName(oldName);
  if (Fields_) {
    static const TFieldValues kNone;
    std::optional<std::string> filled = FillFields(*Fields_, Values_ != nullptr ? *Values_ : kNone, Name_);
    if (!filled) {
      SystemError_ = ENODATA;
      return Finish(TRenameStatus::rsError);
    }
    (Settings_.Operation == TOperation::Insert ? FilledInsert_.Text : FilledNumber_.BaseName) = std::move(*filled);
  }
  switch (Transform()) {
    case TStepResult::Proceed: break;
    case TStepResult::NoParameters: return Finish(TRenameStatus::rsNoParameters);
    case TStepResult::NoMatch: return Finish(TRenameStatus::rsNoMatch);
    case TStepResult::NoChange: return Finish(TRenameStatus::rsNoChange);
    case TStepResult::TooCostly: SystemError_ = kPatternTooCostly; return Finish(TRenameStatus::rsError);
  }
  Joined_ = Name_;
  if (!Ext_.empty()) {
    Joined_ += '.';
    Joined_ += Ext_;
  }
  if (Joined_ == oldName) return Finish(TRenameStatus::rsNoChange);
  return Decide(oldName);
}

bool TRenameStep::ProcessFile(const TFolderHandle& folder, const TFindData& entry) {
  Handle_ = &folder;
  const bool result = ProcessFile(folder.Path(), entry);
  Handle_ = nullptr;
  return result;
}

void TRenameStep::SplitName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) {
    Name_ = name;
    Ext_.clear();
  } else {
    Name_.assign(name, 0, dot);
    Ext_.assign(name, dot + 1);
  }
}

TStepResult TRenameStep::Transform() {
  switch (Settings_.Operation) {
    case TOperation::SearchReplace: return SearchReplaceStep(Settings_.ReplaceInfos, ReplaceShape_, Name_, Ext_);
    case TOperation::Insert: return InsertStep(Fields_ ? FilledInsert_ : Settings_.InsertInfos, Name_);
    case TOperation::Remove: return RemoveStep(Settings_.DeleteInfos, Name_);
    case TOperation::Number:
      return NumberStep(Fields_ ? FilledNumber_ : Settings_.NumberInfos, Settings_.Counter, Name_);
    case TOperation::ChangeCase: {
      const TWithExtension withExtension = Settings_.CaseExtensionOnly   ? TWithExtension::Only
                                           : Settings_.CaseWithExtension ? TWithExtension::Yes
                                                                         : TWithExtension::No;
      ChangeCaseStep(Settings_.CaseKind, withExtension, Name_, Ext_);
      return TStepResult::Proceed;
    }
    case TOperation::Truncate: TruncateName(Settings_.MaxChars, Name_); return TStepResult::Proceed;
  }
  return TStepResult::NoParameters;
}

bool TRenameStep::Decide(const std::string& oldName) {
  NewName_.swap(Joined_);
  // Never hand the rename a name that is no entry of this folder.
  if (!IsUsableName(NewName_)) {
    SystemError_ = RefusalError(VolumeRefusal(NewName_, TNameRules::Linux));
    return Finish(TRenameStatus::rsError);
  }
  // A photo renamed ".jpg" would seem gone to whoever does not list hidden files.
  if (NewName_.front() == '.' && oldName.front() != '.') {
    SystemError_ = kHidingName;
    return Finish(TRenameStatus::rsError);
  }
  // What the volume would refuse, a simulation foretells and a pass does not ask for.
  if (NameRules_ != TNameRules::Linux) {
    if (const TNameRefusal refusal = VolumeRefusal(NewName_, NameRules_); refusal != TNameRefusal::None) {
      SystemError_ = RefusalError(refusal);
      return Finish(TRenameStatus::rsError);
    }
  }
  RenamePending_ = Mode_ == TPassMode::Rename;
  return Finish(TRenameStatus::rsCanBeRenamed);
}

TRenameStatus TRenameStep::Attempt(const TFolderHandle& folder, std::string_view oldName, std::string& newName,
                                   int& error, Unwritable unwritable) {
  return AttemptRename(Renamer_, folder, oldName, newName, error, nullptr, unwritable);
}

TRenameStatus TRenameStep::Attempt(const TFolderHandle& folder, std::string_view oldName, std::string& newName,
                                   int& error, const TLookedFile& looked, Unwritable unwritable) {
  return AttemptRename(Renamer_, folder, oldName, newName, error, &looked, unwritable);
}

TRenameStatus AttemptRename(TFolderRenamer& renamer, const TFolderHandle& folder, std::string_view oldName,
                            std::string& newName, int& error, const TLookedFile* looked, Unwritable unwritable) {
  error = looked != nullptr ? renamer.Rename(folder, oldName, newName, *looked, unwritable)
                            : renamer.Rename(folder, oldName, newName, unwritable);
  // A file the rename could neither finish nor take back is under a hidden
  // temporary name: the row must say where.
  if (error != 0 && !renamer.StrandedName().empty()) newName = renamer.StrandedName();
  // Renamed although the volume reported an error: "Ok", so Recover can undo it; the error is noted.
  if (error == 0) {
    error = renamer.NotedError();
    return TRenameStatus::rsOk;
  }
  return TRenameStatus::rsError;
}

}  // namespace vt
