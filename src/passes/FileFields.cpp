#include "passes/FileFields.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>
#include <string_view>

#include "platform/CalendarTime.h"

namespace vt {
namespace {

// Nearly every camera writes its metadata within the first 64 KiB; a file
// whose metadata goes on is read again with a longer start, and past
// kMostHeadBytes through the library's own file access.
constexpr std::size_t kHeadBytes = std::size_t{64} * 1024;
constexpr std::size_t kMostHeadBytes = std::size_t{4} * 1024 * 1024;

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

// A text as the library holds it. Its own toString goes through a string
// stream, which cost as much per photo as reading the photo's EXIF did.
std::string TextOf(const Exiv2::Metadatum& datum) {
  if (datum.typeId() != Exiv2::asciiString) return Trimmed(datum.toString());
  std::string text(static_cast<std::size_t>(std::max(0L, datum.size())), '\0');
  if (!text.empty()) datum.copy(reinterpret_cast<Exiv2::byte*>(text.data()), Exiv2::invalidByteOrder);
  return Trimmed(std::move(text));
}

// Compared by tag and folder number: the library's own look-up copies every
// entry's name to compare it.
std::string FirstExif(const Exiv2::ExifData& exif, const std::vector<Exiv2::ExifKey>& keys) {
  for (const Exiv2::ExifKey& key : keys) {
    const std::uint16_t tag = key.tag();
    const int ifd = key.ifdId();
    const auto found = std::find_if(exif.begin(), exif.end(), [&](const Exiv2::Exifdatum& datum) {
      return datum.tag() == tag && datum.ifdId() == ifd;
    });
    if (found == exif.end()) continue;
    std::string text = TextOf(*found);
    if (!text.empty()) return text;
  }
  return {};
}

std::string FirstXmp(const Exiv2::XmpData& xmp, const std::vector<Exiv2::XmpKey>& keys) {
  for (const Exiv2::XmpKey& key : keys) {
    const auto found = xmp.findKey(key);
    if (found == xmp.end()) continue;
    std::string text = TextOf(*found);
    if (!text.empty()) return text;
  }
  return {};
}

struct TImageKeys {
  std::vector<Exiv2::ExifKey> Taken, Make, Model, Width, Height;
  std::vector<Exiv2::XmpKey> XmpTaken, XmpMake, XmpModel;
};

const TImageKeys& ImageKeys() {
  // After PrepareLibraries: an XMP key's prefix is looked up in the toolkit.
  static const TImageKeys keys = [] {
    TImageKeys made;
    for (const char* name :
         {"Exif.Photo.DateTimeOriginal", "Exif.Image.DateTimeOriginal", "Exif.Photo.DateTimeDigitized"})
      made.Taken.emplace_back(name);
    made.Make.emplace_back("Exif.Image.Make");
    made.Model.emplace_back("Exif.Image.Model");
    made.Width.emplace_back("Exif.Photo.PixelXDimension");
    made.Height.emplace_back("Exif.Photo.PixelYDimension");
    for (const char* name : {"Xmp.exif.DateTimeOriginal", "Xmp.photoshop.DateCreated", "Xmp.xmp.CreateDate"})
      made.XmpTaken.emplace_back(name);
    made.XmpMake.emplace_back("Xmp.tiff.Make");
    made.XmpModel.emplace_back("Xmp.tiff.Model");
    return made;
  }();
  return keys;
}

std::uint32_t PositiveNumber(long value) { return value > 0 ? static_cast<std::uint32_t>(value) : 0; }

std::uint32_t FirstNumber(const Exiv2::ExifData& exif, const std::vector<Exiv2::ExifKey>& keys) {
  for (const Exiv2::ExifKey& key : keys) {
    const auto found = std::find_if(exif.begin(), exif.end(), [&](const Exiv2::Exifdatum& datum) {
      return datum.tag() == key.tag() && datum.ifdId() == key.ifdId();
    });
    if (found != exif.end() && found->count() > 0) return PositiveNumber(found->toLong());
  }
  return 0;
}

void TakeImageValues(Exiv2::Image& image, TFieldValues& values) {
  const TImageKeys& keys = ImageKeys();
  const Exiv2::ExifData& exif = image.exifData();
  const Exiv2::XmpData& xmp = image.xmpData();
  std::string taken = FirstExif(exif, keys.Taken);
  if (taken.empty() && !xmp.empty()) taken = FirstXmp(xmp, keys.XmpTaken);
  values.Taken = ParseTakenDate(taken);
  values.Make = FirstExif(exif, keys.Make);
  if (values.Make.empty() && !xmp.empty()) values.Make = FirstXmp(xmp, keys.XmpMake);
  values.Model = FirstExif(exif, keys.Model);
  if (values.Model.empty() && !xmp.empty()) values.Model = FirstXmp(xmp, keys.XmpModel);
  values.Width = PositiveNumber(image.pixelWidth());
  values.Height = PositiveNumber(image.pixelHeight());
  if (values.Width == 0 || values.Height == 0) {
    const std::uint32_t width = FirstNumber(exif, keys.Width);
    const std::uint32_t height = FirstNumber(exif, keys.Height);
    if (width != 0 && height != 0) {
      values.Width = width;
      values.Height = height;
    }
  }
}

bool HasImageValues(const TFieldValues& values) {
  return values.Taken || !values.Make.empty() || !values.Model.empty() || values.Width != 0;
}

enum class TImageRead : std::uint8_t {
  Cut,    // the library failed inside the metadata: it may go on past what it was given
  Read,   // the library found what there was in what it was given
  Final,  // nothing further in the file can be found: not a kind of image the
          // library knows, or a JPEG read through
};

template <typename TOpen>
TImageRead ReadImageWith(const TOpen& open, TFieldValues& values) {
  std::unique_ptr<Exiv2::Image> image;
  try {
    // The library hands out its own kind of owning pointer; ours owns it from here.
    image.reset(open().release());
  } catch (const std::exception&) {
    return TImageRead::Final;  // it tells the kind by the first bytes
  }
  if (!image) return TImageRead::Final;
  try {
    image->readMetadata();
    TakeImageValues(*image, values);
    // A JPEG's metadata all comes before its picture, and the library reads up
    // to the picture or fails.
    return image->imageType() == Exiv2::ImageType::jpeg ? TImageRead::Final : TImageRead::Read;
  } catch (const std::exception&) {
    values = TFieldValues();
    return TImageRead::Cut;
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
  ReadWith(folder, name, sources, out, nullptr);
}

void TFieldReader::Read(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out,
                        const std::optional<TFileStat>& looked) {
  ReadWith(folder, name, sources, out, &looked);
}

void TFieldReader::ReadWith(const TFolderHandle& folder, const std::string& name, std::uint8_t sources, TFileFacts& out,
                            const std::optional<TFileStat>* looked) {
  out = TFileFacts();
  if ((sources & FieldSource::Image) != 0) ReadImage(folder, name, out);
  if ((sources & FieldSource::Stat) != 0 && !out.Stat) out.Stat = looked != nullptr ? *looked : StatEntry(folder, name);
  if (out.Stat && (sources & FieldSource::Stat) != 0) out.Values.Modified = LocalTime(out.Stat->Modified);
  if ((sources & FieldSource::Audio) != 0) ReadAudio(folder.Path() + name, out.Values);
}

void TFieldReader::ReadImage(const TFolderHandle& folder, const std::string& name, TFileFacts& out) {
  TEntryInfo looked;
  std::size_t max = kHeadBytes;
  for (;;) {
    if (ReadFileHead(folder, name, max, Head_, looked) != 0) return;
    out.Stat = FileStatOf(looked);
    out.Unwritable = looked.Immutable;
    if (Head_.empty()) return;
    const auto* bytes = reinterpret_cast<const Exiv2::byte*>(Head_.data());
    const long size = static_cast<long>(Head_.size());
    const TImageRead read = ReadImageWith([&] { return Exiv2::ImageFactory::open(bytes, size); }, out.Values);
    if (read == TImageRead::Final || (read == TImageRead::Read && HasImageValues(out.Values))) return;
    if (looked.Size <= Head_.size()) return;  // the whole file was there
    // Cut off inside the metadata: a longer start, up to a bound.
    if (read == TImageRead::Cut && max < kMostHeadBytes) {
      max *= 8;
      continue;
    }
    break;
  }
  // Metadata further in (a raw file's folders may point anywhere): the
  // library's own file access, which reads only what it goes to.
  out.Values = TFieldValues();
  const std::string path = folder.Path() + name;
  ReadImageWith([&] { return Exiv2::ImageFactory::open(path); }, out.Values);
}

}  // namespace vt
