#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/Expected.h"

namespace vt::test {
namespace {

using TText = TExpected<std::string, std::string>;

// Value and failure of one type must not be taken for each other.
TEST(Expected, ValueAndFailureOfOneTypeStayApart) {
  const TText value = std::string("folder/");
  const TText failure = Unexpected(std::string("no such folder"));
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, "folder/");
  ASSERT_FALSE(failure);
  EXPECT_EQ(failure.Error(), "no such folder");
}

TEST(Expected, MovesAValueThatCannotBeCopied) {
  TExpected<std::unique_ptr<int>, int> made = std::make_unique<int>(7);
  const std::unique_ptr<int> taken = std::move(made).Value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 7);
}

TEST(Expected, VoidIsSuccessUntilAFailureIsGiven) {
  const TExpected<void, int> done;
  const TExpected<void, int> failed = Unexpected(13);
  EXPECT_TRUE(done);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.Error(), 13);
}

}  // namespace
}  // namespace vt::test
