#include "engine/RenameStatus.h"

#include "engine/Messages.h"

namespace vt {

int StatusMessageId(TRenameStatus status) {
  return Msg::Ok - static_cast<int>(status);
}

std::string_view StatusText(TRenameStatus status) {
  return Message(StatusMessageId(status));
}

}  // namespace vt
