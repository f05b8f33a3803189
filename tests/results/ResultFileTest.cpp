// Saving to and loading from files on disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "StreamBuilder.h"
#include "passes/ResultTable.h"
#include "results/FailureKind.h"
#include "results/ResultFile.h"
#include "support/FileBytes.h"
#include "support/RowTexts.h"
#include "support/TableWithLayout.h"
#include "support/TempFolder.h"

namespace vt {
using test::FailureKind;
using test::TTableWithLayout;
namespace {

using test::Contents;
using test::Put;
using test::TTempFolder;

TTableWithLayout Rows(std::size_t count, std::size_t textLength = 20) {
  TTableWithLayout table;
  for (std::size_t i = 0; i < count; ++i)
    table.AppendRow(std::to_string(i) + std::string(textLength, 'f'), std::string(textLength, 'n'),
                    "/srv/" + std::to_string(i) + "/", "Ok");
  return table;
}

TEST(ResultFile, SavedFileHoldsExactlyTheStream) {
  TTempFolder folder;
  // Several thousand rows: the block is far larger than the write buffer.
  const TTableWithLayout table = Rows(3000);
  const std::string path = folder.File("big.vtr");
  ASSERT_TRUE(SaveResultFile(table, table, path));
  EXPECT_EQ(Contents(path), WriteResultStream(table, table));

  TTableWithLayout loaded;
  ASSERT_TRUE(LoadResultFile(path, loaded, loaded));
  ASSERT_EQ(loaded.RowCount(), 3000u);
  EXPECT_EQ(test::RowTexts(loaded.Row(2999)), test::RowTexts(table.Row(2999)));
  EXPECT_EQ(test::RowTexts(loaded.Row(1234)), test::RowTexts(table.Row(1234)));
}

TEST(ResultFile, SmallAndBufferSizedTablesAreWrittenWhole) {
  TTempFolder folder;
  for (std::size_t textLength : {0u, 1u, 100u, 200u, 255u}) {
    for (std::size_t rows : {1u, 3u, 16u, 17u}) {
      const TTableWithLayout table = Rows(rows, textLength);
      const std::string path = folder.File("t.vtr");
      ASSERT_TRUE(SaveResultFile(table, table, path));
      EXPECT_EQ(Contents(path), WriteResultStream(table, table)) << rows << " x " << textLength;
    }
  }
}

TEST(ResultFile, SavingOverAnExistingFileReplacesIt) {
  TTempFolder folder;
  const std::string path = folder.File("r.vtr");
  Put(path, std::string(100000, 'z'));
  const TTableWithLayout table = Rows(1);
  ASSERT_TRUE(SaveResultFile(table, table, path));
  EXPECT_EQ(Contents(path), WriteResultStream(table, table));
}

TEST(ResultFile, SavingLeavesTheTableAsItWas) {
  TTempFolder folder;
  struct Counter : IResultTableObserver, IResultLayoutObserver {
    int Calls = 0;
    void RowsAppended(std::size_t, std::size_t) override { ++Calls; }
    void RowsCleared() override { ++Calls; }
    void LayoutChanged() override { ++Calls; }
  } counter;
  TTableWithLayout table = Rows(2, 300);
  table.TResultTable::SetObserver(&counter);
  table.TResultLayout::SetObserver(&counter);
  ASSERT_TRUE(SaveResultFile(table, table, folder.File("s.vtr")));
  EXPECT_EQ(counter.Calls, 0);
  EXPECT_EQ(table.Row(0).NewName.size(), 300u);  // cut in the file only
}

TEST(ResultFile, AFileThatCannotBeCreated) {
  TTempFolder folder;
  const std::string path = folder.File("no-such-folder/r.vtr");
  const TResultFileStatus status = SaveResultFile(Rows(1), path);
  ASSERT_EQ(FailureKind(status), TResultFileError::CannotCreate);
  EXPECT_EQ(status.Error().Path, path);
  EXPECT_EQ(status.Error().SystemError, ENOENT);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ResultFile, ADeviceOrFolderIsNeverReplaced) {
  TTempFolder folder;
  // Replacing them by a file would destroy them; they are refused as a file that cannot be created.
  for (const std::string& path : {folder.Path().string(), std::string("/dev/full")}) {
    if (!std::filesystem::exists(path)) continue;
    const TResultFileStatus status = SaveResultFile(Rows(1), path);
    ASSERT_EQ(FailureKind(status), TResultFileError::CannotCreate) << path;
    EXPECT_EQ(status.Error().Path, path);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(ResultFile, AFileThatCannotBeOpenedLeavesTheTable) {
  TTempFolder folder;
  for (const std::string& path : {folder.File("missing.vtr"), folder.Path().string()}) {
    TTableWithLayout table = Rows(2);
    const TResultFileStatus status = LoadResultFile(path, table, table);
    ASSERT_EQ(FailureKind(status), TResultFileError::CannotOpen);
    EXPECT_EQ(status.Error().Path, path);
    EXPECT_EQ(table.RowCount(), 2u);
  }
}

// A reader that takes one row at a time fails as the whole load does, and
// before handing on a row of a file it cannot read.
TEST(ResultFile, AStreamedReadFailsAsTheWholeLoad) {
  TTempFolder folder;
  Put(folder.File("notes.txt"), "These are notes, not a result file.\n");
  const struct {
    std::string Path;
    TResultFileError Kind;
  } cases[] = {
      {folder.File("missing.vtr"), TResultFileError::CannotOpen},
      {folder.Path().string(), TResultFileError::CannotOpen},
      {folder.File("notes.txt"), TResultFileError::NotAResultFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    std::size_t rows = 0;
    const TResultFileStatus status = StreamResultFile(c.Path, [&](const TResultRow&) { return ++rows > 0; });
    ASSERT_EQ(FailureKind(status), c.Kind);
    EXPECT_EQ(status.Error().Path, c.Path);
    EXPECT_EQ(rows, 0u);
  }
}

TEST(ResultFile, ATextFileEmptiesTheTableAndIsNotAResultFile) {
  TTempFolder folder;
  const std::string path = folder.File("notes.txt");
  Put(path, "These are notes, not a result file.\n");
  TTableWithLayout table = Rows(2);
  const TResultFileStatus status = LoadResultFile(path, table, table);
  ASSERT_EQ(FailureKind(status), TResultFileError::NotAResultFile);
  EXPECT_EQ(status.Error().Path, path);
  EXPECT_EQ(table.RowCount(), 0u);
}

TEST(ResultFile, TruncatedFilesFailAtEveryLengthAroundTheBuffer) {
  TTempFolder folder;
  const std::string bytes = WriteResultStream(Rows(200));
  ASSERT_GT(bytes.size(), 2 * 4096u);
  const std::string path = folder.File("cut.vtr");
  for (std::size_t length : {0ul, 3ul, 4095ul, 4096ul, 4097ul, 8192ul, bytes.size() - 1}) {
    Put(path, bytes.substr(0, length));
    TTableWithLayout table;
    EXPECT_EQ(FailureKind(LoadResultFile(path, table, table)), TResultFileError::NotAResultFile) << length;
  }
}

TEST(ResultFile, LengthsBeyondTheFileSizeAreRefusedBeforeAllocating) {
  TTempFolder folder;
  const std::string path = folder.File("claims.vtr");
  // 2 GB of rows claimed by a file of a few dozen bytes.
  Put(path, test::TStreamBuilder().Header().Name("Items.Data").Byte(10).Le32(0x7FFFFFFF).Le32(0x7FFFFFFF).Bytes());
  TTableWithLayout table;
  EXPECT_EQ(FailureKind(LoadResultFile(path, table, table)), TResultFileError::NotAResultFile);
}

// A file of nothing but empty column items is refused once it has added 64.
TEST(ResultFile, AHundredThousandColumnItemsAreRefused) {
  TTempFolder folder;
  test::TStreamBuilder b;
  b.Header().Name("Columns").Byte(14);
  for (int i = 0; i < 100000; ++i) b.Byte(1).End();
  const std::string path = folder.File("columns.vtr");
  Put(path, b.End().End().End().Bytes());

  TTableWithLayout table;
  const TResultFileStatus status = LoadResultFile(path, table, table);
  ASSERT_EQ(FailureKind(status), TResultFileError::NotAResultFile);
  EXPECT_EQ(table.Columns().size(), 4u + 64u);
}

TEST(ResultFile, LongValuesAndTrailingBytesReadThroughTheBuffer) {
  TTempFolder folder;
  const std::string path = folder.File("long.vtr");
  const std::string name(10000, 'N');
  Put(path, test::TStreamBuilder()
                .Header()
                .Name("Font.Name")
                .LongString(name)
                .End()
                .End()
                .Raw(std::string(9000, 'T'))
                .Bytes());
  TTableWithLayout table;
  ASSERT_TRUE(LoadResultFile(path, table, table));
  EXPECT_EQ(table.Font().Name, name);
}

}  // namespace
}  // namespace vt
