#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Usage.h"
#include "engine/OperationTable.h"
#include "engine/RenameStep.h"
#include "support/ControlValues.h"

namespace vt {
namespace {

// The same request typed on the command line and set in the window's controls.
struct TRequest {
  std::vector<std::string> Typed;  // after the folder
  TOperation Operation;
  std::function<void(TControlValues&)> Window;
  std::string File;
  std::string NewName;    // what the step proposes, or the status
  std::string ShortName;  // the 8.3 name the listing gives, if any
};

std::string Proposed(const TRenameSettings& settings, const TRequest& request) {
  TRenameStep step(settings, TPassMode::Simulate);
  TFindData entry;
  entry.dwFileAttributes = FileAttr::Archive;
  entry.cFileName = request.File;
  entry.cAlternateFileName = request.ShortName;
  step.Judge(entry);
  if (step.Status() == TRenameStatus::rsCanBeRenamed) return step.NewName();
  return std::string(StatusText(step.Status()));
}

TControlValues WindowControls(const TRequest& request) {
  TControlValues c = test::Operation(request.Operation);
  request.Window(c);
  return c;
}

const std::vector<TRequest>& Requests() {
  using enum TOperation;
  static const std::vector<TRequest> requests{
      {{"replace", "o", "0"},
       SearchReplace,
       [](TControlValues& c) {
         c.EdSearchFor = "o";
         c.EdReplaceWith = "0";
       },
       "photo.jpg",
       "ph0to.jpg",
       ""},
      {{"replace", "o", "0", "--recursive"},
       SearchReplace,
       [](TControlValues& c) {
         c.EdSearchFor = "o";
         c.EdReplaceWith = "0";
         c.ChkBxSearchRecursive = true;
       },
       "photo.jpg",
       "ph0t0.jpg",
       ""},
      {{"replace", "P", "x", "--case-sensitive"},
       SearchReplace,
       [](TControlValues& c) {
         c.EdSearchFor = "P";
         c.EdReplaceWith = "x";
         c.ChkBxCaseSensitive = true;
       },
       "photo P.jpg",
       "photo x.jpg",
       ""},
      {{"replace", "p", "x", "--extension", "--recursive"},
       SearchReplace,
       [](TControlValues& c) {
         c.EdSearchFor = "p";
         c.EdReplaceWith = "x";
         c.ChkBxSearchInExt = true;
         c.ChkBxSearchRecursive = true;
       },
       "photo.jpg",
       "xhoto.jxg",
       ""},
      {{"replace", "(o)(t)", "$2$1", "--regex"},
       SearchReplace,
       [](TControlValues& c) {
         c.EdSearchFor = "(o)(t)";
         c.EdReplaceWith = "$2$1";
         c.ChkBxRegex = true;
       },
       "photo.jpg",
       "phtoo.jpg",
       ""},
      {{"insert", "_x", "--at", "begin"},
       Insert,
       [](TControlValues& c) {
         c.EdInsert = "_x";
         c.ComboInsertTo = ControlIndex(TPlacement::AtBeginning);
       },
       "photo.jpg",
       "_xphoto.jpg",
       ""},
      {{"insert", "_x", "--at", "offset", "--pos", "2"},
       Insert,
       [](TControlValues& c) {
         c.EdInsert = "_x";
         c.ComboInsertTo = ControlIndex(TPlacement::FromBeginning);
         c.UpDownInsertPos = 2;
       },
       "photo.jpg",
       "p_xhoto.jpg",
       ""},
      {{"insert", "{name}-", "--fields"},
       Insert,
       [](TControlValues& c) {
         c.EdInsert = "{name}-";
         c.ChkBxUseFields = true;
       },
       "photo.jpg",
       "photophoto-.jpg",
       ""},
      {{"remove", "o", "--recursive", "--case-sensitive"},
       Remove,
       [](TControlValues& c) {
         c.EdDelete = "o";
         c.ChkBxDelRecursive = true;
         c.ChkBxCaseSensDel = true;
       },
       "phOtoo.jpg",
       "phOt.jpg",
       ""},
      {{"remove", "--count", "2", "--from", "offset-end", "--pos", "2"},
       Remove,
       [](TControlValues& c) {
         c.ComboItemToDelete = ControlIndex(TRemoveKind::Characters);
         c.UpDownNbrDelete = 2;
         c.ComboDeleteFrom = ControlIndex(TRemoveFrom::OffsetFromEnd);
         c.UpDownDeletePos = 2;
       },
       "photo.jpg",
       "pho.jpg",
       ""},
      {{"number", "--start", "007", "--increment", "3", "--backwards"},
       Number,
       [](TControlValues& c) {
         c.EdStartNumber = "007";
         c.UpDownStartNumber = 7;
         c.UpDownIncrement = 3;
         c.ChkBxDecrement = true;
       },
       "photo.jpg",
       "007.jpg",
       ""},
      {{"number", "--base", "trip ", "--at", "offset-end", "--pos", "2", "--fields"},
       Number,
       [](TControlValues& c) {
         c.ComboBaseFileName = "trip ";
         c.ChkBxUseBaseFilename = true;
         c.ComboNumberInsertTo = ControlIndex(TPlacement::FromEnd);
         c.UpDownNumberPos = 2;
         c.ChkBxUseFields = true;
       },
       "photo.jpg",
       "tri0p .jpg",
       ""},
      {{"case", "first-lower", "--no-extension"},
       ChangeCase,
       [](TControlValues& c) {
         c.ComboChangeCase = ControlIndex(TCaseKind::FirstUpperRestLower);
         c.ChkBxChangecaseWithExt = false;
       },
       "pHOTO.JPG",
       "Photo.JPG",
       ""},
      {{"case", "lower", "--extension-only"},
       ChangeCase,
       [](TControlValues& c) {
         c.ComboChangeCase = ControlIndex(TCaseKind::Lower);
         c.ChkBxChangecaseExtOnly = true;
       },
       "PHOTO.JPG",
       "PHOTO.jpg",
       ""},
      {{"truncate", "--max", "3"},
       Truncate,
       [](TControlValues& c) {
         c.ComboTruncateTo = ControlIndex(TTruncateKind::MaxChars);
         c.UpDownNbrTruncate = 3;
       },
       "photo.jpg",
       "pho.jpg",
       ""},
      {{"truncate", "--short"},
       Truncate,
       [](TControlValues& c) { c.ComboTruncateTo = ControlIndex(TTruncateKind::ShortName); },
       "long photo name.jpeg",
       "LONGPH~1.JPE",
       "LONGPH~1.JPE"},
  };
  return requests;
}

TEST(OperationTable, TheCommandLineFillsTheSettingsTheWindowCaptures) {
  for (const TRequest& request : Requests()) {
    std::vector<std::string> args{"."};
    args.insert(args.end(), request.Typed.begin(), request.Typed.end());
    const TParseResult parsed = ParseCommandLine(args);
    ASSERT_TRUE(parsed) << parsed.Error();
    const TRenameSettings window = CaptureSettings(WindowControls(request));
    EXPECT_EQ(parsed->Settings, window) << args[1] << " " << args[2];
    EXPECT_EQ(Proposed(parsed->Settings, request), request.NewName) << args[1] << " " << args[2];
    EXPECT_EQ(Proposed(window, request), request.NewName) << args[1] << " " << args[2];
    // What the command line reports as the window's controls captures to the same settings.
    EXPECT_EQ(CaptureSettings(parsed->Controls), parsed->Settings) << args[1] << " " << args[2];
  }
}

// A setting added to the table that the command line cannot reach fails here,
// unless it is the window's alone.
TEST(OperationTable, EverySettingIsReachedFromTheCommandLine) {
  const std::set<std::string_view> windowOnly{"ChkBxUseLeadingZero"};
  for (const TSettingRow& row : SettingRows()) {
    if (windowOnly.contains(row.Control)) continue;
    const TSettingValue unset = row.Get(DefaultSettings(row.Operation));
    bool reached = false;
    for (const TRequest& request : Requests())
      reached =
          reached || (request.Operation == row.Operation && row.Get(CaptureSettings(WindowControls(request))) != unset);
    EXPECT_TRUE(reached) << row.Control;
  }
}

// --help's line of each operation names each of its options.
TEST(OperationTable, TheHelpShowsEveryOptionOfItsOperation) {
  const std::string_view usage = UsageText();
  const std::size_t operations = usage.find("\nOperations:\n");
  ASSERT_NE(operations, std::string_view::npos);
  const std::size_t end = usage.find("\n\n", operations + 1);
  for (const TOperationRow& row : OperationRows()) {
    const std::size_t first = usage.find("\n  " + std::string(row.Word) + " ", operations);
    ASSERT_LT(first, end) << row.Word;
    // Up to the line of the next operation; its own lines are indented further or begin with its word.
    const std::string own = "\n  " + std::string(row.Word) + " ";
    std::size_t next = first;
    do next = usage.find("\n  ", next + 1);
    while (next < end && (usage[next + 3] == ' ' || usage.substr(next, own.size()) == own));
    const std::string_view lines = usage.substr(first, std::min(next, end) - first);
    for (const std::string_view name : OperationOptionNames(row.Operation))
      EXPECT_NE(lines.find("--" + std::string(name)), std::string_view::npos) << row.Word << " --" << name;
  }
}

TEST(OperationTable, TheListItemsNameEachOperationOnce) {
  std::set<TOperation> seen;
  for (int row = 0; OperationAtRow(row); ++row) {
    const TOperation operation = *OperationAtRow(row);
    EXPECT_TRUE(seen.insert(operation).second);
    const TOperationRow* byWord = FindOperation(OperationRows()[static_cast<std::size_t>(row)].Word);
    ASSERT_NE(byWord, nullptr);
    EXPECT_EQ(byWord->Operation, operation);
  }
  EXPECT_EQ(seen.size(), 6U);
  EXPECT_FALSE(OperationAtRow(-1));
}

}  // namespace
}  // namespace vt
