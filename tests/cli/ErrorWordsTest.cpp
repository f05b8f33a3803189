// The command line's words for failures and notices the layers below give as values.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "cli/ErrorWords.h"
#include "support/ErrorPrint.h"
#include "support/TempFolder.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

// The system's code is the reason wherever there is one, whatever failed; a
// failure without one is told by what failed, never as "Success".
TEST(CliErrorWords, AReasonIsTheSystemsTextOrElseWhatFailed) {
  const struct {
    TError Error;
    std::string Reason;
  } cases[] = {
      {{ENOENT, TErrorKind::Read, "/r/a.vtj"}, "No such file or directory"},
      {{EINVAL, TErrorKind::NotJournal, "/r/a.vtj"}, "Invalid argument"},
      {{EEXIST, TErrorKind::Create, "/r/a.vtj"}, "File exists"},
      {{EFBIG, TErrorKind::Write, "/r/a.vtj"}, "File too large"},
      {{ENOTDIR, TErrorKind::MakeFolder, "/r/"}, "Not a directory"},
      {{EBUSY, TErrorKind::InUse, "/r/a.vtj"}, "Device or resource busy"},
      {{0, TErrorKind::Read, ""}, "cannot be read"},
      {{0, TErrorKind::NotJournal, ""}, "not a journal"},
      {{0, TErrorKind::Create, ""}, "cannot be created"},
      {{0, TErrorKind::Write, ""}, "cannot be written"},
      {{0, TErrorKind::MakeFolder, ""}, "cannot be made"},
      {{0, TErrorKind::InUse, ""}, "in use by a pass still running"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Error);
    EXPECT_EQ(ErrorReason(c.Error), c.Reason);
  }
}

TEST(CliErrorWords, AnOpenRecordsFolderIsNamedWithoutItsFinalSlashes) {
  const struct {
    std::string Folder;
    std::string Named;
  } cases[] = {
      {"/home/u/.local/state/veltrane/", "/home/u/.local/state/veltrane"},
      {"/home/u/records//", "/home/u/records"},
      {"/srv/records", "/srv/records"},
      {"/", "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    EXPECT_EQ(OpenFolderWarning(c.Folder), c.Named +
                                               " can be read by other users; its records name your files "
                                               "(chmod 700 " +
                                               c.Named + ")");
  }
}

// The texts the window's boxes and the command line have always given.
TEST(CliErrorWords, AResultFilesFailureReadsAsBefore) {
  const struct {
    TResultFileFailure Failure;
    std::string Text;
  } cases[] = {
      {{TResultFileError::CannotOpen, "/d/r.vtr"}, "Cannot open file /d/r.vtr"},
      {{TResultFileError::CannotOpen, "/d/big.vtr", 0, 256ull << 20},
       "Cannot open file /d/big.vtr: it is larger than 256 MB, the most a table loads"},
      {{TResultFileError::CannotCreate, "/d/r.vtr", EACCES}, "Cannot create file /d/r.vtr"},
      {{TResultFileError::WriteError, "/d/r.vtr", ENOSPC}, "Stream write error"},
      {{TResultFileError::NotAResultFile, "/d/notes.txt"}, "File is not a valid Veltrane file result."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(ResultFileMessage(c.Failure), c.Text);
  }
}

// The folder's access travels as a value; the warning is the command line's,
// and the pass runs all the same.
TEST(CliErrorWords, ARecordsFolderOthersCanReadIsWarnedOfAndThePassRuns) {
  const struct {
    fs::perms Mode;
    bool Warned;
  } cases[] = {
      {fs::perms::owner_all, false},
      {fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec, true},
      {fs::perms::owner_all | fs::perms::others_exec, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    test::TTempFolder dir;
    test::TTempFolder state;
    dir.WriteFile("a.txt");
    const fs::path records = state.Path() / "veltrane";
    fs::create_directories(records);
    fs::permissions(records, c.Mode);
    const test::TRun pass =
        test::RunProgram({"-x", dir.Folder(), "insert", "b"}, dir.Path(), {"XDG_STATE_HOME=" + state.Path().string()});
    EXPECT_EQ(pass.Exit, 0) << pass.Err;
    EXPECT_EQ(dir.Names(), std::set<std::string>{"ab.txt"});
    const std::string warning = "veltrane-cli: warning: " + OpenFolderWarning(records.string());
    EXPECT_EQ(pass.Err.find(warning) != std::string::npos, c.Warned) << pass.Err;
  }
}

}  // namespace
}  // namespace vt
