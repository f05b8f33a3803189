#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"

namespace vt {
namespace {

std::string Truncated(const std::string& file, int kind, int maxChars, const std::string& shortName = {}) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Truncate);
  controls.ComboTruncateTo = kind;
  controls.UpDownNbrTruncate = maxChars;
  return test::Simulate(controls, file, shortName);
}

TEST(Truncate, ListedResults) {
  EXPECT_EQ(Truncated("holiday photo.jpeg", 1, 5), "holid.jpeg");
  EXPECT_EQ(Truncated("photo.jpg", 1, 5), "No change");
  EXPECT_EQ(Truncated("holiday photo.jpeg", 0, 1, "HOLIDA~1.JPE"), "HOLIDA~1.JPE");
}

TEST(Truncate, MaximumCharacters) {
  EXPECT_EQ(Truncated("photo.jpg", 1, 4), "phot.jpg");
  EXPECT_EQ(Truncated("photo.jpg", 1, 1), "p.jpg");
  EXPECT_EQ(Truncated("photo", 1, 3), "pho");
  EXPECT_EQ(Truncated("data.tar.gz", 1, 4), "data.gz");
  EXPECT_EQ(Truncated(".profile", 1, 3), "No change");
  EXPECT_EQ(Truncated("\xC3\xA9t\xC3\xA9 2020.txt", 1, 3), "\xC3\xA9t\xC3\xA9.txt");
  EXPECT_EQ(Truncated("\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80.png", 1, 1), "\xE6\x97\xA5.png");
  EXPECT_EQ(Truncated("\xE6\x97\xA5\xE6\x9C\xAC.png", 1, 2), "No change");
}

TEST(Truncate, ShortName) {
  // The long name already has 8.3 form, so there is no separate short name.
  EXPECT_EQ(Truncated("PHOTO.JPG", 0, 1), "No change");
  // The short name is taken as it is, even when it differs only in case.
  EXPECT_EQ(Truncated("Photo.jpg", 0, 1, "PHOTO.JPG"), "PHOTO.JPG");
  // An index outside the table leaves the file alone.
  EXPECT_EQ(Truncated("holiday photo.jpeg", 7, 1, "HOLIDA~1.JPE"), "No change");
  EXPECT_EQ(Truncated("holiday photo.jpeg", -1, 1, "HOLIDA~1.JPE"), "No change");
}

}  // namespace
}  // namespace vt
