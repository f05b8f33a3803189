// Cutting texts to a short string's 255 bytes.
#include <gtest/gtest.h>

#include <string>

#include "results/TextCut.h"

namespace vt {
namespace {

struct Case {
  const char* Kind;
  std::string Text;
  std::size_t Expected;  // the length of the cut text
};

TEST(TextCut, CutsAtTheLimitOrBeforeAUtf8CharacterItWouldSplit) {
  const std::string a250(250, 'a');
  const Case cases[] = {
      {"short text", "abc", 3},
      {"exactly the limit", std::string(255, 'a'), 255},
      {"plain bytes", std::string(300, 'a'), 255},
      {"two-byte character across the limit",
       std::string(254, 'a') + "\xC3\xA9"
                               "b",
       254},
      {"two-byte character ending at the limit",
       std::string(253, 'a') + "\xC3\xA9"
                               "b",
       255},
      {"three-byte character, two bytes in",
       std::string(253, 'a') + "\xE2\x82\xAC"
                               "b",
       253},
      {"three-byte character, one byte in",
       std::string(254, 'a') + "\xE2\x82\xAC"
                               "b",
       254},
      {"four-byte character, three bytes in",
       std::string(252, 'a') + "\xF0\x9F\x98\x80"
                               "b",
       252},
      {"four-byte character ending at the limit",
       std::string(251, 'a') + "\xF0\x9F\x98\x80"
                               "b",
       255},
      {"Latin-1 bytes are not UTF-8", std::string(254, 'a') + "\xE9\xE9\xE9", 255},
      {"lead byte without its continuation",
       std::string(254, 'a') + "\xC3"
                               "bb",
       255},
      {"continuation bytes without a lead", std::string(300, '\x80'), 255},
      {"lead byte followed by too few bytes of the text", std::string(254, 'a') + "\xE2\x82", 255},
  };
  for (const Case& c : cases) {
    const std::string_view cut = CutText(c.Text, 255);
    EXPECT_EQ(cut.size(), c.Expected) << c.Kind;
    EXPECT_EQ(cut, std::string_view(c.Text).substr(0, c.Expected)) << c.Kind;
  }
}

}  // namespace
}  // namespace vt
