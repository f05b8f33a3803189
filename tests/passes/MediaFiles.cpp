#include "passes/MediaFiles.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <exiv2/exiv2.hpp>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace vt::test {
namespace {

std::string BytesOf(std::initializer_list<unsigned> bytes) {
  std::string out;
  for (const unsigned byte : bytes) out += static_cast<char>(byte);
  return out;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void Tag(const std::string& path, const TSongTags& tags) {
  TagLib::FileRef file(path.c_str());
  if (file.isNull()) throw std::runtime_error("no tags in " + path);
  TagLib::Tag* tag = file.tag();
  tag->setArtist(TagLib::String(tags.Artist, TagLib::String::UTF8));
  tag->setAlbum(TagLib::String(tags.Album, TagLib::String::UTF8));
  tag->setTitle(TagLib::String(tags.Title, TagLib::String::UTF8));
  tag->setYear(tags.Year);
  tag->setTrack(tags.Track);
  if (!file.save()) throw std::runtime_error("cannot tag " + path);
}

}  // namespace

std::string JpegBytes(const TPhotoTags& tags) {
  const unsigned h = tags.Height, w = tags.Width;
  const std::string plain = BytesOf({0xFF, 0xD8,                                                              // SOI
                                     0xFF, 0xC0, 0x00, 0x0B, 0x08, h >> 8, h & 0xFF, w >> 8, w & 0xFF,        // SOF0
                                     0x01, 0x01, 0x11, 0x00,                                                  //
                                     0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01,   0x00,     0x00,   0x3F,     0x00,  // SOS
                                     0x00, 0xFF, 0xD9});                                                      // EOI
  const auto* data = reinterpret_cast<const Exiv2::byte*>(plain.data());
  const std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(data, static_cast<long>(plain.size())).release());
  image->readMetadata();
  Exiv2::ExifData exif;
  if (!tags.Taken.empty()) exif["Exif.Photo.DateTimeOriginal"] = tags.Taken;
  if (!tags.Make.empty()) exif["Exif.Image.Make"] = tags.Make;
  if (!tags.Model.empty()) exif["Exif.Image.Model"] = tags.Model;
  image->setExifData(exif);
  if (!tags.XmpTaken.empty()) {
    Exiv2::XmpData xmp;
    xmp["Xmp.exif.DateTimeOriginal"] = tags.XmpTaken;
    image->setXmpData(xmp);
  }
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.seek(0, Exiv2::BasicIo::beg);
  std::string bytes(io.size(), '\0');
  io.read(reinterpret_cast<Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
  return bytes;
}

void WriteJpeg(const std::string& path, const TPhotoTags& tags) { WriteFile(path, JpegBytes(tags)); }

void WriteMp3(const std::string& path, const TSongTags& tags) {
  std::string frames;
  for (int i = 0; i < 3; ++i) frames += BytesOf({0xFF, 0xFB, 0x90, 0x00}) + std::string(413, '\0');
  WriteFile(path, frames);
  Tag(path, tags);
}

void WriteFlac(const std::string& path, const TSongTags& tags) {
  // STREAMINFO, the last block: 4096-sample blocks, 44.1 kHz, two channels, 16 bits.
  std::string header = BytesOf({'f', 'L', 'a', 'C', 0x80, 0x00, 0x00, 0x22, 0x10, 0x00, 0x10, 0x00, 0,
                                0,   0,   0,   0,   0,    0x0A, 0xC4, 0x42, 0xF0, 0,    0,    0,    0});
  header += std::string(16, '\0');  // the MD5 of no samples is left unset
  WriteFile(path, header);
  Tag(path, tags);
}

}  // namespace vt::test
