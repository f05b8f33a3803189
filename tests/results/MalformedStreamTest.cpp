// Every kind of malformed stream is one failure, 61187, and the table keeps what
// was applied before the fault (its earlier rows are gone in any case).
#include <gtest/gtest.h>

#include "MalformedStreams.h"
#include "engine/Messages.h"
#include "passes/ResultTable.h"
#include "results/FailureKind.h"
#include "results/ResultFile.h"
#include "support/TableWithLayout.h"

namespace vt {
using test::FailureKind;
using test::TTableWithLayout;
namespace {

using test::MalformedStreams;
using test::TMalformedStream;

TEST(MalformedStream, EachKindFailsWith61187AndKeepsWhatWasApplied) {
  for (const TMalformedStream& c : MalformedStreams()) {
    SCOPED_TRACE(c.Kind);
    TTableWithLayout table;
    table.AppendRow("old1", "", "", "Ok");
    table.AppendRow("old2", "", "", "Ok");
    const TResultFileStatus status = ReadResultStream(c.Bytes, table, table);
    ASSERT_EQ(FailureKind(status), TResultFileError::NotAResultFile);
    EXPECT_EQ(status.Error().Path, "");
    EXPECT_EQ(table.RowCount(), c.Rows);
    EXPECT_EQ(table.Width, c.ReachedMarker ? 700 : 612);
    if (c.Holds) {
      EXPECT_TRUE(c.Holds(table));
    }
  }
}

TEST(MalformedStream, TheFailureTextIsTheMessage) {
  EXPECT_EQ(Message(Msg::NotAResultFile), "File is not a valid Veltrane file result.");
}

// Every proper prefix of a valid stream ends early; none may read past its end.
TEST(MalformedStream, EveryTruncationOfAValidStreamFails) {
  TTableWithLayout source;
  source.AppendRow("a.txt", "b.txt", "/data/", "Ok");
  source.AppendRow("c.txt", "", "/data/", "No change");
  source.SetTextColor(TextColor::Gray);
  const std::string bytes = WriteResultStream(source, source);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    TTableWithLayout table;
    EXPECT_FALSE(ReadResultStream(std::string_view(bytes).substr(0, length), table, table)) << length;
  }
}

}  // namespace
}  // namespace vt
