// The layout a result file records: the columns and font of a table at
// start-up, and every change told to the view.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "results/ResultLayout.h"

namespace vt {
namespace {

TEST(ResultLayout, StartsWithTheFourColumnsAndTheWindowsFont) {
  const TResultLayout layout;
  ASSERT_EQ(layout.Columns().size(), 4u);
  const std::vector<std::pair<std::string, int>> expected = {
      {"File", 150}, {"New Name", 150}, {"Path", 176}, {"Status", 130}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(layout.Columns()[i].Caption, expected[i].first);
    EXPECT_EQ(layout.Columns()[i].Width, expected[i].second);
  }
  EXPECT_EQ(layout.Font(), TResultFont{});
  EXPECT_EQ(layout.Font().Color, TextColor::Black);
  EXPECT_FALSE(layout.FontChanged());
}

TEST(ResultLayout, TellsEveryChangeAndRemembersThatTheFontChanged) {
  struct TCounter final : IResultLayoutObserver {
    int Changes = 0;
    void LayoutChanged() override { ++Changes; }
  } counter;
  TResultLayout layout;
  layout.SetObserver(&counter);
  layout.SetColumnWidth(0, 150);  // unchanged
  layout.SetColumnWidth(0, 200);
  layout.SetColumnWidth(9, 10);           // no such column
  layout.SetTextColor(TextColor::Black);  // the colour it has: no change
  EXPECT_FALSE(layout.FontChanged());
  layout.SetTextColor(TextColor::Gray);
  EXPECT_EQ(counter.Changes, 2);
  EXPECT_EQ(layout.Columns()[0].Width, 200);
  layout.SetTextColor(TextColor::Black);
  EXPECT_TRUE(layout.FontChanged());  // once changed, a result file records the font
}

}  // namespace
}  // namespace vt
