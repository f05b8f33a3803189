#include "platform/NameHashSet.h"

#include <gtest/gtest.h>

#include <string>

namespace vt {
namespace {

TEST(NameHashSet, HoldsExactNamesThroughErasesAndGrowth) {
  TNameHashSet names;
  EXPECT_FALSE(names.Contains("a"));
  for (int i = 0; i < 3000; ++i) names.Insert("file " + std::to_string(i));
  for (int i = 0; i < 3000; i += 2) names.Erase("file " + std::to_string(i));
  for (int i = 0; i < 3000; ++i) EXPECT_EQ(names.Contains("file " + std::to_string(i)), i % 2 == 1) << i;
  EXPECT_FALSE(names.Contains("FILE 1"));
  // Erased slots are used again without losing what lies beyond them.
  for (int round = 0; round < 20; ++round) {
    names.Insert("moving");
    names.Erase("moving");
  }
  EXPECT_FALSE(names.Contains("moving"));
  for (int i = 1; i < 3000; i += 2) EXPECT_TRUE(names.Contains("file " + std::to_string(i))) << i;
}

}  // namespace
}  // namespace vt
