#pragma once
// One directory entry as the listing reports it, shaped after the record the
// rename engine was designed around: an attribute word, the long name and an
// 8.3 alternate name.
#include <cstdint>
#include <string>

namespace vt {

namespace FileAttr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t VolumeLabel = 0x08;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
inline constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace FileAttr

struct TFindData {
  std::uint32_t dwFileAttributes = 0;
  std::string cFileName;           // long name, no folder
  std::string cAlternateFileName;  // 8.3 name; empty when the long name already has 8.3 form
  // A regular file whose rename flags the listing left to its caller
  // (ReadOnlyFlags::LeaveToCaller): the word lacks ReadOnly whatever they are.
  bool FlagsUnread = false;
  // The folder's number for the entry (d_ino); 0 where the listing did not give one.
  std::uint64_t Inode = 0;
};

}  // namespace vt
