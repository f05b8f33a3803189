#pragma once
// The attribute word of a directory entry, mapped so that plain files, and only
// they, carry the bare archive flag.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vt {

enum class EntryKind : std::uint8_t { Regular, Directory, Symlink, Other };
enum class WriteBits : std::uint8_t { None, Some };

// Folders 0x10, every other entry 0x20; a name beginning with "." adds hidden;
// a regular file without any write permission bit adds read-only; a symbolic
// link (never followed) adds reparse point; FIFOs, sockets and devices add system.
std::uint32_t EntryAttributes(EntryKind kind, WriteBits writeBits, std::string_view name);

// The kind a directory entry's type byte tells without a look at the entry; none
// for regular files (their write bits need the mode) and for unknown types.
std::optional<EntryKind> KindFromDirentType(unsigned char type);

}  // namespace vt
