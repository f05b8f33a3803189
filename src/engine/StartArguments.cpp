#include "engine/StartArguments.h"

#include <algorithm>
#include <optional>

#include "engine/Utf8.h"
#include "platform/PathSeparator.h"

namespace vt {

namespace {

bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

std::string Absolute(const std::string& path, const std::string& currentFolder) {
  if (!path.empty() && path[0] == '/') return path;
  if (currentFolder.empty() || currentFolder.back() == '/') return currentFolder + path;
  return currentFolder + "/" + path;
}

// "/a/b/" and "/a/b" are one folder; "/" stays.

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

TStartParse ParseStartArguments(const std::vector<std::string>& args) {
  TStartArguments result;
  std::optional<TUnknownOption> unknown;
  bool options = true;
  for (const std::string& arg : args) {
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      return TStartArguments{StartAction::PrintHelp, {}};
    } else if (options && (arg == "--version" || arg == "-V")) {
      return TStartArguments{StartAction::PrintVersion, {}};
    } else if (options && IsOption(arg)) {
      // Looks on: --help and --version win over any other option.
      if (!unknown) unknown = TUnknownOption{arg};
    } else if (!arg.empty()) {
      result.Paths.push_back(arg);
    }
  }
  if (unknown) return Unexpected(std::move(*unknown));
  return result;
}

std::string JoinMasks(const std::vector<std::string>& names) {
  std::string masks;
  for (const std::string& name : names) {
    if (!masks.empty()) masks += ';';
    masks += name;
  }
  return masks;
}

TOpenPlan PlanOpen(const std::vector<std::string>& paths, const std::string& currentFolder, const TPathKindOf& kindOf) {
  TOpenPlan plan;
  std::vector<std::string> names;
  for (const std::string& given : paths) {
    const std::string path = WithoutSlash(Absolute(given, currentFolder));
    const PathKind kind = kindOf(path);
    if (kind == PathKind::Missing) {
      plan.Missing.push_back(given);
    } else if (plan.Folder.empty()) {
      plan.Folder = kind == PathKind::Folder ? path : FolderOf(path);
      if (kind == PathKind::File) names.push_back(NameOf(path));
    } else if (kind == PathKind::File && !names.empty() && FolderOf(path) == plan.Folder) {
      if (std::find(names.begin(), names.end(), NameOf(path)) == names.end()) names.push_back(NameOf(path));
    } else {
      plan.LeftOut.push_back(given);
    }
  }
  if (names.empty()) return plan;
  const std::string joined = JoinMasks(names);
  const bool separatorInName =
      std::any_of(names.begin(), names.end(), [](const std::string& name) { return name.find(';') != name.npos; });
  if (separatorInName) {
    plan.Outcome = MaskOutcome::NotAMask;
    plan.Masks = "*.*";
  } else if (CharCount(joined) > kLongestOpenedMasks) {
    plan.Outcome = MaskOutcome::TooLong;
    plan.Masks = "*.*";
  } else {
    plan.Outcome = MaskOutcome::Names;
    plan.Masks = joined;
  }
  return plan;
}

}  // namespace vt
