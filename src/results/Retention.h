#pragma once
// How many passes the folder of records keeps: the newest `Passes`, and no
// more than `Bytes` of them, whichever is less. The newest pass is always kept,
// however large, and so is a pass that never ended until it has been undone:
// its journal is all that can bring its files back. Set in the configuration
// file ($XDG_CONFIG_HOME/veltrane/veltrane.conf, section [History], keys
// KeptPasses and KeptMegabytes), and on the command line.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "results/AutomaticResultFiles.h"

namespace vt {

inline constexpr std::uint64_t kMegabyte = std::uint64_t{1} << 20;

struct TRetention {
  std::size_t Passes = kAutomaticFilesKept;
  std::uint64_t Bytes = 200 * kMegabyte;
};

// The configuration file's path; nothing without XDG_CONFIG_HOME or HOME.
std::optional<std::string> ConfigurationFile(const TGetEnv& getEnv);

// The limits the text of a configuration file sets; defaults for what it
// leaves out or gives as no whole number.
TRetention RetentionFromConfiguration(std::string_view text);

// The limits of the user's configuration file (defaults without one).
TRetention ReadRetention(const TGetEnv& getEnv);

}  // namespace vt
