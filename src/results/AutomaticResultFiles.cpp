#include "results/AutomaticResultFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/PathSeparator.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".vtr";
constexpr std::size_t kStampLength = 19;  // 2026-12-08_09-30-05

std::optional<std::string> AbsoluteFolder(const char* value) {
  // Relative values are to be ignored, as the base directory rules say.
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return WithSlash(value);
}

bool IsDigits(const std::string& text, std::size_t from, std::size_t count) {
  return from + count <= text.size() &&
         std::all_of(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(from + count),
                     [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> AutomaticFolder(const TGetEnv& getEnv) {
  if (auto state = AbsoluteFolder(getEnv("XDG_STATE_HOME"))) return *state + "veltrane/";
  if (auto home = AbsoluteFolder(getEnv("HOME"))) return *home + ".local/state/veltrane/";
  return std::nullopt;
}

std::optional<TUntrustedFolder> RefusedRecordsFolder(const std::string& folder, const TFolderUser& user) {
  return UntrustedFolder(folder, user);
}

bool IsOwnRecord(const std::string& folder, const std::string& name, std::uint32_t uid) {
  return IsOwnFile(folder, name, uid);
}

std::string AutomaticFileName(std::tm localTime, unsigned sequence) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &localTime);
  std::string name = stamp;
  if (sequence > 1) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%03u", sequence);
    name += suffix;
  }
  return name + std::string(kExtension);
}

bool IsAutomaticFileName(const std::string& name) {
  const bool stamp = IsDigits(name, 0, 4) && name[4] == '-' && IsDigits(name, 5, 2) && name[7] == '-' &&
                     IsDigits(name, 8, 2) && name[10] == '_' && IsDigits(name, 11, 2) && name[13] == '-' &&
                     IsDigits(name, 14, 2) && name[16] == '-' && IsDigits(name, 17, 2);
  if (!stamp) return false;
  const std::string rest = name.substr(kStampLength);
  return rest == kExtension || (rest.size() == 4 + kExtension.size() && rest[0] == '_' && IsDigits(rest, 1, 3) &&
                                rest.substr(4) == kExtension);
}

}  // namespace vt
