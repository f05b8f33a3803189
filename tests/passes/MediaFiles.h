#pragma once
// Small photos and songs with known metadata, written by the same libraries
// the pass reads them with, from minimal templates of their formats.
#include <cstdint>
#include <string>

namespace vt::test {

struct TPhotoTags {
  std::string Taken;  // as EXIF writes it, "2025:06:14 10:11:12"; empty for none
  std::string Make;
  std::string Model;
  std::uint16_t Width = 1;
  std::uint16_t Height = 1;
  std::string XmpTaken;  // written to XMP instead of EXIF when set
};

struct TSongTags {
  std::string Artist, Album, Title;
  unsigned Year = 0, Track = 0;
};

// A JPEG: the markers of a one-component picture of the given size, and the tags.
std::string JpegBytes(const TPhotoTags& tags);
void WriteJpeg(const std::string& path, const TPhotoTags& tags);
// Three silent MPEG-1 layer 3 frames with an ID3v2 tag.
void WriteMp3(const std::string& path, const TSongTags& tags);
// A FLAC stream's header with a Vorbis comment.
void WriteFlac(const std::string& path, const TSongTags& tags);

}  // namespace vt::test
