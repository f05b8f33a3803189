#include "cli/Complaint.h"

#include "cli/CliApp.h"
#include "cli/RowFormat.h"

namespace vt {

void Complain(std::FILE* err, const std::string& message) {
  std::fprintf(err, "veltrane-cli: %s\n", TerminalText(message).c_str());
}

int UsageError(std::FILE* err, const std::string& message) {
  Complain(err, message);
  std::fputs("Try 'veltrane-cli --help' for more information.\n", err);
  return ExitStatus::Usage;
}

std::string FileMessage(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

std::string FilesWere(std::uint64_t count) {
  return std::to_string(count) + (count == 1 ? " file was" : " files were");
}

}  // namespace vt
