#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace vt {
namespace {

using Args = std::vector<std::string>;

TCliOptions Parsed(const Args& args) {
  const TParseResult result = ParseCommandLine(args);
  EXPECT_TRUE(result) << result.Error();
  return result ? *result : TCliOptions{};
}

struct ValidCase {
  Args Arguments;
  std::function<void(const TCliOptions&)> Check;
};

TEST(CommandLine, ValidArgumentsFillTheControlsAsTheWindowWould) {
  const std::vector<ValidCase> cases{
      {{".", "replace", "a", "b"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Command, TCliCommand::Pass);
         EXPECT_EQ(o.Folder, ".");
         EXPECT_EQ(o.Masks, "*.*");
         EXPECT_FALSE(o.Rename);
         EXPECT_FALSE(o.IncludeSubDirs);
         EXPECT_FALSE(o.RecordAll);
         EXPECT_FALSE(o.Format.has_value());
         EXPECT_EQ(o.Order, TFileOrder::Name);
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::SearchReplace));
         EXPECT_EQ(o.Controls.EdSearchFor, "a");
         EXPECT_EQ(o.Controls.EdReplaceWith, "b");
         EXPECT_FALSE(o.Controls.ChkBxSearchRecursive);
       }},
      // Options after the positionals, bundled short flags, glued and "=" values.
      {{"dir", "replace", "*.txt", "*.doc", "--recursive", "-rxa", "--case-sensitive", "--extension", "-m*.txt;*.TXT",
        "--format=json"},
       [](const TCliOptions& o) {
         EXPECT_TRUE(o.Rename);
         EXPECT_TRUE(o.IncludeSubDirs);
         EXPECT_TRUE(o.RecordAll);
         EXPECT_EQ(o.Masks, "*.txt;*.TXT");
         EXPECT_EQ(o.Format, TOutputFormat::Json);
         EXPECT_TRUE(o.Controls.ChkBxSearchRecursive);
         EXPECT_TRUE(o.Controls.ChkBxCaseSensitive);
         EXPECT_TRUE(o.Controls.ChkBxSearchInExt);
       }},
      {{".", "number", "--order", "natural"}, [](const TCliOptions& o) { EXPECT_EQ(o.Order, TFileOrder::Natural); }},
      {{".", "number", "--order=name"}, [](const TCliOptions& o) { EXPECT_EQ(o.Order, TFileOrder::Name); }},
      {{".", "number", "--order", "taken", "--reverse", "--restart-per-folder"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Order, TFileOrder::Taken);
         EXPECT_EQ(o.Direction, TOrderDirection::Descending);
         EXPECT_TRUE(o.RestartPerFolder);
         EXPECT_FALSE(o.Controls.ChkBxUseFields);
       }},
      {{".", "number", "--order=modified"}, [](const TCliOptions& o) { EXPECT_EQ(o.Order, TFileOrder::Modified); }},
      {{".", "number", "--order=size"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Order, TFileOrder::Size);
         EXPECT_EQ(o.Direction, TOrderDirection::Ascending);
         EXPECT_FALSE(o.RestartPerFolder);
       }},
      {{".", "insert", "{taken:%Y/%m/%d} ", "--fields"},
       [](const TCliOptions& o) {
         EXPECT_TRUE(o.Controls.ChkBxUseFields);
         EXPECT_EQ(o.Controls.EdInsert, "{taken:%Y/%m/%d} ");
       }},
      {{".", "number", "--fields", "--base", "{make} "},
       [](const TCliOptions& o) {
         EXPECT_TRUE(o.Controls.ChkBxUseFields);
         EXPECT_EQ(o.Controls.ComboBaseFileName, "{make} ");
       }},
      {{"-x", "-o", "out.vtr", "-f", "tsv", "-m", "", ".", "replace", "", ""},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.SaveFile, "out.vtr");
         EXPECT_EQ(o.Format, TOutputFormat::Tsv);
         EXPECT_EQ(o.Masks, "");
         EXPECT_EQ(o.Controls.EdSearchFor, "");
       }},
      // "--" lets a text begin with "-"; a lone "-" is an argument.
      {{".", "replace", "-x", "--", "-y", "-"},
       [](const TCliOptions& o) {
         EXPECT_TRUE(o.Rename);
         EXPECT_EQ(o.Controls.EdSearchFor, "-y");
         EXPECT_EQ(o.Controls.EdReplaceWith, "-");
       }},
      {{".", "insert", "_x", "--at", "offset-end", "--pos", "127"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::Insert));
         EXPECT_EQ(o.Controls.EdInsert, "_x");
         EXPECT_EQ(o.Controls.ComboInsertTo, ControlIndex(TPlacement::FromEnd));
         EXPECT_EQ(o.Controls.UpDownInsertPos, 127);
       }},
      {{".", "insert", "x", "--at", "begin"},
       [](const TCliOptions& o) { EXPECT_EQ(o.Controls.ComboInsertTo, ControlIndex(TPlacement::AtBeginning)); }},
      {{".", "remove", "o", "--recursive", "--case-sensitive"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::Remove));
         EXPECT_EQ(o.Controls.ComboItemToDelete, ControlIndex(TRemoveKind::String));
         EXPECT_EQ(o.Controls.EdDelete, "o");
         EXPECT_TRUE(o.Controls.ChkBxDelRecursive);
         EXPECT_TRUE(o.Controls.ChkBxCaseSensDel);
       }},
      {{".", "remove", "--count", "0"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.ComboItemToDelete, ControlIndex(TRemoveKind::Characters));
         EXPECT_EQ(o.Controls.UpDownNbrDelete, 0);
         EXPECT_EQ(o.Controls.ComboDeleteFrom, ControlIndex(TRemoveFrom::Beginning));
       }},
      {{".", "remove", "--count", "127", "--from", "offset", "--pos", "1"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.UpDownNbrDelete, 127);
         EXPECT_EQ(o.Controls.ComboDeleteFrom, ControlIndex(TRemoveFrom::OffsetFromBeginning));
         EXPECT_EQ(o.Controls.UpDownDeletePos, 1);
       }},
      {{".", "remove", "--count", "2", "--from", "end"},
       [](const TCliOptions& o) { EXPECT_EQ(o.Controls.ComboDeleteFrom, ControlIndex(TRemoveFrom::End)); }},
      {{".", "number"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::Number));
         EXPECT_EQ(o.Controls.EdStartNumber, "0");
         EXPECT_EQ(o.Controls.UpDownStartNumber, 0);
         EXPECT_EQ(o.Controls.UpDownIncrement, 1);
         EXPECT_FALSE(o.Controls.ChkBxUseBaseFilename);
       }},
      {{".", "number", "--start", "007", "--increment", "20", "--backwards", "--base", "Original Name ", "--at",
        "offset", "--pos", "2"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.EdStartNumber, "007");
         EXPECT_EQ(o.Controls.UpDownStartNumber, 7);
         EXPECT_EQ(o.Controls.UpDownIncrement, 20);
         EXPECT_TRUE(o.Controls.ChkBxDecrement);
         EXPECT_TRUE(o.Controls.ChkBxUseBaseFilename);
         EXPECT_EQ(o.Controls.ComboBaseFileName, "Original Name ");
         EXPECT_EQ(o.Controls.ComboNumberInsertTo, ControlIndex(TPlacement::FromBeginning));
         EXPECT_EQ(o.Controls.UpDownNumberPos, 2);
       }},
      {{".", "number", "--start", "32767"},
       [](const TCliOptions& o) { EXPECT_EQ(o.Controls.UpDownStartNumber, 32767); }},
      {{".", "case", "weird", "--no-extension"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::ChangeCase));
         EXPECT_EQ(o.Controls.ComboChangeCase, ControlIndex(TCaseKind::Weird));
         EXPECT_FALSE(o.Controls.ChkBxChangecaseWithExt);
       }},
      {{".", "case", "lower", "--extension-only"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.ComboChangeCase, ControlIndex(TCaseKind::Lower));
         EXPECT_TRUE(o.Controls.ChkBxChangecaseExtOnly);
       }},
      {{".", "case", "first-lower"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.ComboChangeCase, ControlIndex(TCaseKind::FirstUpperRestLower));
         EXPECT_TRUE(o.Controls.ChkBxChangecaseWithExt);
       }},
      {{".", "truncate", "--short"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.LstBoxActions, ControlIndex(TOperation::Truncate));
         EXPECT_EQ(o.Controls.ComboTruncateTo, ControlIndex(TTruncateKind::ShortName));
       }},
      {{".", "truncate", "--max", "1"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.ComboTruncateTo, ControlIndex(TTruncateKind::MaxChars));
         EXPECT_EQ(o.Controls.UpDownNbrTruncate, 1);
       }},
      // A repeated option keeps its last value.
      {{".", "truncate", "--max", "5", "--max", "9", "-f", "json", "-f", "table"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Controls.UpDownNbrTruncate, 9);
         EXPECT_EQ(o.Format, TOutputFormat::Table);
       }},
      {{"show", "r.vtr", "-f", "json"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Command, TCliCommand::Show);
         EXPECT_EQ(o.ResultFile, "r.vtr");
       }},
      {{"recover", "r.vtr", "--save", "again.vtr"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Command, TCliCommand::Recover);
         EXPECT_EQ(o.SaveFile, "again.vtr");
       }},
      // A folder of that name is reached through ./
      {{"./show", "case", "upper"}, [](const TCliOptions& o) { EXPECT_EQ(o.Folder, "./show"); }},
      {{"--help", "anything", "--bogus-after"}, [](const TCliOptions& o) { EXPECT_EQ(o.Command, TCliCommand::Help); }},
      {{".", "replace", "-h"}, [](const TCliOptions& o) { EXPECT_EQ(o.Command, TCliCommand::Help); }},
      {{"--version"}, [](const TCliOptions& o) { EXPECT_EQ(o.Command, TCliCommand::Version); }},
      {{"help"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Command, TCliCommand::Topic);
         EXPECT_EQ(o.HelpTopic, "");
       }},
      {{"help", "journal"},
       [](const TCliOptions& o) {
         EXPECT_EQ(o.Command, TCliCommand::Topic);
         EXPECT_EQ(o.HelpTopic, "journal");
       }},
      {{"./help", "case", "upper"}, [](const TCliOptions& o) { EXPECT_EQ(o.Folder, "./help"); }},
  };
  for (const ValidCase& c : cases) {
    std::string joined;
    for (const std::string& arg : c.Arguments) joined += "[" + arg + "] ";
    SCOPED_TRACE(joined);
    c.Check(Parsed(c.Arguments));
  }
}

