#include <gtest/gtest.h>

#include <map>

#include "engine/StartArguments.h"

namespace vt {
namespace {

struct ParseCase {
  std::vector<std::string> args;
  StartAction action;
  std::vector<std::string> paths;
};

TEST(StartArguments, OptionsAndPaths) {
  const ParseCase cases[] = {
      {{}, StartAction::OpenWindow, {}},
      {{"Photos"}, StartAction::OpenWindow, {"Photos"}},
      {{"a.jpg", "b.jpg"}, StartAction::OpenWindow, {"a.jpg", "b.jpg"}},
      {{"--help"}, StartAction::PrintHelp, {}},
      {{"-h", "Photos"}, StartAction::PrintHelp, {}},
      {{"Photos", "--version"}, StartAction::PrintVersion, {}},
      {{"-V"}, StartAction::PrintVersion, {}},
      {{"-platform", "xcb", "--help"}, StartAction::PrintHelp, {}},
      {{"--frobnicate", "-V"}, StartAction::PrintVersion, {}},
      // After "--" everything is a path, also what looks like an option.
      {{"--", "--help", "-x"}, StartAction::OpenWindow, {"--help", "-x"}},
      // A lone "-" is a name; empty arguments are dropped.
      {{"-", ""}, StartAction::OpenWindow, {"-"}},
  };
  for (const auto& c : cases) {
    const TStartParse got = ParseStartArguments(c.args);
    ASSERT_TRUE(got) << testing::PrintToString(c.args) << ": " << got.Error().Option;
    EXPECT_EQ(got->Action, c.action) << testing::PrintToString(c.args);
    EXPECT_EQ(got->Paths, c.paths) << testing::PrintToString(c.args);
  }
}

// The first unknown option is named; the paths given beside it are dropped.
TEST(StartArguments, UnknownOptionsAreUsageErrors) {
  const struct {
    std::vector<std::string> args;
    std::string option;
  } cases[] = {
      {{"--frobnicate"}, "--frobnicate"},
      {{"-x", "Photos"}, "-x"},
      {{"Photos", "-x", "--frobnicate"}, "-x"},
      {{"-platform", "xcb"}, "-platform"},
  };
  for (const auto& c : cases) {
    const TStartParse got = ParseStartArguments(c.args);
    ASSERT_FALSE(got) << testing::PrintToString(c.args);
    EXPECT_EQ(got.Error().Option, c.option) << testing::PrintToString(c.args);
  }
}

// A made-up file system: folders and files by absolute path.
TPathKindOf Kinds(std::map<std::string, PathKind> known) {
  return [known = std::move(known)](const std::string& path) {
    const auto found = known.find(path);
    return found == known.end() ? PathKind::Missing : found->second;
  };
}

const TPathKindOf kTree = Kinds({{"/", PathKind::Folder},
                                 {"/home/u", PathKind::Folder},
                                 {"/home/u/Photos", PathKind::Folder},
                                 {"/home/u/Photos/a.jpg", PathKind::File},
                                 {"/home/u/Photos/b;c.jpg", PathKind::File},
                                 {"/home/u/Photos/été.jpg", PathKind::File},
                                 {"/home/u/Music/x.mp3", PathKind::File},
                                 {"/top.txt", PathKind::File}});

struct PlanCase {
  std::vector<std::string> paths;
  std::string folder;
  MaskOutcome outcome;
  std::string masks;
  std::vector<std::string> missing;
  std::vector<std::string> leftOut;
};

TEST(StartArguments, PlanOpenFolderOrFiles) {
  const PlanCase cases[] = {
      {{"/home/u/Photos"}, "/home/u/Photos", MaskOutcome::Unchanged, "", {}, {}},
      {{"/home/u/Photos/"}, "/home/u/Photos", MaskOutcome::Unchanged, "", {}, {}},
      {{"Photos"}, "/home/u/Photos", MaskOutcome::Unchanged, "", {}, {}},
      {{"/"}, "/", MaskOutcome::Unchanged, "", {}, {}},
      {{"/top.txt"}, "/", MaskOutcome::Names, "top.txt", {}, {}},
      {{"Photos/a.jpg", "/home/u/Photos/été.jpg"}, "/home/u/Photos", MaskOutcome::Names, "a.jpg;été.jpg", {}, {}},
      // The same file twice gives one mask.
      {{"Photos/a.jpg", "/home/u/Photos/a.jpg"}, "/home/u/Photos", MaskOutcome::Names, "a.jpg", {}, {}},
      // A ";" in a name cannot be a mask: every file is shown instead.
      {{"Photos/a.jpg", "Photos/b;c.jpg"}, "/home/u/Photos", MaskOutcome::NotAMask, "*.*", {}, {}},
      // Files of another folder and folders after the first path are left out.
      {{"Photos/a.jpg", "Music/x.mp3", "/home/u"},
       "/home/u/Photos",
       MaskOutcome::Names,
       "a.jpg",
       {},
       {"Music/x.mp3", "/home/u"}},
      {{"/home/u/Photos", "Photos/a.jpg"}, "/home/u/Photos", MaskOutcome::Unchanged, "", {}, {"Photos/a.jpg"}},
      // Missing paths are reported; the first existing one decides.
      {{"nowhere", "Photos"}, "/home/u/Photos", MaskOutcome::Unchanged, "", {"nowhere"}, {}},
      {{"nowhere"}, "", MaskOutcome::Unchanged, "", {"nowhere"}, {}},
  };
  for (const auto& c : cases) {
    const TOpenPlan plan = PlanOpen(c.paths, "/home/u", kTree);
    const std::string label = testing::PrintToString(c.paths);
    EXPECT_EQ(plan.Folder, c.folder) << label;
    EXPECT_EQ(plan.Outcome, c.outcome) << label;
    EXPECT_EQ(plan.Masks, c.masks) << label;
    EXPECT_EQ(plan.Missing, c.missing) << label;
    EXPECT_EQ(plan.LeftOut, c.leftOut) << label;
  }
}

// The limit counts characters, not bytes, and 255 still fits.
TEST(StartArguments, MasksUpTo255CharactersFit) {
  std::map<std::string, PathKind> known{{"/f", PathKind::Folder}};
  std::vector<std::string> paths;
  const auto add = [&](const std::string& name) {
    known["/f/" + name] = PathKind::File;
    paths.push_back("/f/" + name);
  };
  // 50 names of 4 characters (6 bytes each) and one of 5: 200 + 5 + 50 separators = 255.
  for (int i = 0; i < 50; ++i) add(std::string("é") + char('A' + i % 26) + char('a' + i / 26) + "é");
  add("vwxyz");
  TOpenPlan plan = PlanOpen(paths, "/", Kinds(known));
  EXPECT_EQ(plan.Outcome, MaskOutcome::Names);
  EXPECT_EQ(plan.Masks.size(), 50u * 6 + 5 + 50);
  add("x");  // 257
  plan = PlanOpen(paths, "/", Kinds(known));
  EXPECT_EQ(plan.Outcome, MaskOutcome::TooLong);
  EXPECT_EQ(plan.Masks, "*.*");
}

}  // namespace
}  // namespace vt
