#include <gtest/gtest.h>

#include <QLocale>

#include "browse/NameOrder.h"

namespace vt {
namespace {

QStringList Sorted(const QStringList& names) {
  QStringList sorted;
  for (const int i : OrderWithoutCase(names)) sorted << names[i];
  return sorted;
}

class NameOrder : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(GetParam())); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(NameOrder, IgnoresCaseAndKeepsNamesEqualButForCaseInAFixedOrder) {
  EXPECT_EQ(Sorted({"gamma", "Beta", "alpha", "Zeta", "beta", "ALPHA"}),
            QStringList({"ALPHA", "alpha", "Beta", "beta", "gamma", "Zeta"}));
  EXPECT_EQ(Sorted({"b.txt", "B.TXT", "a.txt", "b.txt"}), QStringList({"a.txt", "B.TXT", "b.txt", "b.txt"}));
  EXPECT_TRUE(Sorted({}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Locales, NameOrder, ::testing::Values("C", "en_US", "de_DE"));

TEST(NameOrderLocale, SortsAccentedLettersWithTheirBaseLetterOutsideTheCLocale) {
  QLocale::setDefault(QLocale("de_DE"));
  EXPECT_EQ(Sorted({"Zebra", "Äpfel", "Birne"}), QStringList({"Äpfel", "Birne", "Zebra"}));
  QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace vt
