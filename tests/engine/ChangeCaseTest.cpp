#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"
#include "engine/ChangeCase.h"

namespace vt {
namespace {

std::string Changed(const std::string& file, int kind, bool withExtension) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::ChangeCase);
  controls.ComboChangeCase = kind;
  controls.ChkBxChangecaseWithExt = withExtension;
  return test::Simulate(controls, file);
}

TEST(ChangeCase, ListedResults) {
  struct Case {
    int kind;
    const char* withExt;
    const char* withoutExt;
  } const cases[] = {
      {0, "MY HOLIDAY PHOTO.JPG", "MY HOLIDAY PHOTO.JPG"}, {1, "my holiday photo.jpg", "my holiday photo.JPG"},
      {2, "My Holiday photo.jpg", "My Holiday photo.JPG"}, {3, "My holiday photo.jpg", "My holiday photo.JPG"},
      {4, "My hOlIdAy pHoTo.JpG", "My hOlIdAy pHoTo.JPG"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Changed("my Holiday photo.JPG", c.kind, true), c.withExt) << c.kind;
    EXPECT_EQ(Changed("my Holiday photo.JPG", c.kind, false), c.withoutExt) << c.kind;
  }
  EXPECT_EQ(Changed("README", 1, true), "readme");
  EXPECT_EQ(Changed("README", 0, true), "No change");
}

TEST(ChangeCase, MoreCases) {
  EXPECT_EQ(Changed("Photo.JPG", 0, false), "PHOTO.JPG");
  EXPECT_EQ(Changed("PHOTO.jpg", 0, false), "No change");
  EXPECT_EQ(Changed("photo.jpg", -1, true), "No change");  // no selection
  EXPECT_EQ(Changed("photo.jpg", 9, true), "No change");
  EXPECT_EQ(Changed(".PROFILE", 1, true), ".profile");
  EXPECT_EQ(Changed(".PROFILE", 1, false), "No change");
  EXPECT_EQ(Changed("data.TAR.GZ", 1, false), "data.tar.GZ");
  EXPECT_EQ(Changed("1abc.TXT", 2, true), "1abc.txt");  // first character is no letter
  EXPECT_EQ(Changed("aBC def.txt", 2, true), "ABC def.txt");
  EXPECT_EQ(Changed("aBC dEF.Txt", 3, true), "Abc def.txt");
}

TEST(ChangeCase, ExtensionOnly) {
  const struct {
    const char* file;
    TCaseKind kind;
    bool withExtension;  // the other box, which has no say
    const char* expected;
  } cases[] = {
      {"IMG_0042.JPG", TCaseKind::Lower, true, "IMG_0042.jpg"},
      {"IMG_0042.JPG", TCaseKind::Lower, false, "IMG_0042.jpg"},
      {"My Photo.jpg", TCaseKind::Upper, true, "My Photo.JPG"},
      {"my photo.jPEG", TCaseKind::FirstUpperRestLower, true, "my photo.Jpeg"},
      {"my photo.jPEG", TCaseKind::FirstUpperIgnoreRest, true, "my photo.JPEG"},
      {"A.jpeg", TCaseKind::Weird, true, "A.JpEg"},
      {"data.TAR.GZ", TCaseKind::Lower, true, "data.TAR.gz"},
      {"README", TCaseKind::Lower, true, "No change"},
      {"photo.jpg", TCaseKind::Lower, true, "No change"},
      {".PROFILE", TCaseKind::Lower, true, ".profile"},
  };
  for (const auto& c : cases) {
    TControlValues controls;
    controls.LstBoxActions = ControlIndex(TOperation::ChangeCase);
    controls.ComboChangeCase = ControlIndex(c.kind);
    controls.ChkBxChangecaseWithExt = c.withExtension;
    controls.ChkBxChangecaseExtOnly = true;
    EXPECT_EQ(test::Simulate(controls, c.file), c.expected) << c.file;
  }
}

TEST(ChangeCase, AccentedLettersKeepTheirCase) {
  const std::string lowerE = "\xC3\xA9";
  const std::string upperE = "\xC3\x89";
  EXPECT_EQ(Changed(lowerE + "t" + upperE + ".txt", 0, true), lowerE + "T" + upperE + ".TXT");
  EXPECT_EQ(Changed(upperE + "T" + lowerE + ".TXT", 1, true), upperE + "t" + lowerE + ".txt");
  EXPECT_EQ(Changed(lowerE + "tude.txt", 2, true), "No change");
  EXPECT_EQ(Changed(lowerE + "TUDE.txt", 3, true), lowerE + "tude.txt");
  // Weird case counts characters: é is position 1, so t at 2 stays lower.
  EXPECT_EQ(Changed(lowerE + "tude.txt", 4, false), lowerE + "tUdE.txt");
  EXPECT_EQ(Changed("\xE6\x97\xA5xy\xF0\x9F\x98\x80z.txt", 4, false), "\xE6\x97\xA5xY\xF0\x9F\x98\x80Z.txt");
}

TEST(WeirdCase, OddPositionsUpper) {
  EXPECT_EQ(WeirdCase("weird case"), "WeIrD CaSe");
  EXPECT_EQ(WeirdCase("1st try"), "1sT TrY");
  EXPECT_EQ(WeirdCase("ABCDE"), "AbCdE");
  EXPECT_EQ(WeirdCase(""), "");
  EXPECT_EQ(WeirdCase("\xFF"
                      "ab"),
            "\xFF"
            "aB");
}

}  // namespace
}  // namespace vt
