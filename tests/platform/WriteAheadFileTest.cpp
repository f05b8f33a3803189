#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/AppendFile.h"
#include "platform/FsTempFolder.h"
#include "platform/WriteAheadFile.h"

namespace vt::test {
namespace {

std::string Chunk(int i) { return "<" + std::to_string(i) + ">"; }

// Whatever the durability, a ticket awaited means its bytes and all before
// them are in the file, in the order queued; what is still queued when the
// writer goes is written too.
TEST(WriteAheadFile, AwaitedBytesAreInTheFileInTheirOrder) {
  for (const TDurability durability : {TDurability::Kernel, TDurability::Disk}) {
    SCOPED_TRACE(durability == TDurability::Disk ? "disk" : "kernel");
    TFsTempFolder dir;
    const std::string path = dir / "j";
    TAppendFile file;
    ASSERT_EQ(file.Create(path, durability), 0);
    std::string expected;
    {
      TWriteAheadFile ahead(file);
      std::vector<TWriteAheadFile::TTicket> tickets;
      for (int i = 0; i < 200; ++i) {
        tickets.push_back(ahead.Queue(Chunk(i)));
        expected += Chunk(i);
        if (i % 50 != 49) continue;
        ASSERT_EQ(ahead.Await(tickets.back()), 0);
        EXPECT_TRUE(ahead.Written(tickets.back()));
        std::string bytes;
        ASSERT_EQ(ReadWholeFile(path, bytes), 0);
        // Later chunks may be there already; these must.
        EXPECT_EQ(bytes.substr(0, expected.size()), expected);
      }
      for (std::size_t i = 1; i < tickets.size(); ++i) EXPECT_GT(tickets[i], tickets[i - 1]);
      ahead.Queue("tail");
      expected += "tail";
    }
    // Closed: without the room grown ahead of the appends.
    file.Close();
    std::string bytes;
    ASSERT_EQ(ReadWholeFile(path, bytes), 0);
    EXPECT_EQ(bytes, expected);
  }
}

// After an append fails nothing is written, and no later ticket passes for written.
TEST(WriteAheadFile, AFailedAppendFailsEveryTicketAfterIt) {
  TAppendFile unopened;
  TWriteAheadFile ahead(unopened);
  const TWriteAheadFile::TTicket first = ahead.Queue("a");
  EXPECT_EQ(ahead.Await(first), EBADF);
  const TWriteAheadFile::TTicket second = ahead.Queue("b");
  EXPECT_EQ(ahead.Await(second), EBADF);
  EXPECT_FALSE(ahead.Written(first));
  EXPECT_FALSE(ahead.Written(second));
}

}  // namespace
}  // namespace vt::test