struct InvalidCase {
  Args Arguments;
  std::string ErrorHolds;
};

TEST(CommandLine, RecordOptions) {
  const TParseResult last = ParseCommandLine({"recover", "--last", "-f", "json"});
  ASSERT_TRUE(last) << last.Error();
  EXPECT_EQ(last->Command, TCliCommand::Recover);
  EXPECT_TRUE(last->Last);
  EXPECT_EQ(last->ResultFile, "");
  const TParseResult noSave = ParseCommandLine({".", "-x", "--no-save", "case", "upper"});
  ASSERT_TRUE(noSave) << noSave.Error();
  EXPECT_TRUE(noSave->NoSave);
  EXPECT_FALSE(noSave->SaveFile);
}

TEST(CommandLine, UsageErrorsNameTheProblem) {
  const std::vector<InvalidCase> cases{
      {{}, "missing FOLDER"},
      {{"."}, "missing OPERATION"},
      {{".", "rename", "a", "b"}, "unknown operation 'rename'"},
      {{".", "replace", "a"}, "missing argument"},
      {{".", "replace", "a", "b", "c"}, "unexpected argument 'c'"},
      {{".", "insert"}, "missing argument"},
      {{".", "number", "7"}, "unexpected argument '7'"},
      {{".", "case"}, "missing argument"},
      {{".", "case", "title"}, "not 'title'"},
      {{".", "replace", "a", "b", "--bogus"}, "unrecognized option '--bogus'"},
      {{".", "replace", "a", "b", "-q"}, "unrecognized option '-q'"},
      {{".", "replace", "a", "b", "-m"}, "'-m' needs a value"},
      {{".", "truncate", "--max"}, "'--max' needs a value"},
      {{".", "replace", "a", "b", "--rename=yes"}, "takes no value"},
      {{".", "replace", "a", "b", "-f", "csv"}, "table, tsv or json"},
      {{".", "number", "--order", "date"}, "name, natural, modified, taken or size, not 'date'"},
      {{".", "replace", "a", "b", "--fields"}, "option '--fields' does not apply to replace"},
      {{".", "insert", "a/{taken:%Y/%m}", "--fields"}, "the text to insert cannot hold '/': 'a/{taken:%Y/%m}'"},
      {{".", "number", "--base", "{make}/x", "--fields"}, "the base name cannot hold '/': '{make}/x'"},
      {{"show", "a.vtr", "--order", "natural"}, "does not apply to show"},
      // Limits of the window's fields.
      {{".", "insert", "x", "--at", "offset", "--pos", "0"}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "offset", "--pos", "128"}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "offset", "--pos", "-1"}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "offset", "--pos", "1e2"}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "offset", "--pos", ""}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "offset", "--pos", "99999999999999"}, "from 1 to 127"},
      {{".", "remove", "--count", "128"}, "from 0 to 127"},
      {{".", "remove", "--count", "-1"}, "from 0 to 127"},
      {{".", "remove", "--count", "2", "--from", "offset-end", "--pos", "128"}, "from 1 to 127"},
      {{".", "number", "--start", "32768"}, "from 0 to 32767"},
      {{".", "number", "--start", "+5"}, "from 0 to 32767"},
      {{".", "number", "--increment", "0"}, "from 1 to 20"},
      {{".", "number", "--increment", "21"}, "from 1 to 20"},
      {{".", "truncate", "--max", "0"}, "from 1 to 127"},
      {{".", "truncate", "--max", "128"}, "from 1 to 127"},
      {{".", "insert", "x", "--at", "middle"}, "end, begin, offset, offset-end"},
      {{".", "remove", "--count", "1", "--from", "start"}, "begin, end, offset, offset-end"},
      // Options that belong to another operation or would be ignored.
      {{".", "insert", "x", "--recursive"}, "'--recursive' does not apply to insert"},
      {{".", "replace", "a", "b", "--max", "3"}, "'--max' does not apply to replace"},
      {{".", "case", "upper", "--pos", "3"}, "'--pos' does not apply to case"},
      {{".", "insert", "x", "--pos", "3"}, "needs --at offset"},
      {{".", "number", "--at", "begin"}, "needs --base"},
      {{".", "remove"}, "needs a TEXT or --count"},
      {{".", "remove", "x", "--count", "2"}, "not both"},
      {{".", "remove", "x", "--from", "end"}, "applies to remove --count only"},
      {{".", "remove", "--count", "2", "--recursive"}, "applies to remove TEXT only"},
      {{".", "remove", "--count", "2", "--pos", "3"}, "needs --from offset"},
      {{".", "truncate"}, "--short or --max"},
      {{".", "case", "lower", "--extension-only", "--no-extension"}, "exclude each other"},
      {{".", "insert", "x", "--extension-only"}, "'--extension-only' does not apply to insert"},
      {{".", "truncate", "--short", "--max", "3"}, "--short or --max"},
      // A slash can never be part of a name.
      {{".", "replace", "a", "b/c"}, "cannot hold '/'"},
      {{".", "insert", "../x"}, "cannot hold '/'"},
      {{".", "number", "--base", "x/"}, "cannot hold '/'"},
      // Result files.
      {{".", "replace", "a", "b", "--save", "r.vtr"}, "a simulation's rows cannot be saved"},
      {{".", "replace", "a", "b", "-x", "--save="}, "needs a file name"},
      {{"show"}, "missing FILE"},
      {{"show", "a.vtr", "b.vtr"}, "unexpected argument 'b.vtr'"},
      {{"show", "a.vtr", "--save", "b.vtr"}, "does not apply to show"},
      {{"show", "a.vtr", "-x"}, "'-x' does not apply to show"},
      {{"recover", "a.vtr", "-m", "*.txt"}, "'-m' does not apply to recover"},
      {{"recover", "a.vtr", "--recursive"}, "does not apply to recover"},
      {{"", "case", "upper"}, "folder cannot be empty"},
      {{".", "case", "upper", "-x", "-o", "r.vtr", "--no-save"}, "exclude each other"},
      {{"recover", "--last", "a.vtr"}, "unexpected argument 'a.vtr'"},
      {{"recover"}, "missing FILE"},
      {{"show", "a.vtr", "--last"}, "applies to recover only"},
      {{".", "case", "upper", "--last"}, "applies to recover only"},
      {{"show", "a.vtr", "--no-save"}, "does not apply to show"},
  };
  for (const InvalidCase& c : cases) {
    std::string joined;
    for (const std::string& arg : c.Arguments) joined += "[" + arg + "] ";
    SCOPED_TRACE(joined);
    const TParseResult result = ParseCommandLine(c.Arguments);
    ASSERT_FALSE(result) << c.ErrorHolds;
    EXPECT_NE(result.Error().find(c.ErrorHolds), std::string::npos) << result.Error();
  }
}

