#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "platform/Terminal.h"

int main(int argc, char** argv) {
  vt::IgnoreBrokenPipe();
  vt::IgnoreFileSizeSignal();
  vt::InstallInterruptHandler();
  vt::TCliEnvironment environment;
  environment.OutIsTerminal = vt::IsTerminal(vt::TStandardStream::Output);
  environment.ErrIsTerminal = vt::IsTerminal(vt::TStandardStream::Error);
  environment.InIsTerminal = vt::IsTerminal(vt::TStandardStream::Input);
  environment.Interrupted = [] { return vt::InterruptRequested(); };
  environment.InterruptSignal = [] { return vt::InterruptSignal(); };
  const std::vector<std::string> args(argv + 1, argv + argc);
  return vt::RunCli(args, environment);
}
