#include "cli/FolderArgument.h"

#include <filesystem>
#include <system_error>

#include "platform/PathSeparator.h"

namespace vt {

namespace fs = std::filesystem;

TExpected<std::string, std::string> ResolveFolder(const std::string& argument) {
  std::error_code error;
  fs::path path = fs::absolute(fs::path(argument), error);
  if (error) return Unexpected("cannot use folder '" + argument + "': " + error.message());
  bool climbs = false;
  for (const fs::path& part : path)
    if (part == "..") climbs = true;
  // "a/link/.." is where the system goes, not "a": only the real path knows.
  path = climbs ? fs::canonical(path, error) : path.lexically_normal();
  if (error) return Unexpected("cannot use folder '" + argument + "': " + error.message());
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) return Unexpected("cannot use folder '" + argument + "': No such file or directory");
  if (!fs::is_directory(status)) return Unexpected("cannot use folder '" + argument + "': Not a directory");
  return WithSlash(path.string());
}

}  // namespace vt
