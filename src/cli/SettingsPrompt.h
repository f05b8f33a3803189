#pragma once
// The checks before a pass on the command line: an error or information refuses
// the pass with its message on standard error; a confirmation is asked on the
// terminal, "y" or "yes" going on, and refuses where no terminal can answer,
// unless every question is answered yes beforehand.
#include <cstdio>
#include <string>

#include "engine/RenameSettings.h"

namespace vt {

enum class TAssumeYes : bool { No, Yes };

struct TPromptEnvironment {
  std::FILE* In = stdin;
  std::FILE* Err = stderr;
  bool InIsTerminal = false;
  TAssumeYes AssumeYes = TAssumeYes::No;
};

// Asks text as the checks' confirmations are asked: true goes on. On no the
// reason has been written to Err.
bool ConfirmPass(const std::string& text, const TPromptEnvironment& environment);

// True lets the pass start; on a refusal the reason has been written to Err.
bool SettingsAllowPass(const TRenameSettings& settings, const TPromptEnvironment& environment);
bool SettingsAllowPass(const TControlValues& controls, const TPromptEnvironment& environment);

}  // namespace vt
