#include "results/Retention.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace vt {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::optional<std::uint64_t> WholeNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> ConfigurationFile(const TGetEnv& getEnv) {
  if (const char* config = getEnv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
    return std::string(config) + "/veltrane/veltrane.conf";
  if (const char* home = getEnv("HOME"); home != nullptr && home[0] == '/')
    return std::string(home) + "/.config/veltrane/veltrane.conf";
  return std::nullopt;
}

TRetention RetentionFromConfiguration(std::string_view text) {
  TRetention retention;
  bool inHistory = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.starts_with('[')) {
      inHistory = line == "[History]";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inHistory || equals == std::string_view::npos) continue;
    const std::string_view key = Trimmed(line.substr(0, equals));
    const std::optional<std::uint64_t> value = WholeNumber(Trimmed(line.substr(equals + 1)));
    if (!value) continue;
    if (key == "KeptPasses")
      retention.Passes = static_cast<std::size_t>(*value);
    else if (key == "KeptMegabytes" && *value <= UINT64_MAX / kMegabyte)
      retention.Bytes = *value * kMegabyte;
  }
  return retention;
}

TRetention ReadRetention(const TGetEnv& getEnv) {
  const std::optional<std::string> path = ConfigurationFile(getEnv);
  if (!path) return {};
  std::ifstream in(*path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return RetentionFromConfiguration(text.str());
}

}  // namespace vt