// The whole text of the errors a malformed option gives: the first one typed is
// named, before anything is said of the positional arguments.
TEST(CommandLine, MalformedOptionsAreNamedWhole) {
  const std::vector<InvalidCase> cases{
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{".", "case", "upper", "-rq", "--bogus"}, "unrecognized option '-q'"},
      {{".", "case", "upper", "--subdirs=1"}, "option '--subdirs' takes no value"},
      {{".", "case", "upper", "-rm"}, "option '-m' needs a value"},
      {{".", "case", "upper", "--masks"}, "option '--masks' needs a value"},
      {{".", "case", "upper", "--format=csv"}, "option '--format' needs table, tsv or json, not 'csv'"},
      {{"show", "a.vtr", "--sync"}, "option '--sync' does not apply to show"},
      {{".", "case", "upper", "--last"}, "option '--last' applies to recover only"},
      {{".", "number", "--base", "a/b"}, "the base name cannot hold '/': 'a/b'"},
      {{".", "number", "--increment", "21", "--start", "x"},
       "option '--increment' needs a whole number from 1 to 20, not '21'"},
  };
  for (const InvalidCase& c : cases) {
    const TParseResult result = ParseCommandLine(c.Arguments);
    ASSERT_FALSE(result) << c.ErrorHolds;
    EXPECT_EQ(result.Error(), c.ErrorHolds);
  }
}

}  // namespace
}  // namespace vt
