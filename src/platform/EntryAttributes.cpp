#include "platform/EntryAttributes.h"

#include "platform/FindData.h"

namespace vt {

std::uint32_t EntryAttributes(EntryKind kind, WriteBits writeBits, std::string_view name) {
  std::uint32_t attr = kind == EntryKind::Directory ? FileAttr::Directory : FileAttr::Archive;
  if (!name.empty() && name.front() == '.') attr |= FileAttr::Hidden;
  switch (kind) {
    case EntryKind::Regular:
      if (writeBits == WriteBits::None) attr |= FileAttr::ReadOnly;
      break;
    case EntryKind::Symlink:
      attr |= FileAttr::ReparsePoint;
      break;
    case EntryKind::Other:
      attr |= FileAttr::System;
      break;
    case EntryKind::Directory:
      break;
  }
  return attr;
}

}  // namespace vt
