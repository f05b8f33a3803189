#include "passes/FileFields.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/CalendarTime.h"

namespace vt {
namespace {

// Nearly every camera writes its metadata within the first 64 KiB; a file
// whose metadata goes on is read again through the library's own file access.
constexpr std::size_t kHeadBytes = std::size_t{64} * 1024;

void PrepareLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    // Warnings about odd files would interleave with a front end's output.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // Sets up the XMP toolkit before any worker uses it, with a lock around
    // its shared state: the file list and a pass may read photos at once.
    static std::recursive_mutex xmpLock;
    Exiv2::XmpParser::initialize(
        [](void* data, bool lock) {
          auto* mutex = static_cast<std::recursive_mutex*>(data);
          if (lock)
            mutex->lock();
          else
            mutex->unlock();
        },
        &xmpLock);
  });
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

template <typename TData, typename TKey>
std::string FirstOf(const TData& data, std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    const auto found = data.findKey(TKey(key));
    if (found == data.end()) continue;
    std::string text = Trimmed(found->toString());
    if (!text.empty()) return text;
  }
  return {};
}

std::uint32_t PositiveNumber(long value) { return value > 0 ? static_cast<std::uint32_t>(value) : 0; }

void TakeImageValues(Exiv2::Image& image, TFieldValues& values) {
  const Exiv2::ExifData& exif = image.exifData();
  const Exiv2::XmpData& xmp = image.xmpData();
  std::string taken = FirstOf<Exiv2::ExifData, Exiv2::ExifKey>(
      exif, {"Exif.Photo.DateTimeOriginal", "Exif.Image.DateTimeOriginal", "Exif.Photo.DateTimeDigitized"});
  if (taken.empty())
    taken = FirstOf<Exiv2::XmpData, Exiv2::XmpKey>(
        xmp, {"Xmp.exif.DateTimeOriginal", "Xmp.photoshop.DateCreated", "Xmp.xmp.CreateDate"});
  values.Taken = ParseTakenDate(taken);
  values.Make = FirstOf<Exiv2::ExifData, Exiv2::ExifKey>(exif, {"Exif.Image.Make"});
  if (values.Make.empty()) values.Make = FirstOf<Exiv2::XmpData, Exiv2::XmpKey>(xmp, {"Xmp.tiff.Make"});
  values.Model = FirstOf<Exiv2::ExifData, Exiv2::ExifKey>(exif, {"Exif.Image.Model"});
  if (values.Model.empty()) values.Model = FirstOf<Exiv2::XmpData, Exiv2::XmpKey>(xmp, {"Xmp.tiff.Model"});
  values.Width = PositiveNumber(image.pixelWidth());
  values.Height = PositiveNumber(image.pixelHeight());
  if (values.Width == 0 || values.Height == 0) {
    const auto width = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
    const auto height = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelYDimension"));
    if (width != exif.end() && height != exif.end()) {
      values.Width = PositiveNumber(width->toLong());
      values.Height = PositiveNumber(height->toLong());
    }
  }
}

bool HasImageValues(const TFieldValues& values) {
  return values.Taken || !values.Make.empty() || !values.Model.empty() || values.Width != 0;
}

// False when the library could not make sense of what it was given.
template <typename TOpen>
bool ReadImageWith(const TOpen& open, TFieldValues& values) {
  try {
    // The library hands out its own kind of owning pointer; ours owns it from here.
    const std::unique_ptr<Exiv2::Image> image(open().release());
    if (!image) return false;
    image->readMetadata();
    TakeImageValues(*image, values);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ReadAudio(const std::string& path, TFieldValues& values) {
  try {
    // Tags only: the audio's length and rate would cost a look at its frames.
    const TagLib::FileRef file(path.c_str(), false);
    const TagLib::Tag* tag = file.tag();
    if (tag == nullptr) return;
    values.Artist = Trimmed(tag->artist().to8Bit(true));
    values.Album = Trimmed(tag->album().to8Bit(true));
    values.Title = Trimmed(tag->title().to8Bit(true));
    values.Year = tag->year();
    values.Track = tag->track();
  } catch (const std::exception&) {
    values = TFieldValues();
  }
}

}  // namespace

TFieldReader::TFieldReader() { PrepareLibraries(); }

void TFieldReader::Read(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out) {
  out = TFileFacts();
  if ((sources & FieldSource::Image) != 0) ReadImage(folder, name, out);
  if ((sources & FieldSource::Stat) != 0 && !out.Stat) out.Stat = StatEntry(folder, name);
  if (out.Stat && (sources & FieldSource::Stat) != 0) out.Values.Modified = LocalTime(out.Stat->Modified);
  if ((sources & FieldSource::Audio) != 0) ReadAudio(folder.Path() + name, out.Values);
}

void TFieldReader::ReadImage(const TFolderHandle& folder, const std::string& name, TFileFacts& out) {
  TFileStat stat;
  if (ReadFileHead(folder, name, kHeadBytes, Head_, stat) != 0) return;
  out.Stat = stat;
  if (Head_.empty()) return;
  const auto* bytes = reinterpret_cast<const Exiv2::byte*>(Head_.data());
  const long size = static_cast<long>(Head_.size());
  const bool read = ReadImageWith([&] { return Exiv2::ImageFactory::open(bytes, size); }, out.Values);
  if ((read && HasImageValues(out.Values)) || stat.Size <= Head_.size()) return;
  out.Values = TFieldValues();
  const std::string path = folder.Path() + name;
  ReadImageWith([&] { return Exiv2::ImageFactory::open(path); }, out.Values);
}

}  // namespace vt
