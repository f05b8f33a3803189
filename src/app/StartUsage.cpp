#include "app/StartUsage.h"

#include "Version.h"

namespace vt {

std::string StartUsageText() {
  return R"(Usage: veltrane [FOLDER | FILE...]
Renames many files in one go, in a window: simulate first, undo later.

  FOLDER     start with the folder list at FOLDER
  FILE...    start at the files' folder, with "Search :" set to their names
             joined by ";" (or "*.*" when they do not fit in 255 characters)

  -h, --help     show this help and exit
  -V, --version  show the version and exit

Folders and files dropped on the window open the same way.
In a terminal or a script, veltrane-cli runs the same passes.
)";
}

std::string StartVersionText() { return std::string("veltrane ") + kVersion + "\n"; }

}  // namespace vt
