#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

enum class TRenameStatus : std::uint8_t {
  rsOk = 0,
  rsError = 1,
  rsNoMatch = 2,
  rsNoParameters = 3,
  rsNoChange = 4,
  rsFileNotFound = 5,
  rsCanBeRenamed = 6,
};

// Message id of a status text (61214 for rsOk down to 61208 for rsCanBeRenamed).
int StatusMessageId(TRenameStatus status);
// The status text as rows show it, looked up in the table of texts.
std::string_view StatusText(TRenameStatus status);
// The status a text names, byte for byte ("OK" names none); for rows read back
// from a table or a result file.
std::optional<TRenameStatus> StatusOfText(std::string_view text);

}  // namespace vt
