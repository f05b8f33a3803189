#include <gtest/gtest.h>

#include <string>

#include "engine/InputRules.h"

namespace vt {
namespace {

TEST(InputRules, FileNameCharacters) {
  for (const char32_t refused : {U'"', U'/', U':', U'<', U'>', U'\\', U'|'})
    EXPECT_FALSE(IsFileNameChar(refused)) << static_cast<unsigned>(refused);
  // Wildcards, the dot, blanks, control characters and everything above 127 pass.
  for (const char32_t passed : {U'*', U'?', U'.', U' ', U'\b', U'\0', U'\x7f', U'\x80', U'é', U'€', U'\U0001F600'})
    EXPECT_TRUE(IsFileNameChar(passed)) << static_cast<unsigned>(passed);
}

TEST(InputRules, EachTextFieldRefusesItsCharacters) {
  const struct {
    char32_t c;
    bool pattern, insert, remove;
  } cases[] = {
      {U':', false, false, false}, {U'|', false, false, false}, {U'*', true, false, false}, {U'?', true, false, true},
      {U'.', true, false, false},  {U'a', true, true, true},    {U'é', true, true, true},   {U'\b', true, true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextFieldAccepts(TTextField::Pattern, c.c), c.pattern) << static_cast<unsigned>(c.c);
    EXPECT_EQ(TextFieldAccepts(TTextField::InsertText, c.c), c.insert) << static_cast<unsigned>(c.c);
    EXPECT_EQ(TextFieldAccepts(TTextField::DeleteText, c.c), c.remove) << static_cast<unsigned>(c.c);
  }
}

TEST(InputRules, PastedTextLosesRefusedCharactersOnly) {
  EXPECT_EQ(FilterText(TTextField::Pattern, "a:b/c*.d?"), "abc*.d?");
  EXPECT_EQ(FilterText(TTextField::InsertText, "ré*su.mé?"), "résumé");
  EXPECT_EQ(FilterText(TTextField::DeleteText, "a*b.c?d"), "abc?d");
  EXPECT_EQ(FilterText(TTextField::Pattern, "\"<>|\\"), "");
  // Multi-byte characters, and bytes that are no UTF-8, stay whole.
  EXPECT_EQ(FilterText(TTextField::InsertText, "日本.txt"), "日本txt");
  EXPECT_EQ(FilterText(TTextField::Pattern, std::string("a\xff"
                                                        ":b")),
            std::string("a\xff"
                        "b"));
}

TEST(InputRules, DigitTypedIntoANumberField) {
  const struct {
    const char* text;
    char32_t typed;
    int maximum;
    TNumberKey outcome;
  } cases[] = {
      {"1", U'8', 20, TNumberKey::Insert},      // 18
      {"3", U'5', 20, TNumberKey::SetMaximum},  // 35 is above 20
      {"3276", U'8', 32767, TNumberKey::SetMaximum},
      {"3276", U'7', 32767, TNumberKey::Insert},
      {"127", U'5', 127, TNumberKey::SetMaximum},  // judged on 1275, whatever is selected
      {"", U'0', 127, TNumberKey::Insert},
      {"12", U'a', 127, TNumberKey::Drop},
      {"12", U'\b', 127, TNumberKey::Drop},  // Backspace too
      {"12", U'-', 127, TNumberKey::Drop},
      {"12", U'٣', 127, TNumberKey::Drop},  // only 0 to 9
      {"1,000", U'1', 32767, TNumberKey::ConversionError},
      {"1 000", U'1', 32767, TNumberKey::ConversionError},
      {"99999999999999999999", U'9', 32767, TNumberKey::SetMaximum},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NumberKeyPress(c.text, c.typed, c.maximum), c.outcome)
        << c.text << " + " << static_cast<unsigned>(c.typed);
}

TEST(InputRules, DeleteThatEmptiesANumberFieldPutsTheMinimumBack) {
  EXPECT_EQ(NumberTextAfterDelete("", 1), "1");
  EXPECT_EQ(NumberTextAfterDelete("", 0), "0");
  EXPECT_EQ(NumberTextAfterDelete("2", 1), std::nullopt);
}

TEST(InputRules, TextPastedIntoANumberField) {
  const struct {
    const char *before, *inserted, *after;
    int maximum;
    TNumberKey outcome;
    const char* text;
  } cases[] = {
      {"1", "2", "", 20, TNumberKey::Insert, "12"}, {"", "1a2", "", 20, TNumberKey::Insert, "12"},
      {"", "abc", "", 20, TNumberKey::Insert, ""},  {"1", "99", "", 20, TNumberKey::SetMaximum, "20"},
      {"", "-5", "", 20, TNumberKey::Insert, "5"},  {"1,0", "5", "00", 32767, TNumberKey::ConversionError, ""},
  };
  for (const auto& c : cases) {
    const TNumberPaste paste = NumberPaste(c.before, c.inserted, c.after, c.maximum);
    EXPECT_EQ(paste.Outcome, c.outcome) << c.inserted;
    if (paste.Outcome != TNumberKey::ConversionError) {
      EXPECT_EQ(paste.Text, c.text) << c.inserted;
    }
  }
}

TEST(InputRules, TreatExtensionFollowsTheDot) {
  EXPECT_EQ(ExtensionOnCharTyped(U'.', false), TExtensionChange::Check);
  EXPECT_EQ(ExtensionOnCharTyped(U'.', true), TExtensionChange::None);
  EXPECT_EQ(ExtensionOnCharTyped(U'a', false), TExtensionChange::None);
  EXPECT_EQ(ExtensionOnKeyUp("ab", true), TExtensionChange::Uncheck);
  EXPECT_EQ(ExtensionOnKeyUp("a.b", true), TExtensionChange::None);
  EXPECT_EQ(ExtensionOnKeyUp("ab", false), TExtensionChange::None);
  EXPECT_EQ(ExtensionOnKeyUp("", true), TExtensionChange::Uncheck);
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

TEST(InputRules, InsideFieldFollowsTheBracesBeforeTheCaret) {
  const struct {
    const char* Before;
    bool Inside;
  } cases[] = {{"", false},        {"{", true},          {"{taken:%H", true}, {"{taken}", false},    {"{{", false},
               {"{{taken", false}, {"a {make} {", true}, {"x}}{", true},      {"{taken:%H}}", false}};
  for (const auto& c : cases) EXPECT_EQ(InsideField(c.Before), c.Inside) << c.Before;
}

}  // namespace
}  // namespace vt
