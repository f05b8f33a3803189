// The command line's warning before a real pass about new names the volume
// refuses: the first named with the reason, the rest counted, and going on
// put to the user as the checks' questions are.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/RefusalWarning.h"
#include "engine/RenameSettings.h"
#include "platform/MountTable.h"
#include "support/ControlValues.h"
#include "support/TempFolder.h"

namespace vt {
namespace {

using TFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

std::string ReadAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  return text;
}

// The root's line, and one that gives the volume of folder the type.
std::string VolumeOf(const std::string& folder, const std::string& type) {
  struct stat info {};
  EXPECT_EQ(::stat(folder.c_str(), &info), 0);
  const std::string device = std::to_string(major(info.st_dev)) + ":" + std::to_string(minor(info.st_dev));
  return "1 0 0:1 / / rw - ext4 /dev/root rw\n21 1 " + device + " / " + folder + " rw - " + type + " /dev/sdz1 rw\n";
}

TEST(CliRefusalWarning, RefusedNamesAreNamedCountedAndPutToTheUser) {
  struct Case {
    const char* Name;
    const char* Volume;
    int Refused;  // files whose new name holds ":"
    const char* Answer;
    bool Terminal, AssumeYes;
    bool Allows;
    std::vector<std::string> Said;  // on standard error, in order
  };
  const std::vector<Case> cases{
      {"answered yes",
       "exfat",
       2,
       "y\n",
       true,
       false,
       true,
       {"warning: 'xa0:.txt' in ", "the volume refuses a character of the new name", "warning: 'xa1:.txt'",
        "The volume refuses the new names of 2 files: they will keep their names.",
        "Do you really want to rename the others? [y/N] "}},
      {"answered no",
       "exfat",
       1,
       "no\n",
       true,
       false,
       false,
       {"The volume refuses the new names of 1 file:", "veltrane-cli: not confirmed, nothing was renamed"}},
      {"no terminal to answer on", "vfat", 1, "", false, false, false, {"give -y (--yes) to answer yes"}},
      {"answered yes beforehand", "exfat", 1, "", false, true, true, {"warning: 'xa0:.txt'"}},
      {"more than are named",
       "exfat",
       12,
       "y\n",
       true,
       false,
       true,
       {"warning: 'xa7:.txt'", "warning: 2 more new names the volume refuses", "of 12 files"}},
      {"none refused", "exfat", 0, "", false, false, true, {}},
      {"a volume that takes any name", "ext4", 3, "", false, false, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const test::TTempFolder folder;
    for (int i = 0; i < c.Refused; ++i) std::ofstream(folder.Path() / ("a" + std::to_string(i) + ":.txt")) << "x";
    std::ofstream(folder.Path() / "plain.txt") << "x";
    SetMountTableForTesting(VolumeOf(folder.Path().string(), c.Volume));
    const TFile in(std::tmpfile(), &std::fclose);
    const TFile err(std::tmpfile(), &std::fclose);
    std::fputs(c.Answer, in.get());
    std::rewind(in.get());
    const TPromptEnvironment prompt{in.get(), err.get(), c.Terminal, c.AssumeYes ? TAssumeYes::Yes : TAssumeYes::No};
    TSearchPassOptions options;
    options.Folder = folder.Path().string() + "/";
    const bool allows =
        RefusalsAllowPass(options, CaptureSettings(test::InsertText("x", TPlacement::AtBeginning)), prompt, {});
    SetMountTableForTesting(std::nullopt);
    EXPECT_EQ(allows, c.Allows);
    const std::string said = ReadAll(err.get());
    std::size_t at = 0;
    for (const std::string& part : c.Said) {
      const std::size_t found = said.find(part, at);
      EXPECT_NE(found, std::string::npos) << "'" << part << "' not in, or before its place:\n" << said;
      if (found != std::string::npos) at = found + part.size();
    }
    if (c.Said.empty()) {
      EXPECT_EQ(said, "");
    }
  }
}

TEST(CliRefusalWarning, NamesTooLongForAnyVolumeAreWarnedOfWhenTheSettingsCanMakeThem) {
  struct Case {
    const char* Insert;
    bool Allows;
    std::string Said;
  };
  const std::vector<Case> cases{
      {"xxxxxx", false,
       "): the new name is longer than the volume allows (255)\nThe volume refuses the new names of 1 file"},
      {"xxxxx", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Insert);
    const test::TTempFolder folder;
    std::string longName(250, 'a');
    std::ofstream(folder.Path() / longName.replace(246, 4, ".txt")) << "x";
    SetMountTableForTesting(VolumeOf(folder.Path().string(), "ext4"));
    const TFile in(std::tmpfile(), &std::fclose);
    const TFile err(std::tmpfile(), &std::fclose);
    const TPromptEnvironment prompt{in.get(), err.get(), false, TAssumeYes::No};
    TSearchPassOptions options;
    options.Folder = folder.Path().string() + "/";
    const bool allows = RefusalsAllowPass(options, CaptureSettings(test::InsertText(c.Insert)), prompt, {});
    SetMountTableForTesting(std::nullopt);
    EXPECT_EQ(allows, c.Allows);
    const std::string said = ReadAll(err.get());
    if (c.Said.empty())
      EXPECT_EQ(said, "");
    else
      EXPECT_NE(said.find(c.Said), std::string::npos) << said;
  }
}

}  // namespace
}  // namespace vt
