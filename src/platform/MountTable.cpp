#include "platform/MountTable.h"

#include <fstream>
#include <sstream>

namespace vt {

namespace {

std::optional<std::string>& TestTable() {
  static std::optional<std::string> table;
  return table;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The kernel writes blank, tab, newline and backslash in paths as \ooo.
std::string DecodeField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
        IsOctal(field[i + 3])) {
      out += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
    if (pos > start) fields.push_back(line.substr(start, pos - start));
  }
  return fields;
}

bool ParseNumber(std::string_view text, unsigned& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + unsigned(c - '0');
  }
  return true;
}

bool ParseDevice(std::string_view text, TMountEntry& entry) {
  const auto colon = text.find(':');
  return colon != std::string_view::npos && ParseNumber(text.substr(0, colon), entry.Major) &&
         ParseNumber(text.substr(colon + 1), entry.Minor);
}

// id parent major:minor root mount-point options [optional...] - type source super-options
std::optional<TMountEntry> ParseLine(std::string_view line) {
  const auto fields = SplitFields(line);
  if (fields.size() < 9) return std::nullopt;
  TMountEntry entry;
  if (!ParseDevice(fields[2], entry)) return std::nullopt;
  std::size_t dash = 6;
  while (dash < fields.size() && fields[dash] != "-") ++dash;
  if (dash + 2 >= fields.size()) return std::nullopt;
  entry.MountPoint = DecodeField(fields[4]);
  if (entry.MountPoint.empty() || entry.MountPoint[0] != '/') return std::nullopt;
  entry.FsType = DecodeField(fields[dash + 1]);
  entry.Source = DecodeField(fields[dash + 2]);
  return entry;
}

std::string ReadSystemTable() {
  std::ifstream in("/proc/self/mountinfo");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::vector<TMountEntry> ParseMountInfo(std::string_view text) {
  std::vector<TMountEntry> entries;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const auto line = text.substr(0, end);
    if (auto entry = ParseLine(line)) entries.push_back(std::move(*entry));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return entries;
}

std::vector<TMountEntry> ReadMountTable() {
  const auto& test = TestTable();
  return ParseMountInfo(test ? *test : ReadSystemTable());
}

void SetMountTableForTesting(std::optional<std::string> mountInfoText) { TestTable() = std::move(mountInfoText); }

}  // namespace vt
