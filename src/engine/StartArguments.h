#pragma once
// The window program's command line: options, and the folder or files to open
// (also what a drop on the window hands over).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"
#include "platform/PathKind.h"

namespace vt {

enum class StartAction { OpenWindow, PrintHelp, PrintVersion };

struct TStartArguments {
  StartAction Action = StartAction::OpenWindow;
  std::vector<std::string> Paths;  // in the order given
};

// The usage error: the first option not known, as given.
struct TUnknownOption {
  std::string Option;
};

// The arguments, or the usage error.
using TStartParse = TExpected<TStartArguments, TUnknownOption>;

// argv without the program name. "--" ends the options; --help and --version
// win over an unknown option wherever they stand.
TStartParse ParseStartArguments(const std::vector<std::string>& args);

using TPathKindOf = std::function<PathKind(const std::string& path)>;

// The longest mask list, in characters, still set from the names of opened files.
inline constexpr std::size_t kLongestOpenedMasks = 255;

enum class MaskOutcome {
  Unchanged,  // a folder was opened: the masks stay as they are
  Names,      // the files' names, joined by ";"
  TooLong,    // "*.*": the names would not fit in 255 characters
  NotAMask,   // "*.*": a name holds ";", which separates masks
};

struct TOpenPlan {
  std::string Folder;  // absolute; empty when nothing can be opened
  std::string Masks;   // for Names, TooLong and NotAMask
  MaskOutcome Outcome = MaskOutcome::Unchanged;
  std::vector<std::string> Missing;  // paths that do not exist
  std::vector<std::string> LeftOut;  // files of another folder, folders after files
};

// A first path that is a folder opens it; else the first file's folder opens
// with the names of the given files of that folder as masks. Relative paths
// are taken from currentFolder.
TOpenPlan PlanOpen(const std::vector<std::string>& paths, const std::string& currentFolder, const TPathKindOf& kindOf);

// Names joined by ";", as the mask list of EdSearch takes them.
std::string JoinMasks(const std::vector<std::string>& names);

}  // namespace vt
