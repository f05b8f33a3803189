#include "engine/RenameStatus.h"

#include "engine/Messages.h"

namespace vt {

int StatusMessageId(TRenameStatus status) { return Msg::Ok - static_cast<int>(status); }

std::string_view StatusText(TRenameStatus status) { return Message(StatusMessageId(status)); }

std::optional<TRenameStatus> StatusOfText(std::string_view text) {
  for (std::uint8_t code = 0; code <= static_cast<std::uint8_t>(TRenameStatus::rsCanBeRenamed); ++code)
    if (text == StatusText(static_cast<TRenameStatus>(code))) return static_cast<TRenameStatus>(code);
  return std::nullopt;
}

}  // namespace vt
