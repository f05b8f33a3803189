#include <gtest/gtest.h>

#include <QLocale>

#include "browse/NameBytes.h"
#include "browse/SortWithoutCase.h"

namespace vt {
namespace {

QStringList Sorted(const QStringList& names) {
  std::vector<std::string> bytes;
  for (const QString& name : names) bytes.push_back(NameBytes(name));
  SortWithoutCase(bytes);
  QStringList sorted;
  for (const auto& name : bytes) sorted << NameText(name);
  return sorted;
}

class SortWithoutCase : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(GetParam())); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(SortWithoutCase, IgnoresCaseAndKeepsNamesEqualButForCaseInAFixedOrder) {
  EXPECT_EQ(Sorted({"gamma", "Beta", "alpha", "Zeta", "beta", "ALPHA"}),
            QStringList({"ALPHA", "alpha", "Beta", "beta", "gamma", "Zeta"}));
  EXPECT_EQ(Sorted({"b.txt", "B.TXT", "a.txt", "b.txt"}), QStringList({"a.txt", "B.TXT", "b.txt", "b.txt"}));
  EXPECT_TRUE(Sorted({}).isEmpty());
  EXPECT_EQ(Sorted({"ab", "a", "A", "abc"}), QStringList({"A", "a", "ab", "abc"}));
}

TEST(SortWithoutCaseC, FoldsOnlyAsciiLettersAndKeepsOtherBytesInOrder) {
  QLocale::setDefault(QLocale::c());
  // "_" lies between the upper- and the lower-case letters: folding puts it before every letter.
  EXPECT_EQ(Sorted({"b", "_x", "A", "é", "Z"}), QStringList({"_x", "A", "b", "Z", "é"}));
}

INSTANTIATE_TEST_SUITE_P(Locales, SortWithoutCase, ::testing::Values("C", "en_US", "de_DE"));

TEST(SortWithoutCaseLocale, SortsAccentedLettersWithTheirBaseLetterOutsideTheCLocale) {
  QLocale::setDefault(QLocale("de_DE"));
  EXPECT_EQ(Sorted({"Zebra", "Äpfel", "Birne"}), QStringList({"Äpfel", "Birne", "Zebra"}));
  QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace vt
