#pragma once
// The attribute word of a directory entry, mapped so that plain files, and only
// they, carry the bare archive flag.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

enum class EntryKind : std::uint8_t { Regular, Directory, Symlink, Other };
// The inode flags that stop a rename on Linux (ImmutableFlags.h): immutable or append-only.
enum class RenameFlags : std::uint8_t { None, Set };

// Folders 0x10, every other entry 0x20; a name beginning with "." adds hidden;
// a regular file flagged immutable or append-only adds read-only (permission
// bits never do: a 0444 file is renamed like any other); a symbolic
// link (never followed) adds reparse point; FIFOs, sockets and devices add system.
std::uint32_t EntryAttributes(EntryKind kind, RenameFlags flags, std::string_view name);

// The kind a directory entry's type byte tells without a look at the entry; none
// for regular files (their flags need a look) and for unknown types.
std::optional<EntryKind> KindFromDirentType(unsigned char type);

}  // namespace vt
