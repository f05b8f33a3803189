// The checks before a pass on the command line: refusals, questions asked on
// the terminal, and -y.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "cli/SettingsPrompt.h"
#include "cli/Usage.h"
#include "engine/Messages.h"
#include "support/ControlValues.h"

namespace vt::test {
namespace {

// A question's input, and what was written to standard error.
class TPromptStreams {
 public:
  explicit TPromptStreams(const std::string& input) : In_(std::tmpfile()), Err_(std::tmpfile()) {
    std::fputs(input.c_str(), In_);
    std::rewind(In_);
  }
  ~TPromptStreams() {
    std::fclose(In_);
    std::fclose(Err_);
  }
  TPromptEnvironment Environment(bool inIsTerminal, TAssumeYes yes = TAssumeYes::No) const {
    return {In_, Err_, inIsTerminal, yes};
  }
  std::string Err() const {
    std::rewind(Err_);
    std::string text;
    for (int c = std::fgetc(Err_); c != EOF; c = std::fgetc(Err_)) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* In_;
  std::FILE* Err_;
};

const std::string kSameName(Message(Msg::SameName));

TEST(SettingsPrompt, AnsweredOnTheTerminal) {
  const struct {
    const char* typed;
    bool goesOn;
  } cases[] = {{"y\n", true}, {"yes\n", true}, {"Y\n", true},     {" yes \n", true},
               {"\n", false}, {"n\n", false},  {"yess\n", false}, {"", false}};
  for (const auto& c : cases) {
    TPromptStreams streams(c.typed);
    EXPECT_EQ(SettingsAllowPass(SearchReplace("*.*", "*.jpg"), streams.Environment(true)), c.goesOn) << c.typed;
    EXPECT_EQ(streams.Err().rfind(kSameName + " [y/N] ", 0), 0u) << streams.Err();
  }
}

TEST(SettingsPrompt, ThreeQuestionsInTurn) {
  TPromptStreams streams("y\ny\ny\n");
  EXPECT_TRUE(SettingsAllowPass(SearchReplace("*.*", "*."), streams.Environment(true)));
  const std::string err = streams.Err();
  const auto first = err.find(Message(Msg::RemoveSeveralExtensions));
  const auto second = err.find(kSameName);
  const auto third = err.find(Message(Msg::RemoveExtension));
  EXPECT_TRUE(first < second && second < third && third != std::string::npos) << err;
  TPromptStreams stopped("y\n\n");
  EXPECT_FALSE(SettingsAllowPass(SearchReplace("*.*", "*."), stopped.Environment(true)));
  EXPECT_EQ(stopped.Err().find(Message(Msg::RemoveExtension)), std::string::npos);
}

TEST(SettingsPrompt, WithoutATerminalOnlyYesGoesOn) {
  TPromptStreams streams("y\n");  // not a terminal: never read
  EXPECT_FALSE(SettingsAllowPass(SearchReplace("*.*", "*.jpg"), streams.Environment(false)));
  EXPECT_NE(streams.Err().find("--yes"), std::string::npos) << streams.Err();
  TPromptStreams assumed("");
  EXPECT_TRUE(SettingsAllowPass(SearchReplace("*.*", "*.jpg"), assumed.Environment(false, TAssumeYes::Yes)));
  EXPECT_EQ(assumed.Err(), "");
}

TEST(SettingsPrompt, AnErrorRefusesWhateverTheAnswers) {
  TPromptStreams streams("y\n");
  EXPECT_FALSE(SettingsAllowPass(InsertText(""), streams.Environment(true, TAssumeYes::Yes)));
  EXPECT_EQ(streams.Err(), "veltrane-cli: Specify text to be inserted.\n");
}

TEST(CliChecks, RefusedPassesExit2AndRenameNothing) {
  const struct {
    std::vector<std::string> operation;
    int message;
  } cases[] = {
      {{"replace", "", "x"}, Msg::SpecifySearchText},
      {{"replace", "a", "a"}, Msg::NothingToReplace},
      {{"replace", "a.txt", ""}, Msg::SpecifyReplaceText},
      {{"replace", "photo.*", "x.jpg"}, Msg::SameNameInfo},
      {{"insert", ""}, Msg::SpecifyInsertText},
      {{"remove", ""}, Msg::SpecifyDeleteText},
      {{"remove", "--count", "0"}, Msg::SpecifyDeleteCount},
  };
  for (const auto& c : cases) {
    for (const char* mode : {"-x", "-a"}) {  // a simulation is checked too
      TTempFolder dir;
      dir.WriteFile("a.txt");
      std::vector<std::string> args{dir.Folder(), mode, "-y"};
      args.insert(args.end(), c.operation.begin(), c.operation.end());
      const TRun run = RunProgram(args, dir.Path());
      EXPECT_EQ(run.Exit, 2) << c.message << " " << mode;
      EXPECT_EQ(run.Err, "veltrane-cli: " + std::string(Message(c.message)) + "\n");
      EXPECT_EQ(run.Out, "");
      EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
    }
  }
}

TEST(CliChecks, AQuestionWithoutATerminalRefusesAndYesGoesOn) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  const TRun refused = RunProgram({dir.Folder(), "-x", "--no-save", "replace", "*.*", "*.doc"}, dir.Path());
  EXPECT_EQ(refused.Exit, 2);
  EXPECT_EQ(refused.Err.rfind(kSameName + "\n", 0), 0u) << refused.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
  const TRun confirmed = RunProgram({dir.Folder(), "-x", "--no-save", "--yes", "replace", "*.*", "*.doc"}, dir.Path());
  EXPECT_EQ(confirmed.Exit, 0) << confirmed.Err;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.doc"});
}

TEST(CliChecks, AQuestionAnsweredOnATerminal) {
  for (const char* answer : {"y\n", "\n"}) {
    TTempFolder dir;
    dir.WriteFile("a.txt");
    TSpawned cli({dir.Folder(), "-x", "--no-save", "replace", "*.*", "*.doc"}, dir.Path(),
                 TSpawned::Output::TerminalInOut);
    cli.Write(answer);
    const std::string shown = cli.ReadAll();
    const int exit = cli.Wait();
    EXPECT_NE(shown.find(kSameName + " [y/N] "), std::string::npos) << shown;
    if (answer[0] == 'y') {
      EXPECT_EQ(exit, 0) << shown;
      EXPECT_EQ(dir.Names(), std::set<std::string>{"a.doc"});
    } else {
      EXPECT_EQ(exit, 2) << shown;
      EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
    }
  }
}

// --help and its topics together; each topic is named where it is needed.
TEST(CliChecks, HelpTellsWhatNewcomersTripOver) {
  std::string help(UsageText());
  for (const THelpTopic& topic : HelpTopics()) help += topic.Text;
  for (const char* said :
       {"-y, --yes", "[y/N]", "\"*.jpg;*.JPG\" selects each file twice", "it is not -r", "filled, in order",
        "read-only files", "Hidden files", "chattr +i", "mode 0444", "Journal format", "129 after SIGHUP"})
    EXPECT_NE(help.find(said), std::string::npos) << said;
}

// A first screen: at most 60 lines of at most 80 columns, ending with the
// README's five examples and then where the rest is.
TEST(CliChecks, HelpFitsAScreenAndEndsWithExamples) {
  const std::string help(UsageText());
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; at < help.size(); at = end + 1) {
    end = help.find('\n', at);
    if (end == std::string::npos) end = help.size();
    lines.push_back(help.substr(at, end - at));
  }
  EXPECT_LE(lines.size(), 60u);
  for (const std::string& line : lines) EXPECT_LE(line.size(), 80u) << line;
  const auto examples = std::find(lines.begin(), lines.end(), "Examples:");
  ASSERT_NE(examples, lines.end());
  std::vector<std::string> commands;
  for (auto line = examples + 1; line != lines.end() && !line->empty(); ++line)
    if (line->rfind("  veltrane-cli ", 0) == 0) commands.push_back(line->substr(2));
  EXPECT_EQ(commands, (std::vector<std::string>{
                          "veltrane-cli ~/Photos replace IMG_ \"Rome 2025 - \"",
                          "veltrane-cli -x -o rome.vtr ~/Photos replace IMG_ \"Rome 2025 - \"",
                          "veltrane-cli recover rome.vtr",
                          "veltrane-cli -r -m \"*.mp3\" ~/Music case first-lower",
                          "veltrane-cli ~/Scans number --start 001",
                      }));
  const std::string& last = lines.back();
  EXPECT_NE(last.find("veltrane-cli help TOPIC"), std::string::npos) << last;
  EXPECT_NE(last.find("man veltrane-cli"), std::string::npos) << last;
  // Every topic --help points to is one.
  for (std::size_t at = help.find("help "); at != std::string::npos; at = help.find("help ", at + 1)) {
    std::size_t end = at + 5;
    while (end < help.size() && std::islower(static_cast<unsigned char>(help[end]))) ++end;
    const std::string name = help.substr(at + 5, end - at - 5);
    if (!name.empty()) {
      EXPECT_NE(FindHelpTopic(name), nullptr) << name;
    }
  }
}

}  // namespace
}  // namespace vt::test

namespace vt::test {
namespace {

TEST(CliChecks, FieldsAreCheckedBeforeAPassAndAFileLackingOneSaysWhy) {
  TTempFolder dir;
  dir.WriteFile("a.txt");
  const TRun refused = RunProgram({dir.Folder(), "-x", "insert", "{colour} ", "--fields"}, dir.Path());
  EXPECT_EQ(refused.Exit, 2);
  EXPECT_EQ(refused.Err, "veltrane-cli: Unknown field at character 1.\nThe fields are listed in the help.\n");
  const TRun lacking = RunProgram({dir.Folder(), "-f", "json", "insert", "{artist} ", "--fields"}, dir.Path());
  EXPECT_NE(lacking.Out.find("\"reason\":\"the file lacks a field the new name needs\""), std::string::npos)
      << lacking.Out;
  EXPECT_EQ(dir.Names(), std::set<std::string>{"a.txt"});
}

}  // namespace
}  // namespace vt::test
