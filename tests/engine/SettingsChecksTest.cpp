#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Messages.h"
#include "engine/SettingsChecks.h"
#include "support/ControlValues.h"

namespace vt {
namespace {

using test::SearchReplace;

// Answers confirmations from a script, in order, and records every message shown.
struct TScript {
  std::vector<TAnswer> Answers;
  std::vector<TCheckMessage> Shown;

  TShowMessage Show() {
    return [this](const TCheckMessage& message) {
      Shown.push_back(message);
      if (message.Kind != TMessageKind::Confirmation || Answers.empty()) return TAnswer::Cancel;
      const TAnswer answer = Answers.front();
      Answers.erase(Answers.begin());
      return answer;
    };
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const TCheckMessage& m : Shown) ids.push_back(m.Id);
    return ids;
  }
};

constexpr auto kYes = TAnswer::Yes;
constexpr auto kSearch = TCheckedField::EdSearchFor;
constexpr auto kReplace = TCheckedField::EdReplaceWith;

struct TSearchCase {
  const char* search;
  const char* replace;
  std::vector<TAnswer> answers;  // given to the confirmations in turn
  std::vector<int> shown;        // the messages, in order
  bool mayStart;
  TCheckedField focus;  // on a refusal
};

TEST(CheckSettings, SearchReplaceInOrder) {
  const TSearchCase cases[] = {
      // 1: nothing to search
      {"", "x", {}, {Msg::SpecifySearchText}, false, kSearch},
      {"*", "x", {}, {Msg::SpecifySearchText}, false, kSearch},
      // 2: the same text; another case is a change
      {"abc", "abc", {}, {Msg::NothingToReplace}, false, kSearch},
      {"abc", "ABC", {}, {}, true, TCheckedField::None},
      // 3: a dot searched needs a replacement, and "*" alone is none
      {"a.txt", "", {}, {Msg::SpecifyReplaceText}, false, kReplace},
      {"abc", "*", {}, {Msg::SpecifyReplaceText}, false, kReplace},
      {"abc", "", {}, {}, true, TCheckedField::None},  // text removed from names
      // 4: a wildcard name with an extension, replaced by a plain name without one
      {"*.txt", "new", {}, {Msg::ReplaceNotCoherent}, false, kReplace},
      // 5: extensions dropped from several files
      {"*.txt", "*.", {kYes}, {Msg::RemoveSeveralExtensions}, true, TCheckedField::None},
      {"*.txt", "*.", {TAnswer::No}, {Msg::RemoveSeveralExtensions}, false, kReplace},
      // 6: any extension of one name, replaced by a plain one
      {"photo.*", "image.jpg", {}, {Msg::SameNameInfo}, false, kReplace},
      {"photo.*", "image", {}, {Msg::SameNameInfo}, false, kReplace},
      {"photo.*", "image.*", {}, {}, true, TCheckedField::None},
      // 7a: every file to one extension
      {"*.*", "*.jpg", {kYes}, {Msg::SameName}, true, TCheckedField::None},
      {"*.*", "*.jpg", {TAnswer::Cancel}, {Msg::SameName}, false, kReplace},
      // 7b: every name without extension to one name
      {"*.", "new", {kYes}, {Msg::SameName}, true, TCheckedField::None},
      // 7c: wildcards on both sides of the dot, a plain name and extension as replacement
      {"a?.t*", "b.txt", {kYes, kYes}, {Msg::SameName, Msg::RemoveExtension}, true, TCheckedField::None},
      {"a?.t*", "b.txt", {TAnswer::No}, {Msg::SameName}, false, kReplace},
      // 8: an extension in the replacement only
      {"abc", "x.txt", {}, {Msg::IncorrectExtension}, false, kReplace},
      // 9a: a plain extension searched asks whatever the replacement
      {"photo.jpg", "image.png", {kYes}, {Msg::RemoveExtension}, true, TCheckedField::None},
      {"photo.jpg", "image", {TAnswer::Cancel}, {Msg::RemoveExtension}, false, kReplace},
      {"photo.jpg", "photo.*", {kYes}, {Msg::RemoveExtension}, true, TCheckedField::None},
      // 9b with 5 and 7a before it: three questions, each answered Yes
      {"*.*",
       "*.",
       {kYes, kYes, kYes},
       {Msg::RemoveSeveralExtensions, Msg::SameName, Msg::RemoveExtension},
       true,
       TCheckedField::None},
      {"*.*",
       "*.",
       {kYes, kYes, TAnswer::No},
       {Msg::RemoveSeveralExtensions, Msg::SameName, Msg::RemoveExtension},
       false,
       kReplace},
      {"*.*", "*.", {kYes, TAnswer::No}, {Msg::RemoveSeveralExtensions, Msg::SameName}, false, kReplace},
      // nothing to ask
      {"*.txt", "*.doc", {}, {}, true, TCheckedField::None},
      {"a*", "b*", {}, {}, true, TCheckedField::None},
  };
  for (const TSearchCase& c : cases) {
    TScript script{c.answers, {}};
    const TCheckOutcome outcome = CheckSettings(SearchReplace(c.search, c.replace), script.Show());
    const std::string label = std::string("search '") + c.search + "', replace '" + c.replace + "'";
    EXPECT_EQ(script.Ids(), c.shown) << label;
    EXPECT_EQ(outcome.MayStart, c.mayStart) << label;
    EXPECT_EQ(outcome.Focus, c.focus) << label;
    EXPECT_EQ(outcome.RefusedBy, c.mayStart ? 0 : c.shown.back()) << label;
  }
}

TEST(CheckSettings, EachMessageHasItsKindAndField) {
  TScript script{{kYes, kYes, kYes}, {}};
  CheckSettings(SearchReplace("*.*", "*."), script.Show());
  ASSERT_EQ(script.Shown.size(), 3u);
  for (const TCheckMessage& m : script.Shown) {
    EXPECT_EQ(m.Kind, TMessageKind::Confirmation) << m.Id;
    EXPECT_EQ(m.Focus, kReplace) << m.Id;
  }
  const struct {
    const char* search;
    const char* replace;
    TMessageKind kind;
  } kinds[] = {{"", "", TMessageKind::Error},
               {"photo.*", "x.jpg", TMessageKind::Information},
               {"abc", "x.txt", TMessageKind::Error}};
  for (const auto& k : kinds) {
    TScript one;
    CheckSettings(SearchReplace(k.search, k.replace), one.Show());
    ASSERT_EQ(one.Shown.size(), 1u) << k.search;
    EXPECT_EQ(one.Shown[0].Kind, k.kind) << k.search;
  }
}

TEST(CheckSettings, ExtensionPartIsThreeCharactersAfterTheFirstDot) {
  const struct {
    const char* pattern;
    const char* name;
    const char* ext;
  } cases[] = {
      {"photo.jpeg", "photo", "jpe"}, {"a.b.c", "a", "b.c"}, {"name.", "name", ""},
      {"plain", "plain", ""},         {".txt", "", "txt"},   {"*.*", "*", "*"},
      {"x.éàü!", "x", "éàü"},         {"x.é", "x", "é"},
  };
  for (const auto& c : cases) {
    const TPatternParts parts = SplitPattern(c.pattern);
    EXPECT_EQ(parts.Name, c.name) << c.pattern;
    EXPECT_EQ(parts.Ext, c.ext) << c.pattern;
  }
  // A four-letter extension is judged on its first three letters: "jpe" is plain.
  TScript script{{kYes}, {}};
  CheckSettings(SearchReplace("*.jpeg", "*."), script.Show());
  EXPECT_EQ(script.Ids(), std::vector<int>{Msg::RemoveSeveralExtensions});
}

TEST(CheckSettings, InsertAndRemove) {
  const struct {
    TControlValues controls;
    int refusedBy;
    TCheckedField focus;
  } cases[] = {
      {test::InsertText(""), Msg::SpecifyInsertText, TCheckedField::EdInsert},
      {test::InsertText("_x"), 0, TCheckedField::None},
      {test::RemoveText(""), Msg::SpecifyDeleteText, TCheckedField::EdDelete},
      {test::RemoveText("a"), 0, TCheckedField::None},
      {test::RemoveCount(0), Msg::SpecifyDeleteCount, TCheckedField::EdNbrDelete},
      {test::RemoveCount(1), 0, TCheckedField::None},
  };
  for (const auto& c : cases) {
    TScript script;
    const TCheckOutcome outcome = CheckSettings(c.controls, script.Show());
    EXPECT_EQ(outcome.MayStart, c.refusedBy == 0) << c.refusedBy;
    EXPECT_EQ(outcome.RefusedBy, c.refusedBy);
    EXPECT_EQ(outcome.Focus, c.focus) << c.refusedBy;
    EXPECT_EQ(script.Shown.size(), c.refusedBy == 0 ? 0u : 1u);
  }
  // Only the kind shown is checked: an empty text does not matter when counting.
  TControlValues counting = test::RemoveCount(2);
  counting.EdDelete.clear();
  EXPECT_TRUE(CheckSettings(counting, TScript().Show()).MayStart);
  TControlValues byText = test::RemoveText("a");
  byText.UpDownNbrDelete = 0;
  EXPECT_TRUE(CheckSettings(byText, TScript().Show()).MayStart);
}

TEST(CheckSettings, OtherOperationsAreNeverRefused) {
  for (const TOperation op : {TOperation::Number, TOperation::ChangeCase, TOperation::Truncate}) {
    TControlValues c = test::Operation(op);
    c.EdSearchFor.clear();  // the settings of other pages are not looked at
    c.EdInsert.clear();
    TScript script;
    EXPECT_TRUE(CheckSettings(c, script.Show()).MayStart);
    EXPECT_TRUE(script.Shown.empty());
  }
}

TEST(CheckSettings, WithoutAWayToAskAConfirmationRefuses) {
  const TCheckOutcome outcome = CheckSettings(SearchReplace("photo.jpg", "x.jpg"), TShowMessage{});
  EXPECT_FALSE(outcome.MayStart);
  EXPECT_EQ(outcome.RefusedBy, Msg::RemoveExtension);
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

TControlValues FieldsOn(TControlValues controls, bool useFields = true) {
  controls.ChkBxUseFields = useFields;
  return controls;
}

TControlValues NumberBase(const std::string& base) {
  TControlValues c = test::Numbers();
  c.ChkBxUseBaseFilename = true;
  c.ComboBaseFileName = base;
  return c;
}

TEST(CheckSettings, FieldsThatCannotBeFilledInAreRefusedWithTheirPlace) {
  const struct {
    TControlValues controls;
    int refusedBy;
    TCheckedField focus;
    std::size_t position;
    const char* text;
  } cases[] = {
      {FieldsOn(test::InsertText("x {colour}")), Msg::UnknownField, TCheckedField::EdInsert, 3,
       "Unknown field at character 3.\nThe fields are listed in the help."},
      {FieldsOn(test::InsertText("{taken:%Y-%K}")), Msg::BadFieldFormat, TCheckedField::EdInsert, 11,
       "Incorrect field format at character 11."},
      {FieldsOn(NumberBase("{make")), Msg::UnmatchedBrace, TCheckedField::ComboBaseFileName, 1,
       "Unmatched brace at character 1.\nWrite {{ or }} for a brace."},
      {FieldsOn(test::InsertText("{taken:%Y} {{x}}")), 0, TCheckedField::None, 0, ""},
      // Unchecked, or where the text is not the name: nothing to check.
      {FieldsOn(test::InsertText("{colour}"), false), 0, TCheckedField::None, 0, ""},
      {FieldsOn(NumberBase("Original Name")), 0, TCheckedField::None, 0, ""},
      {FieldsOn(test::Numbers()), 0, TCheckedField::None, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TScript script;
    const TCheckOutcome outcome = CheckSettings(c.controls, script.Show());
    EXPECT_EQ(outcome.RefusedBy, c.refusedBy);
    EXPECT_EQ(outcome.Focus, c.focus);
    ASSERT_EQ(script.Shown.size(), c.refusedBy == 0 ? 0u : 1u);
    if (c.refusedBy == 0) continue;
    EXPECT_EQ(script.Shown[0].Position, c.position);
    EXPECT_EQ(CheckMessageText(script.Shown[0]), c.text);
  }
}

}  // namespace
}  // namespace vt
