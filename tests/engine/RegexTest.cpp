#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"
#include "engine/Regex.h"

namespace vt {
namespace {

enum Option : unsigned { None = 0, Every = 1, CaseSensitive = 2, WholeName = 4 };

TControlValues RegexControls(const std::string& pattern, const std::string& replacement, unsigned options) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::SearchReplace);
  controls.ChkBxRegex = true;
  controls.EdSearchFor = pattern;
  controls.EdReplaceWith = replacement;
  controls.ChkBxSearchRecursive = (options & Every) != 0;
  controls.ChkBxCaseSensitive = (options & CaseSensitive) != 0;
  controls.ChkBxSearchInExt = (options & WholeName) != 0;
  return controls;
}

struct TPerlCase {
  std::string file;
  std::string pattern;
  std::string replacement;
  unsigned options;
  const char* perl;      // the expression given to perl's rename over the whole name
  std::string expected;  // the new name it gives, or the row's status
};

// Each expected name is what `rename -n 'perl'` (Debian's file-rename 2.01)
// gives for the file. With "Treat file extension" the expression sees the
// whole name, as perl's does; "Case sensitive" off is perl's /i, "Recursive" /g.
TEST(Regex, GivesPerlRenamesNames) {
  const unsigned kCaseless = WholeName;
  const unsigned kExact = WholeName | CaseSensitive;
  const TPerlCase cases[] = {
      {"IMG_0042.JPG", R"(IMG_(\d+))", "Rome $1", kExact, R"(s/IMG_(\d+)/Rome $1/)", "Rome 0042.JPG"},
      {"a_b_c.txt", "_", "-", kExact | Every, "s/_/-/g", "a-b-c.txt"},
      {"a_b_c.txt", "_", "-", kExact, "s/_/-/", "a-b_c.txt"},
      {"Photo.JPG", R"(\.JPG$)", ".jpg", kExact, R"(s/\.JPG$/.jpg/)", "Photo.jpg"},
      {"photo.jpg", "PHOTO", "pic", kCaseless, "s/PHOTO/pic/i", "pic.jpg"},
      {"2024-01-15 report.pdf", R"(^(\d{4})-(\d\d)-(\d\d))", "$3.$2.$1", kExact,
       R"(s/^(\d{4})-(\d\d)-(\d\d)/$3.$2.$1/)", "15.01.2024 report.pdf"},
      {"track 7.mp3", R"((?<n>\d+))", "${n}0", kExact, R"(s/(?<n>\d+)/$+{n}0/)", "track 70.mp3"},
      {"abc", "x*", "-", kExact | Every, "s/x*/-/g", "-a-b-c-"},
      {"abc", "b*", "-", kExact | Every, "s/b*/-/g", "-a--c-"},
      {"aaa", "a*?", "-", kExact | Every, "s/a*?/-/g", "-------"},
      {"hello.txt", "^", "new_", kExact, "s/^/new_/", "new_hello.txt"},
      {"hello.txt", "$", ".bak", kExact, "s/$/.bak/", "hello.txt.bak"},
      {"file (1).txt", R"(\s*\(\d+\))", "", kExact, R"(s/\s*\(\d+\)//)", "file.txt"},
      {"UPPER.TXT", R"((\w+)\.(\w+))", "$2.$1", kExact, R"(s/(\w+)\.(\w+)/$2.$1/)", "TXT.UPPER"},
      {"cost.txt", "cost", "$$5", kExact, R"(s/cost/\$5/)", "$5.txt"},
      {"a1b22c333.txt", R"(\d+)", "#", kExact | Every, R"(s/\d+/#/g)", "a#b#c#.txt"},
      {"café.txt", "é", "e", kExact, "s/é/e/", "cafe.txt"},
      {"aaa.txt", "a", "$0$0", kExact | Every, "s/a/$&$&/g", "aaaaaa.txt"},
      {"x.txt", "(a)?x", "[$1]", kExact, "s/(a)?x/[$1]/", "[].txt"},  // a group left unset gives nothing
      {"name.tar.gz", R"(\.tar\.gz$)", ".tgz", kExact, R"(s/\.tar\.gz$/.tgz/)", "name.tgz"},
      {"Ab.txt", "[a-z]", "_", kExact | Every, "s/[a-z]/_/g", "A_.___"},
      {"Ab.txt", "[a-z]", "_", kCaseless | Every, "s/[a-z]/_/gi", "__.___"},
      {"ab", "(a)(b)", "$2$1", kExact, "s/(a)(b)/$2$1/", "ba"},
      {"photo.jpeg", "(?i)JPE?G$", "jpg", kExact, "s/(?i)JPE?G$/jpg/", "photo.jpg"},
      {"a.b.c", R"(\.)", "_", kExact | Every, R"(s/\./_/g)", "a_b_c"},
      {"Report Final.doc", R"((\w+) (\w+))", "$2 $1", kExact, R"(s/(\w+) (\w+)/$2 $1/)", "Final Report.doc"},
      {"img.PNG", "(?<=\\.)PNG$", "png", kExact, R"(s/(?<=\.)PNG$/png/)", "img.png"},
      {"aXbXc", "x", "-", kCaseless | Every, "s/x/-/gi", "a-b-c"},
      // Names that are not UTF-8: an ASCII pattern matches byte by byte, a
      // UTF-8 one around the bytes that are not.
      {"caf\xe9.txt", R"(caf.\.txt)", "cafe.txt", kExact, R"(s/caf.\.txt/cafe.txt/)", "cafe.txt"},
      {"na\xc3\xafve\xff.txt", "\xc3\xaf", "i", kExact, "s/\xc3\xaf/i/", "naive\xff.txt"},
      {"x\xff\xfey.txt", R"(\xff\xfe)", "-", kExact, R"(s/\xff\xfe/-/)", "x-y.txt"},
      // Where they differ. Perl's rename matches bytes, so caseless É and é
      // are different letters to it (it leaves the name alone); here a UTF-8
      // pattern folds every letter's case.
      {"CAFÉ.txt", "é", "e", kCaseless, "s/é/e/i (perl: no change)", "CAFe.txt"},
      // A "$" followed by none of "$", "{" or a digit is a dollar sign here;
      // perl needs "\$" (its plain "$" starts a variable).
      {"US.txt", "US", "US$", kExact, R"(s/US/US\$/)", "US$.txt"},
  };
  for (const TPerlCase& c : cases) {
    EXPECT_EQ(test::Simulate(RegexControls(c.pattern, c.replacement, c.options), c.file), c.expected)
        << c.file << " with " << c.perl;
  }
}

