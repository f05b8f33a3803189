// Writes COUNT small JPEGs with a date taken and a camera make into FOLDER,
// named IMG_1.JPG to IMG_COUNT.JPG (so that natural and name order differ), taken
// one minute apart in an order that is neither: what the fields benchmark renames.
//   bench_make_photos FOLDER COUNT
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <fstream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_make_photos FOLDER COUNT\n");
    return 2;
  }
  const std::string folder = argv[1];
  const long count = std::stol(argv[2]);
  // SOI, a one-component 1x1 frame, a scan and EOI.
  static const Exiv2::byte kPlain[] = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x01, 0x00,
                                       0x01, 0x01, 0x01, 0x11, 0x00, 0xFF, 0xDA, 0x00, 0x08, 0x01,
                                       0x01, 0x00, 0x00, 0x3F, 0x00, 0x00, 0xFF, 0xD9};
  for (long i = 1; i <= count; ++i) {
    const std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(kPlain, sizeof kPlain).release());
    image->readMetadata();
    const long minute = (i * 7919) % count;  // a permutation when count is not a multiple of 7919
    char taken[96];                          // room for any long, as the compiler counts it
    std::snprintf(taken, sizeof taken, "2025:06:%02ld %02ld:%02ld:00", 1 + minute / 1440, minute / 60 % 24,
                  minute % 60);
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = i % 2 == 0 ? "Canon" : "NIKON CORPORATION";
    exif["Exif.Photo.DateTimeOriginal"] = std::string(taken);
    image->setExifData(exif);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    std::string bytes(static_cast<std::size_t>(io.size()), '\0');
    io.read(reinterpret_cast<Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
    std::ofstream(folder + "/IMG_" + std::to_string(i) + ".JPG", std::ios::binary) << bytes;
  }
  return 0;
}
