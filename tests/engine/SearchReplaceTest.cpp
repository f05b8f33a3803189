#include <gtest/gtest.h>

#include <string>

#include "Simulate.h"
#include "engine/SearchReplace.h"

namespace vt {
namespace {

enum Option : unsigned { None = 0, Recursive = 1, CaseSensitive = 2, TreatExtension = 4 };

struct ReplaceCase {
  std::string file;
  std::string search;
  std::string replace;
  unsigned options;
  std::string result;
};

void ExpectReplaces(const ReplaceCase& c) {
  TControlValues controls;
  controls.LstBoxActions = ControlIndex(TOperation::SearchReplace);
  controls.EdSearchFor = c.search;
  controls.EdReplaceWith = c.replace;
  controls.ChkBxSearchRecursive = (c.options & Recursive) != 0;
  controls.ChkBxCaseSensitive = (c.options & CaseSensitive) != 0;
  controls.ChkBxSearchInExt = (c.options & TreatExtension) != 0;
  EXPECT_EQ(test::Simulate(controls, c.file), c.result)
      << c.file << ": " << c.search << " -> " << c.replace << " options " << c.options;
}

TEST(SearchReplace, ListedResults) {
  const ReplaceCase cases[] = {
      {"holiday photo.jpg", "photo", "picture", None, "holiday picture.jpg"},
      {"IMG_0042.JPG", "img_", "Rome ", None, "Rome 0042.JPG"},
      {"IMG_0042.JPG", "img_", "Rome ", CaseSensitive, "No Match"},
      {"a_b_c.txt", "_", "-", None, "a-b_c.txt"},
      {"a_b_c.txt", "_", "-", Recursive, "a-b-c.txt"},
      {"notes.txt", "txt", "doc", None, "No Match"},
      {"notes.txt", "txt", "doc", TreatExtension, "notes.doc"},
      {"report.txt", "*.txt", "*.doc", None, "report.doc"},
      // the empty name pattern makes ".doc", which would hide the file: refused
      {"report.txt", ".txt", ".doc", None, "Error"},
      {"report", "*.", "*.txt", None, "report.txt"},
      {"file.tar.gz", "*.gz", "*.tgz", None, "file.tar.tgz"},
      {"song01.mp3", "song??", "track??", None, "track1.mp3"},
      {"song01.mp3", "s*g", "S*G", None, "SongG01.mp3"},
      {"memo-r1-r2.doc", "r?", "R?", Recursive, "memo-R1-R1.doc"},
      {"abc.txt", "abc", "abc", None, "No change"},
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

TEST(SearchReplace, NoParametersSkipsTheEntry) {
  TControlValues controls;
  TRenameStep step(CaptureSettings(controls), TPassMode::Simulate);
  EXPECT_FALSE(step.ProcessFile("/x/", test::FileEntry("a.txt")));
  EXPECT_EQ(step.Status(), TRenameStatus::rsNoParameters);
  EXPECT_EQ(step.NewName(), "");
}

TEST(SearchReplace, WithoutADot) {
  const ReplaceCase cases[] = {
      // an empty replacement removes the text
      {"my photo.jpg", " photo", "", None, "my.jpg"},
      // only the first match unless Recursive
      {"aXbxc.txt", "x", "-", None, "a-bxc.txt"},
      {"aXbxc.txt", "x", "-", Recursive, "a-b-c.txt"},
      {"aXbxc.txt", "x", "-", Recursive | CaseSensitive, "aXb-c.txt"},
      // a replacement holding the search text is not searched again
      {"a_b.txt", "_", "__", Recursive, "a__b.txt"},
      {"aa.txt", "a", "aa", Recursive, "aaaa.txt"},
      // with an empty replacement recursion goes on from the start
      {"a__b_.txt", "_", "", Recursive, "ab.txt"},
      // every later occurrence gets the replacement resolved from the first match
      {"x1-x2-x3.txt", "x?", "<?>", Recursive, "<1>-<1>-<1>.txt"},
      // wildcard runs in the search: the matched text is replaced where it first occurs
      {"one two three.txt", "t*e", "T", None, "one Te.txt"},
      {"one two three.txt", "o?e", "1", None, "1 two three.txt"},
      // extension searched only when the name part has no match, or in addition
      {"txt.txt", "txt", "doc", None, "doc.txt"},
      {"txt.txt", "txt", "doc", TreatExtension, "doc.doc"},
      {"a.bxbx", "x", "y", TreatExtension, "a.bybx"},
      {"ab.bxbx", "b", "y", TreatExtension, "ay.yxbx"},
      {"ab.bxbx", "b", "y", TreatExtension | Recursive, "ay.yxyx"},
      {"a.xbxb", "b", "y", TreatExtension, "a.xyxb"},
      {"a.xbxb", "b", "y", TreatExtension | Recursive, "a.xyxy"},
      // the extension's match fills a replacement left with a wildcard
      {"ab.ab", "b", "?*", TreatExtension, "ab*.ab*"},
      {"ab.bcd", "b*", "?+*", TreatExtension, "ab+*.b+d"},
      {"AB.ab", "b", "x?", TreatExtension, "Ax.ax"},
      // a whole name part replaced away would leave ".txt", a hidden name: refused
      {"abc.txt", "*", "", None, "Error"},
      // a name that would be empty is never renamed
      {"abc", "abc", "", None, "Error"},
      {"abc", "*", "..", None, "Error"},
      {"abc.txt", "abc", "x/y", None, "Error"},
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

TEST(SearchReplace, WithADot) {
  const ReplaceCase cases[] = {
      {"report.TXT", "*.txt", "*.doc", None, "report.doc"},
      {"report.TXT", "*.txt", "*.doc", CaseSensitive, "No Match"},
      {"report.txt", "*.txt", "new", None, "new.txt"},  // no dot: extension kept by "*"
      {"report.txt", "rep*.t?t", "Rep*.T?T", None, "Report.TxT"},
      {"report.txt", "*.doc", "*.txt", None, "No Match"},
      {"report", "*.txt", "*.doc", None, "No Match"},
      {"report", "*.", "*.", None, "No change"},        // "*" against no extension
      {"report", "rep*.", "REP*", None, "REPort"},      // no dot: extension from "*"
      {"report.txt", "*.", "*.txt", None, "No Match"},  // has an extension
      {"a.b.c", "*.c", "*.d", None, "a.b.d"},
      {"a.b.c", "a.b.c", "x.y", None, "x.y"},  // name pattern "a.b"
      {"report.txt", ".txt", "x.doc", None, "x.doc"},
      {".profile", ".profile", "x.y", None, "No Match"},  // the empty name part never matches
      {"tt.tt", "t.t", "x.y", None, "xt.yt"},
      {"tt.tt", "t.t", "x.y", Recursive, "xt.yy"},  // Recursive only in the extension
      {"tt.tt", "t.t", "x.y", TreatExtension, "xt.yt"},
      {"notes.txt", "notes.*", "memo.*", None, "memo.txt"},
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

TEST(SearchReplace, NamesHoldingWildcardsMatchAsText) {
  const ReplaceCase cases[] = {
      {"a*b.txt", "a*b", "x", None, "x.txt"},          {"what?.txt", "t?", "!", None, "wha!.txt"},
      {"what?.txt", "?", "!", None, "No Match"},  // a lone "?" needs a one-character name
      {"a?b?c.txt", "b?", "-", Recursive, "a?-c.txt"}, {"**.txt", "*", "x", None, "x.txt"},
      {"*a*a*.txt", "a", "", Recursive, "***.txt"},    {"?*?.txt", "*.txt", "*.doc", None, "?*?.doc"},
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

TEST(SearchReplace, Utf8Names) {
  const std::string e = "\xC3\xA9";
  const std::string E = "\xC3\x89";
  const std::string cjk = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
  const std::string emoji = "\xF0\x9F\x98\x80";
  const ReplaceCase cases[] = {
      {"caf" + e + ".txt", "caf?", "coffee", None, "coffee.txt"},
      {"caf" + e + ".txt", e, "e", None, "cafe.txt"},
      {"caf" + e + ".txt", E, "e", None, "No Match"},  // only ASCII letters fold
      {"CAF" + e + ".txt", "caf", "tea-", None, "tea-" + e + ".txt"},
      {cjk + "-1.png", "?\?-", "", None, "1.png"},
      {"a" + emoji + "b.txt", "a?b", "[?]", None, "[" + emoji + "].txt"},
      {"a" + emoji + "b.txt", "a*b", "?*", None, "No change"},
      {"x" + emoji + ".txt", "x?", "??y", None, "x" + emoji + "y.txt"},
      {"a\xFF"
       "b.txt",
       "a?b", "ok", None, "ok.txt"},
      {"a\xFF"
       "b.txt",
       "\xFF", "-", None, "a-b.txt"},
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

// A search or replacement text without wildcards takes a shorter way; a shape
// claiming wildcards forces the general one, which must give the same names.
TEST(SearchReplace, LiteralWayAgreesWithTheGeneralWay) {
  const std::string e = "\xC3\xA9";
  const std::string E = "\xC3\x89";
  struct Subject {
    std::string name;
    std::string ext;
  } const subjects[] = {
      {"", ""},
      {"", "txt"},
      {"file_000001", "txt"},
      {"FILE_000001", "TXT"},
      {"x_file_", "file_"},
      {"aaaa", "aaa"},
      {"abab", "ab"},
      {"caf" + e, "t" + e},
      {"CAF" + E, e},
      {"a\xFF"
       "b",
       "\xFF"},
      {"a*b?", "*"},
      {std::string(255, 'a'), "a"},
  };
  const std::string searches[] = {"", "file_", "FILE_", "a", "aa", "ab", "b", e, "\xA9", "\xFF", "*", "?", "x", "zz"};
  const std::string replacements[] = {"item_", "", "i", "longer text", "aa", e, "?", "<*>"};
  for (const auto& subject : subjects) {
    for (const auto& search : searches) {
      for (const auto& replacement : replacements) {
        for (unsigned options = 0; options < 8; ++options) {
          const TReplaceInfos infos{search, replacement, (options & Recursive) != 0, (options & CaseSensitive) != 0,
                                    (options & TreatExtension) != 0};
          std::string name = subject.name, ext = subject.ext;
          std::string generalName = subject.name, generalExt = subject.ext;
          const TStepResult result = SearchReplaceStep(infos, ShapeOf(infos), name, ext);
          const TStepResult general = SearchReplaceStep(infos, TReplaceShape{}, generalName, generalExt);
          EXPECT_EQ(result, general) << subject.name << "." << subject.ext << ": " << search << " -> " << replacement
                                     << " options " << options;
          EXPECT_EQ(name, generalName) << subject.name << ": " << search << " -> " << replacement << " options "
                                       << options;
          EXPECT_EQ(ext, generalExt) << subject.ext << ": " << search << " -> " << replacement << " options "
                                     << options;
        }
      }
    }
  }
}

TEST(SearchReplace, LiteralWayResults) {
  const ReplaceCase cases[] = {
      {"file_000001.txt", "file_", "item_", None, "item_000001.txt"},
      {"FILE_000001.txt", "file_", "item_", None, "item_000001.txt"},
      {"FILE_000001.txt", "file_", "item_", CaseSensitive, "No Match"},
      {"a_file_.txt", "file_", "x", None, "a_x.txt"},  // at the end of the name
      {"aaaa.txt", "aa", "b", Recursive, "bb.txt"},    // occurrences do not overlap
      {"aaa.txt", "aa", "bb", None, "bba.txt"},
      {"caf\xC3\xA9.txt", "\xA9", "e", None, "No Match"},  // never half a character
  };
  for (const auto& c : cases) ExpectReplaces(c);
}

}  // namespace
}  // namespace vt
