#include "engine/Messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vt {
namespace {

using Entry = std::pair<int, std::string_view>;

constexpr std::array kTexts{
    Entry{Msg::CloseDuringPass, "Process in progress,\n do you want to suspend it and leave ?"},
    Entry{Msg::SaveBeforeClearing, "Do you want to save result before clearing?"},
    Entry{Msg::NotAResultFile, "File is not a valid Veltrane file result."},
    Entry{Msg::StoppedByUser, "Process stopped by user..."},
    Entry{Msg::SpecifyDeleteCount, "Specify number of characters to be remove."},
    Entry{Msg::SpecifyDeleteText, "Specify text to be removed."},
    Entry{Msg::SpecifyInsertText, "Specify text to be inserted."},
    Entry{Msg::RemoveExtension,
          "Be careful, You are going to remove file extension.\nFile can't be running.\n\n"
          "Do you really want to continue?"},
    Entry{Msg::IncorrectExtension,
          "Incorrect Specification.\nIf you don't specify extension in the search string,\n"
          "don't specify any in the replace string."},
    Entry{Msg::SameName,
          "Be careful, if several files correspond,\nthey'll have all same name. Only one will be "
          "rename!\n\nDo you really want to continue?"},
    Entry{Msg::SameNameInfo,
          "Incorrect Specification. If several files correspond,\nthey'll have all same name. Only "
          "one will be rename!\n\nSpecify same type of extension as in the search string."},
    Entry{Msg::RemoveSeveralExtensions,
          "You are going to remove the extension of several files.\nMay be Result will be "
          "incoherent and certain files will be exploitable.\n\nDo you really want to continue?"},
    Entry{Msg::ReplaceNotCoherent,
          "String to be replace is not coherent with string to be search.\nResult will be "
          "unexpected!"},
    Entry{Msg::SpecifyReplaceText, "Specify text to be replaced."},
    Entry{Msg::NothingToReplace, "Inorrect pecification.\nNothing to Replace!"},
    Entry{Msg::SpecifySearchText, "Specify text to be searched."},
    Entry{Msg::UnknownField, "Unknown field at character %1.\nThe fields are listed in the help."},
    Entry{Msg::BadFieldFormat, "Incorrect field format at character %1."},
    Entry{Msg::UnmatchedBrace, "Unmatched brace at character %1.\nWrite {{ or }} for a brace."},
    Entry{Msg::ProcessOk, "Process Ok."},
    Entry{Msg::CanBeRenamed, "Can be renamed"},
    Entry{Msg::FileNotFound, "File not found"},
    Entry{Msg::NoChange, "No change"},
    Entry{Msg::NoParameters, "No parameters"},
    Entry{Msg::NoMatch, "No Match"},
    Entry{Msg::Error, "Error"},
    Entry{Msg::Ok, "Ok"},
};

}  // namespace

std::string_view Message(int id) {
  const auto it = std::find_if(kTexts.begin(), kTexts.end(), [id](const Entry& e) { return e.first == id; });
  return it == kTexts.end() ? std::string_view{} : it->second;
}

}  // namespace vt
