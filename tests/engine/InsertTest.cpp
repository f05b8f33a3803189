#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"

namespace vt {
namespace {

std::string Inserted(const std::string& file, const std::string& text, int insertTo, int position) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::Insert);
  controls.EdInsert = text;
  controls.ComboInsertTo = insertTo;
  controls.UpDownInsertPos = position;
  return test::Simulate(controls, file);
}

TEST(Insert, ListedResults) {
  struct Case {
    int insertTo, position;
    const char* result;
  } const cases[] = {
      {0, 1, "photo_x.jpg"}, {0, 77, "photo_x.jpg"}, {1, 1, "_xphoto.jpg"},  {1, 50, "_xphoto.jpg"},
      {2, 3, "ph_xoto.jpg"}, {2, 1, "_xphoto.jpg"},  {2, 10, "photo_x.jpg"}, {3, 1, "phot_xo.jpg"},
      {3, 2, "pho_xto.jpg"}, {3, 10, "_xphoto.jpg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Inserted("photo.jpg", "_x", c.insertTo, c.position), c.result) << c.insertTo << "/" << c.position;
  }
}

TEST(Insert, EdgeCases) {
  EXPECT_EQ(Inserted("photo.jpg", "", 0, 1), "No parameters");
  EXPECT_EQ(Inserted("photo.jpg", "_x", -1, 1), "No change");  // no selection: 255
  EXPECT_EQ(Inserted("photo.jpg", "_x", 7, 1), "No change");
  EXPECT_EQ(Inserted("photo.jpg", "_x", 3, 0), "photo_x.jpg");  // L + 1 - 0 appends
  EXPECT_EQ(Inserted("photo.jpg", "_x", 2, 6), "photo_x.jpg");
  EXPECT_EQ(Inserted("data.tar.gz", "-1", 0, 1), "data.tar-1.gz");
  EXPECT_EQ(Inserted(".profile", "x", 0, 1), "x.profile");
  EXPECT_EQ(Inserted("README", "_v2", 0, 1), "README_v2");
  EXPECT_EQ(Inserted("notes.", "!", 0, 1), "notes!");      // the trailing dot is lost
  EXPECT_EQ(Inserted("photo.jpg", "../", 1, 1), "Error");  // would leave the folder
}

TEST(Insert, PositionsCountCharacters) {
  const std::string name = "\xC3\xA9t\xC3\xA9";  // été
  EXPECT_EQ(Inserted(name + ".txt", "-", 2, 2), "\xC3\xA9-t\xC3\xA9.txt");
  EXPECT_EQ(Inserted(name + ".txt", "-", 3, 1), "\xC3\xA9t-\xC3\xA9.txt");
  EXPECT_EQ(Inserted("\xE6\x97\xA5\xF0\x9F\x98\x80.png", "+", 3, 1), "\xE6\x97\xA5+\xF0\x9F\x98\x80.png");
  EXPECT_EQ(Inserted("a\xFF"
                     "b.txt",
                     "+", 2, 3),
            "a\xFF+b.txt");
}

}  // namespace
}  // namespace vt
