#include <gtest/gtest.h>

#include <set>
#include <string>
#include <unordered_set>

#include "HashedShortName.h"
#include "platform/ShortName.h"

namespace vt {
namespace {

struct TFormCase {
  const char* name;
  bool shortForm;
};

TEST(ShortName, KnowsNamesOfShortForm) {
  const TFormCase cases[] = {
      {"README", true},    {"readme.txt", true}, {"ReadMe.Txt", true},     {"A", true},       {"ABCDEFGH.TXT", true},
      {"~$X.DOC", true},   {"a_b-c.{1}", true},  {"ABCDEFGHI.TXT", false}, {"A.TEXT", false}, {"a.b.c", false},
      {".profile", false}, {"a b.txt", false},   {"a+b.txt", false},       {"a.", false},     {"\xc3\xa9.txt", false},
      {"", false},         {"a*.txt", false},    {"a[1].txt", false},
  };
  for (const TFormCase& c : cases) EXPECT_EQ(HasShortForm(c.name), c.shortForm) << c.name;
}

struct TAssignCase {
  const char* longName;
  const char* shortName;
};

TEST(ShortName, MakesTheFirstNameOfEachLongName) {
  const TAssignCase cases[] = {
      {"Long File Name.txt", "LONGFI~1.TXT"},
      {"file.tar.gz", "FILETA~1.GZ"},
      {".profile", "PROFIL~1"},
      {".config.yml", "CONFIG~1.YML"},
      {"a+b,c;d=e[f]g.txt", "A_B_C_~1.TXT"},
      {"caf\xc3\xa9 au lait.jpeg", "CAF_AU~1.JPE"},
      {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", "___~1.TXT"},
      {"x y.txt", "XY~1.TXT"},
      {"abc.defg", "ABC~1.DEF"},
      {"a.b.c.d", "ABC~1.D"},
      {"name.with space", "NAME~1.WIT"},
      {"...", "_~1"},
      {"noextension", "NOEXTE~1"},
      {"bad\xff\xfe.txt", "BAD__~1.TXT"},
      {"emoji\xf0\x9f\x98\x80.png", "EMOJI_~1.PNG"},
      {"a*b?.txt", "A_B_~1.TXT"},
      {"Mixed Case.Md", "MIXEDC~1.MD"},
  };
  for (const TAssignCase& c : cases) {
    TShortNameTable table;
    EXPECT_EQ(table.Assign(c.longName).View(), c.shortName) << c.longName;
  }
}

TEST(ShortName, NumbersFourThenHashes) {
  TShortNameTable table;
  for (int i = 1; i <= 4; ++i)
    EXPECT_EQ(table.Assign("Long File Name " + std::to_string(i) + ".txt").View(),
              "LONGFI~" + std::to_string(i) + ".TXT");
  const std::string fifth(table.Assign("Long File Name 5.txt").View());
  const std::string sixth(table.Assign("Long File Name 6.txt").View());
  EXPECT_TRUE(test::IsHashedShortName(fifth, "LO", "TXT")) << fifth;
  EXPECT_TRUE(test::IsHashedShortName(sixth, "LO", "TXT")) << sixth;
  EXPECT_NE(fifth, sixth);
}

TEST(ShortName, HashedNamesDependOnTheLongNameOnly) {
  TShortNameTable first, second;
  for (int i = 0; i < 4; ++i) {
    first.Assign("Long File Name " + std::to_string(i) + ".txt");
    second.Assign("Long File Number " + std::to_string(i) + ".txt");
  }
  EXPECT_EQ(first.Assign("Long File Nombre.txt").View(), second.Assign("Long File Nombre.txt").View());
}

TEST(ShortName, NeverTakesTheNameOfAnEightDotThreeEntry) {
  TShortNameTable table;
  table.Occupy("longfi~1.txt");
  table.Occupy("LONGFI~2.TXT");
  EXPECT_EQ(table.Assign("Long File Name.txt").View(), "LONGFI~3.TXT");
}

TEST(ShortName, ManyNamesOfOneBasisStayUniqueAndShort) {
  TShortNameTable table;
  table.Reserve(10);  // grows past its reservation too
  std::set<std::string> seen;
  for (int i = 0; i < 5000; ++i) {
    const std::string name(table.Assign("Holiday photo " + std::to_string(i) + ".jpeg").View());
    EXPECT_TRUE(HasShortForm(name)) << name;
    EXPECT_TRUE(seen.insert(name).second) << name;
  }
}

// A folder can hold more names of one basis and extension than there are
// short names for them (~1 to ~4, then 65,536 hashes with ~1 to ~9): every one
// that can get a name gets a different one, the rest none, and the table stays
// quick to the end (it used to walk every taken name for each further one).
TEST(ShortName, AGroupOfNamesFillsUpAndThenGivesNoName) {
  constexpr std::size_t kNames = 4 + 65536 * 9;
  TShortNameTable table;
  constexpr std::size_t kBeyond = 20000;  // each of them scanned the whole group before
  table.Reserve(kNames + kBeyond);
  std::unordered_set<std::string> seen;
  seen.reserve(kNames);
  std::size_t named = 0;
  for (std::size_t i = 0; i < kNames + kBeyond; ++i) {
    const TShortName name = table.Assign("IMGABC" + std::to_string(i) + ".JPG");
    if (name.Size == 0) continue;
    ++named;
    seen.emplace(name.View());
  }
  EXPECT_EQ(named, kNames);
  EXPECT_EQ(seen.size(), kNames);
  // Another extension, or other leading characters, is another group.
  EXPECT_EQ(table.Assign("IMGABC0.jpeg").View(), "IMGABC~1.JPE");
  EXPECT_NE(table.Assign("PIC99999999.JPG").Size, 0u);
}

TEST(ShortName, HashedNamesDoNotClashWithTildeNamesOfOtherBases) {
  // "HOxxxx~1.JPG" from a hash can equal the ~1 name of a basis "HOxxxx".
  TShortNameTable table;
  std::set<std::string> seen;
  for (int i = 0; i < 3000; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", i * 7 % 0x10000);
    for (const std::string& name : {"Holiday " + std::to_string(i) + ".jpg", std::string("HO") + hex + " x.jpg"}) {
      const std::string shortName(table.Assign(name).View());
      EXPECT_TRUE(seen.insert(shortName).second) << name << " -> " << shortName;
    }
  }
}

}  // namespace
}  // namespace vt
