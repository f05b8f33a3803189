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

// Names come in any order; each order below moves them in cycles of its own kind.
TEST_P(SortWithoutCase, PutsEveryNameInItsPlaceFromAnyOrder) {
  QStringList sorted;
  for (int i = 0; i < 40; ++i) sorted << QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0'));
  const auto reorder = [&](auto position) {
    QStringList names;
    for (int i = 0; i < sorted.size(); ++i) names << sorted[position(i)];
    return names;
  };
  const int n = int(sorted.size());
  const QStringList orders[] = {
      sorted,
      reorder([&](int i) { return n - 1 - i; }),                                 // reversed: pairs
      reorder([&](int i) { return (i + 7) % n; }),                               // rotated: one long cycle
      reorder([&](int i) { return i < n / 2 ? 2 * i : 2 * (i - n / 2) + 1; }),   // evens, then odds
      reorder([&](int i) { return i % 5 == 0 ? i : (i / 5) * 5 + 5 - i % 5; }),  // every fifth stays
  };
  for (const QStringList& names : orders) EXPECT_EQ(Sorted(names), sorted) << names.join(' ').toStdString();
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
