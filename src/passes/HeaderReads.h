#pragma once
// The headers of a folder's files read on a few threads at once. An order by
// date taken must read every file before the first can be numbered; on more
// than one core that reading is what the pass waits for.
#include <cstddef>
#include <functional>

#include "passes/FileFields.h"
#include "platform/ListingStop.h"

namespace vt {

// What one file's reading does: read the file at index with reader, and write
// only to what belongs to that index. Runs on any of the reading threads.
using THeaderRead = std::function<void(TFieldReader& reader, std::size_t index)>;

// How many threads reading count files pays for on this machine: one for a
// few files, where starting a thread costs more than it saves.
unsigned HeaderThreads(std::size_t count);

// read for every index below count, each once, on threads threads: the
// caller's, with its own reader, and helpers with readers of their own.
// stop is asked on the caller's thread only; once it says so the rest are
// left unread. Returns when every thread is done.
void ReadHeaders(std::size_t count, unsigned threads, TFieldReader& callerReader, const THeaderRead& read,
                 const TListingStop& stop);

}  // namespace vt
