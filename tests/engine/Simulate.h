#pragma once
// Runs one file name through the per-file step of a simulated pass.
#include <string>

#include "engine/RenameSettings.h"
#include "engine/RenameStep.h"
#include "platform/FindData.h"

namespace vt::test {

inline TFindData FileEntry(std::string name, std::string shortName = {}) {
  TFindData entry;
  entry.dwFileAttributes = FileAttr::Archive;
  entry.cFileName = std::move(name);
  entry.cAlternateFileName = std::move(shortName);
  return entry;
}

// The proposed name for "Can be renamed", else the status text.
inline std::string Outcome(const TRenameStep& step) {
  if (step.Status() == TRenameStatus::rsCanBeRenamed) return step.NewName();
  return std::string(StatusText(step.Status()));
}

inline std::string Simulate(const TControlValues& controls, const std::string& file,
                            const std::string& shortName = {}) {
  TRenameStep step(CaptureSettings(controls), TPassMode::Simulate);
  step.ProcessFile("/nonexistent/", FileEntry(file, shortName));
  return Outcome(step);
}

}  // namespace vt::test
