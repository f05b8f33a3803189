#include "cli/CliApp.h"

#include <cstdio>
#include <string>

#include "Version.h"
#include "cli/CommandLine.h"
#include "cli/Complaint.h"
#include "cli/HistoryCommand.h"
#include "cli/PassCommand.h"
#include "cli/RecoverCommand.h"
#include "cli/ShowCommand.h"
#include "cli/Usage.h"

namespace vt {

namespace {

int PrintHelpTopic(const std::string& name, const TCliEnvironment& environment) {
  std::string text;
  if (name.empty()) {
    text = HelpTopicList();
  } else if (const THelpTopic* topic = FindHelpTopic(name)) {
    text = HelpTopicText(*topic);
  } else {
    std::string names;
    for (const THelpTopic& known : HelpTopics()) names += (names.empty() ? "" : ", ") + std::string(known.Name);
    return UsageError(environment.Err, "no help topic '" + name + "' (topics: " + names + ")");
  }
  std::fwrite(text.data(), 1, text.size(), environment.Out);
  return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const TCliEnvironment& environment) {
  const TParseResult parsed = ParseCommandLine(args);
  if (!parsed) return UsageError(environment.Err, parsed.Error());
  const TCliOptions& options = *parsed;
  switch (options.Command) {
    case TCliCommand::Help:
      std::fwrite(UsageText().data(), 1, UsageText().size(), environment.Out);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Topic: return PrintHelpTopic(options.HelpTopic, environment);
    case TCliCommand::Version:
      std::fprintf(environment.Out, "veltrane-cli %s\n", kVersion);
      return std::fflush(environment.Out) == 0 ? ExitStatus::Ok : ExitStatus::Usage;
    case TCliCommand::Show: return RunShow(options, environment);
    case TCliCommand::Recover: return RunRecover(options, environment);
    case TCliCommand::History: return RunHistory(options, environment);
    case TCliCommand::Pass: break;
  }
  return RunPass(options, environment);
}

}  // namespace vt
