// The window's words for failures and notices the layers below give as values.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "support/ErrorPrint.h"
#include "ui/ErrorWords.h"

namespace vt {
namespace {

// Reads and writes read as the window's I/O error texts; a folder or file
// that could not be made in the system's words, as the window has said them;
// a failure without a code by what failed.
TEST(UiErrorWords, AReasonReadsAsTheWindowSaysItForWhatFailed) {
  const struct {
    TError Error;
    const char* Reason;
  } cases[] = {
      {{ENOENT, TErrorKind::Read, "/r/a.vtj"}, "File not found"},
      {{EACCES, TErrorKind::Read, "/r/a.vtj"}, "File access denied"},
      {{EINVAL, TErrorKind::NotJournal, "/r/a.vtj"}, "I/O error 22"},
      {{EFBIG, TErrorKind::Write, "/r/a.vtj"}, "I/O error 27"},
      {{EBUSY, TErrorKind::InUse, "/r/a.vtj"}, "I/O error 16"},
      {{ENOTDIR, TErrorKind::MakeFolder, "/r/"}, "Not a directory"},
      {{EEXIST, TErrorKind::Create, "/r/a.vtj"}, "File exists"},
      {{EACCES, TErrorKind::Create, "/r/a.vtj"}, "Permission denied"},
      {{0, TErrorKind::Read, ""}, "cannot be read"},
      {{0, TErrorKind::NotJournal, ""}, "not a journal"},
      {{0, TErrorKind::Write, ""}, "Stream write error"},
      {{0, TErrorKind::InUse, ""}, "in use by a pass still running"},
      {{0, TErrorKind::MakeFolder, ""}, "cannot be made"},
      {{0, TErrorKind::Create, ""}, "cannot be created"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Error);
    EXPECT_EQ(ErrorReason(c.Error).toStdString(), c.Reason);
  }
}

TEST(UiErrorWords, AnOpenRecordsFolderIsNamedWithoutItsFinalSlashes) {
  const struct {
    std::string Folder;
    std::string Named;
  } cases[] = {
      {"/home/u/.local/state/veltrane/", "/home/u/.local/state/veltrane"},
      {"/srv/records", "/srv/records"},
      {"/", "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    EXPECT_EQ(OpenFolderWarning(c.Folder).toStdString(),
              c.Named + " can be read by other users; its records name your files (chmod 700 " + c.Named + ")");
  }
}

// The texts the window's boxes have always given.
TEST(UiErrorWords, AResultFilesFailureReadsAsBefore) {
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

}  // namespace
}  // namespace vt
