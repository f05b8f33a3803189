#pragma once
// What a pass reads of a file for the fields of its names and for its order:
// the date modified of one look at it, the EXIF and XMP of an image, the tags
// of a song. Only what is asked for is read, and of an image only its start,
// where the metadata lies; a file that holds none of it simply lacks the values.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/NameFields.h"
#include "platform/FileHead.h"
#include "platform/FolderHandle.h"

namespace vt {

struct TFileFacts {
  TFieldValues Values;
  std::optional<TFileStat> Stat;  // when the file was looked at
  // Flagged immutable or append-only, when an image's reading looked at the
  // file through its open handle (ImmutableFlags.h).
  std::optional<bool> Unwritable;
};

class TFieldReader {
 public:
  TFieldReader();
  // sources: FieldSource bits. Replaces everything out held.
  void Read(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out);
  // The same after a look at the file made just now (nothing: it could not be
  // looked at): the date modified comes from that look, not from one of its own.
  void Read(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out,
            const std::optional<TFileStat>& looked);

 private:
  void ReadWith(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out,
                const std::optional<TFileStat>* looked);
  void ReadImage(const TFolderHandle& folder, const std::string& name, TFileFacts& out);
  std::string Head_;  // kept from file to file so that its storage is reused
};

}  // namespace vt
