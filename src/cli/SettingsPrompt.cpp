#include "cli/SettingsPrompt.h"

#include <string>
#include <string_view>

#include "engine/Messages.h"
#include "engine/SettingsChecks.h"

namespace vt {
namespace {

void Write(std::FILE* err, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), err);
  std::fflush(err);
}

std::string ReadLine(std::FILE* in) {
  std::string line;
  for (int c = std::fgetc(in); c != EOF && c != '\n'; c = std::fgetc(in)) line += static_cast<char>(c);
  return line;
}

// "y" or "yes" in any case, blanks around it ignored.
bool IsYes(std::string answer) {
  const auto first = answer.find_first_not_of(" \t\r");
  const auto last = answer.find_last_not_of(" \t\r");
  answer = first == std::string::npos ? std::string() : answer.substr(first, last - first + 1);
  for (char& c : answer)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return answer == "y" || answer == "yes";
}

std::string MessageText(const TCheckMessage& message) {
  if (!message.Regex) return CheckMessageText(message);
  const TRegexError& error = *message.Regex;
  return std::string(error.Part == TRegexError::TPart::Pattern ? "the regular expression" : "the replacement") +
         " does not compile at position " + std::to_string(error.Offset) + ": " + error.Message;
}

TAnswer Ask(const TCheckMessage& message, const TPromptEnvironment& env) {
  const std::string text = MessageText(message);
  if (message.Kind != TMessageKind::Confirmation) {
    Write(env.Err, "veltrane-cli: " + text + "\n");
    return TAnswer::Cancel;
  }
  return ConfirmPass(text, env) ? TAnswer::Yes : TAnswer::No;
}

}  // namespace

bool ConfirmPass(const std::string& text, const TPromptEnvironment& env) {
  if (env.AssumeYes == TAssumeYes::Yes) return true;
  if (!env.InIsTerminal) {
    Write(env.Err, text +
                       "\nveltrane-cli: no terminal to answer on; give -y (--yes) to answer yes, "
                       "nothing was renamed\n");
    return false;
  }
  Write(env.Err, text + " [y/N] ");
  if (IsYes(ReadLine(env.In))) return true;
  Write(env.Err, "veltrane-cli: not confirmed, nothing was renamed\n");
  return false;
}

bool SettingsAllowPass(const TRenameSettings& settings, const TPromptEnvironment& environment) {
  return CheckSettings(settings, [&](const TCheckMessage& message) { return Ask(message, environment); }).MayStart;
}

bool SettingsAllowPass(const TControlValues& controls, const TPromptEnvironment& environment) {
  return CheckSettings(controls, [&](const TCheckMessage& message) { return Ask(message, environment); }).MayStart;
}

}  // namespace vt
