#include "platform/EntryAttributes.h"

#include <dirent.h>

#include "platform/FindData.h"

namespace vt {

std::uint32_t EntryAttributes(EntryKind kind, RenameFlags flags, std::string_view name) {
  std::uint32_t attr = kind == EntryKind::Directory ? FileAttr::Directory : FileAttr::Archive;
  if (!name.empty() && name.front() == '.') attr |= FileAttr::Hidden;
  switch (kind) {
    case EntryKind::Regular:
      if (flags == RenameFlags::Set) attr |= FileAttr::ReadOnly;
      break;
    case EntryKind::Symlink: attr |= FileAttr::ReparsePoint; break;
    case EntryKind::Other: attr |= FileAttr::System; break;
    case EntryKind::Directory: break;
  }
  return attr;
}

std::optional<EntryKind> KindFromDirentType(unsigned char type) {
  switch (type) {
    case DT_DIR: return EntryKind::Directory;
    case DT_LNK: return EntryKind::Symlink;
    case DT_FIFO:
    case DT_SOCK:
    case DT_CHR:
    case DT_BLK: return EntryKind::Other;
    default: return std::nullopt;
  }
}

}  // namespace vt
