#pragma once
// The one failure of the Qt-free layers above the platform: what failed, the
// system's code for why, and the path it concerns. It holds no words: the
// window and the command line each turn it into their own.
#include <cstdint>
#include <string>

namespace vt {

// What failed, in the system's terms.
enum class TErrorKind : std::uint8_t {
  Read,        // a file could not be opened, sized or read
  NotJournal,  // the bytes read are no journal this version reads
  Create,      // a file could not be created (EEXIST when its name is taken)
  Write,       // a file could not be written, flushed or closed
  MakeFolder,  // a folder could not be made, or is no folder
  InUse,       // a file's writer is still at work on it
};

struct TError {
  int Code = 0;  // the errno; 0 when the system gave none
  TErrorKind Kind = TErrorKind::Read;
  std::string Path;  // what it concerns; may be empty
  friend bool operator==(const TError&, const TError&) = default;
};

}  // namespace vt
