#pragma once
// What a pass reads of a file besides its name: the size and the date modified
// of one look at it, and the first bytes, where a file keeps its metadata.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "platform/FolderHandle.h"

namespace vt {

struct TFileStat {
  std::time_t Modified = 0;
  std::uint32_t ModifiedNanoseconds = 0;
  std::uint64_t Size = 0;
};

// What a look made for another purpose found of the file.
TFileStat FileStatOf(const TEntryInfo& info);

// A look at the entry name of folder, a link not followed; nothing when it cannot be looked at.
std::optional<TFileStat> StatEntry(const TFolderHandle& folder, const std::string& name);

// Up to max bytes from the start of the plain file name of folder, never
// through a link, into head; looked: the open file's look, its flags too
// (ImmutableFlags.h). 0 or the errno.
int ReadFileHead(const TFolderHandle& folder, const std::string& name, std::size_t max, std::string& head,
                 TEntryInfo& looked);

}  // namespace vt
