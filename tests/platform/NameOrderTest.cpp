#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/NameOrder.h"

namespace vt {
namespace {

struct OrderCase {
  const char* first;
  const char* second;
};

void ExpectStrictlyBefore(const std::vector<OrderCase>& cases, NameOrder order) {
  for (const OrderCase& c : cases) {
    EXPECT_LT(CompareNames(c.first, c.second, order), 0) << c.first << " before " << c.second;
    EXPECT_GT(CompareNames(c.second, c.first, order), 0) << c.second << " after " << c.first;
  }
}

TEST(NameOrder, NameFoldsAsciiLettersThenComparesBytes) {
  ExpectStrictlyBefore({{"A.TXT", "a.txt"},   // same letters: bytes decide, upper case first
                        {"a.txt", "B.txt"},   // not byte order ('a' > 'B')
                        {"a.txt", "A.TXTa"},  // a shorter name first
                        {"Zebra", "_under"},  // '_' lies after the upper-case letters
                        {"zebra", "_under"},  // and so after the lower-case ones too
                        {"IMG_0001.JPG", "IMG_0010.JPG"},
                        {"IMG_10", "IMG_2"},             // digits as characters
                        {"z.txt", "\xc3\xa9t\xc3\xa9"},  // UTF-8 bytes after ASCII, never folded
                        {"\xc3\x89T\xc3\x89", "\xc3\xa9t\xc3\xa9"}},
                       NameOrder::Name);
  EXPECT_EQ(CompareNames("same", "same", NameOrder::Name), 0);
  EXPECT_EQ(CompareNames("", "", NameOrder::Name), 0);
}

TEST(NameOrder, NaturalComparesDigitRunsAsNumbers) {
  ExpectStrictlyBefore({{"IMG_2", "IMG_10"},
                        {"img_9.jpg", "IMG_10.jpg"},
                        {"IMG_02", "IMG_2"},          // equal numbers: the names' bytes decide
                        {"IMG_2.jpg", "IMG_02.png"},  // ... only after the rest of the names
                        {"a", "a1"},
                        {"a1", "ab"},  // a digit is still a character against a letter
                        {"v1.9", "v1.10"},
                        {"99999999999999999999", "100000000000000000000"},  // past 64 bits
                        {"x0", "x00"},
                        {"A2b", "a2B"}},
                       NameOrder::Natural);
  EXPECT_EQ(CompareNames("IMG_007", "IMG_007", NameOrder::Natural), 0);
}

// The quick key of name order must agree with the comparison, above all for
// names sharing long prefixes, differing only in case, or ending early.
TEST(NameOrder, SortedPositionsAgreeWithTheComparison) {
  std::mt19937 random(11);
  const std::string letters = "aAbB0_.z\xc3";
  for (int round = 0; round < 200; ++round) {
    const std::string prefix = round % 2 ? "holiday file 000" : "";  // longer than a key
    std::vector<std::string> owned;
    const std::size_t count = 1 + random() % 40;
    for (std::size_t i = 0; i < count; ++i) {
      std::string name = prefix;
      const std::size_t length = random() % 12;
      for (std::size_t k = 0; k < length; ++k) name += letters[random() % letters.size()];
      owned.push_back(name);
    }
    if (round % 4 == 1) owned.insert(owned.end(), {".", ".."});  // as a listing has them
    const std::vector<std::string_view> names(owned.begin(), owned.end());
    for (const NameOrder order : {NameOrder::Name, NameOrder::Natural}) {
      const std::vector<std::uint32_t> positions = SortedPositions(names, order);
      ASSERT_EQ(positions.size(), names.size());
      std::vector<std::uint32_t> seen(positions);
      std::sort(seen.begin(), seen.end());
      ASSERT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end()) << "a position twice";
      for (std::size_t i = 1; i < positions.size(); ++i)
        ASSERT_LE(CompareNames(names[positions[i - 1]], names[positions[i]], order), 0)
            << names[positions[i - 1]] << " before " << names[positions[i]];
    }
  }
}

TEST(NameOrder, AsStoredKeepsTheFoldersOrder) {
  const std::vector<std::string_view> names{"b", "a", "c"};
  EXPECT_EQ(SortedPositions(names, NameOrder::AsStored), (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(SortedPositions(names, NameOrder::Name), (std::vector<std::uint32_t>{1, 0, 2}));
  EXPECT_TRUE(SortedPositions({}, NameOrder::Name).empty());
}

}  // namespace
}  // namespace vt
