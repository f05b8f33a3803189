#pragma once
// The checks made before a Simulate or Rename pass starts: empty required
// fields are refused, search and replace patterns that cannot work are refused,
// and those that risk giving several files one name or dropping extensions are
// put to the user. The window and the command line both run them; each shows
// the messages its own way.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/MessageKind.h"
#include "engine/Regex.h"
#include "engine/RenameSettings.h"

namespace vt {

// The field that gets the keyboard focus when a check refuses.
enum class TCheckedField : std::uint8_t {
  None,
  EdSearchFor,
  EdReplaceWith,
  EdInsert,
  EdDelete,
  EdNbrDelete,
  ComboBaseFileName,
};

struct TCheckMessage {
  int Id = 0;  // the number of its text
  TMessageKind Kind = TMessageKind::Error;
  TCheckedField Focus = TCheckedField::None;
  // Msg::RegexDoesNotCompile: where the search pattern or the replacement stops compiling, and why.
  std::optional<TRegexError> Regex;
  // Where in the field's text the fault lies, in characters from 1; 0 for none.
  std::size_t Position = 0;
};

// The message's text, with its position filled in.
std::string CheckMessageText(const TCheckMessage& message);

struct TCheckOutcome {
  bool MayStart = true;
  // On a refusal: the message that refused and the field to focus.
  int RefusedBy = 0;
  TCheckedField Focus = TCheckedField::None;
};

// Shows a message and returns the answer; only a confirmation's answer counts.
using TShowMessage = std::function<TAnswer(const TCheckMessage&)>;

// Runs the checks of the selected operation in order, showing each message as
// it comes and stopping at the first refusal. Keeps no state.
TCheckOutcome CheckSettings(const TRenameSettings& settings, const TShowMessage& show);
// The same for the settings the window's controls give.
TCheckOutcome CheckSettings(const TControlValues& controls, const TShowMessage& show);

// A search or replace pattern split at its first dot: the name part before it,
// and as the extension part the (at most) three characters after it.
struct TPatternParts {
  std::string Name;
  std::string Ext;
};
TPatternParts SplitPattern(std::string_view pattern);

}  // namespace vt