struct TStepCase {
  std::string file;
  std::string pattern;
  std::string replacement;
  unsigned options;
  std::string expected;
};

TEST(Regex, NamePartAndRefusedRows) {
  const TStepCase cases[] = {
      // Without "Treat file extension" only the name part is seen, and the extension stays.
      {"notes.txt", "txt", "doc", CaseSensitive, "No Match"},
      {"notes.txt", "$", "_old", CaseSensitive, "notes_old.txt"},
      {"a.b.c", R"(\.)", "_", CaseSensitive, "a_b.c"},
      {"README", "^", "x", CaseSensitive, "xREADME"},
      {"IMG.JPG", "img", "pic", None, "pic.JPG"},
      {"IMG.JPG", "img", "pic", CaseSensitive, "No Match"},
      {"same.txt", "same", "same", CaseSensitive, "No change"},
      // New names no folder can hold are refused with a row.
      {"abc.txt", ".*", "", WholeName, "Error"},
      {"abc.txt", "b", "/", WholeName, "Error"},
      {"abc.txt", "abc.txt", "..", WholeName, "Error"},
      {"abc.txt", "b", std::string("x\0y", 3), WholeName, "Error"},
  };
  for (const TStepCase& c : cases)
    EXPECT_EQ(test::Simulate(RegexControls(c.pattern, c.replacement, c.options), c.file), c.expected)
        << c.file << ": " << c.pattern << " -> " << c.replacement;
}

TEST(Regex, ACatastrophicPatternGivesAnErrorRowAndTheNextFileGoesOn) {
  TRenameStep step(CaptureSettings(RegexControls("(a+)+$", "x", CaseSensitive)), TPassMode::Simulate);
  std::string costly(40, 'a');
  costly.append("b.txt");
  step.ProcessFile("/nonexistent/", test::FileEntry(costly));
  EXPECT_EQ(step.Status(), TRenameStatus::rsError);
  EXPECT_EQ(step.SystemError(), kPatternTooCostly);
  step.ProcessFile("/nonexistent/", test::FileEntry("aaa.txt"));
  EXPECT_EQ(step.Status(), TRenameStatus::rsCanBeRenamed);
  EXPECT_EQ(step.NewName(), "x.txt");
  EXPECT_EQ(step.SystemError(), 0);
}

struct TCompileCase {
  std::string pattern;
  std::string replacement;
  TRegexError::TPart part;
  std::size_t offset;
};

TEST(Regex, WhatDoesNotCompileSaysWhereAndWhy) {
  const TCompileCase cases[] = {
      {"(abc", "", TRegexError::TPart::Pattern, 4},         {"a[b", "", TRegexError::TPart::Pattern, 3},
      {"x{2,1}", "", TRegexError::TPart::Pattern, 5},       {"(a)", "$2", TRegexError::TPart::Replacement, 0},
      {"(a)", "ab${1", TRegexError::TPart::Replacement, 2}, {"(?<n>a)", "${m}", TRegexError::TPart::Replacement, 0},
      {"(a)", "$100", TRegexError::TPart::Replacement, 0},  // groups go to 99
  };
  for (const TCompileCase& c : cases) {
    const auto compiled = TRegex::Compile(c.pattern, c.replacement, TCase::Sensitive);
    ASSERT_FALSE(compiled) << c.pattern << " / " << c.replacement;
    EXPECT_EQ(compiled.Error().Part, c.part) << c.pattern << " / " << c.replacement;
    EXPECT_EQ(compiled.Error().Offset, c.offset) << c.pattern << " / " << c.replacement;
    EXPECT_FALSE(compiled.Error().Message.empty());
  }
}

TEST(Regex, CopiesMatchOnTheirOwn) {
  auto compiled = TRegex::Compile("(b+)", "<$1>", TCase::Sensitive);
  ASSERT_TRUE(compiled);
  const TRegex copy = *compiled;
  std::string first = "abbc";
  std::string second = "bx";
  EXPECT_EQ(compiled->Replace(first, TOccurrences::First), TRegexOutcome::Replaced);
  EXPECT_EQ(copy.Replace(second, TOccurrences::Every), TRegexOutcome::Replaced);
  EXPECT_EQ(first, "a<bb>c");
  EXPECT_EQ(second, "<b>x");
  std::string none = "xyz";
  EXPECT_EQ(copy.Replace(none, TOccurrences::Every), TRegexOutcome::NoMatch);
  EXPECT_EQ(none, "xyz");
}

}  // namespace
}  // namespace vt
