#include <gtest/gtest.h>

#include <cerrno>

#include "cli/RowTally.h"

namespace vt {
namespace {

// Statuses in a fixed order; the reasons of errors, the most frequent first.
TEST(RowTally, SummaryGivesStatusesInAFixedOrderAndTheReasonsOfErrors) {
  TRowTally tally;
  EXPECT_EQ(tally.Summary(TRowOrigin::Rename), "0 rows");
  tally.Add(TRenameStatus::rsNoChange, 0);
  EXPECT_EQ(tally.Summary(TRowOrigin::Rename), "1 row: 1 No change");
  tally.Add(TRenameStatus::rsError, EEXIST);
  tally.Add(TRenameStatus::rsOk, 0);
  tally.Add(TRenameStatus::rsError, EACCES);
  tally.Add(TRenameStatus::rsError, EEXIST);
  tally.Add(TRenameStatus::rsError, 0);
  EXPECT_EQ(tally.Summary(TRowOrigin::Rename),
            "6 rows: 1 Ok, 4 Error (2 a file of that name exists, 1 the new name is no valid file name, "
            "1 permission denied), 1 No change");
  EXPECT_EQ(tally.Count(TRenameStatus::rsError), 4u);
}

TEST(RowTally, RecoverNamesItsOwnRefusals) {
  TRowTally tally;
  tally.Add(TRenameStatus::rsError, 0);
  tally.Add(TRenameStatus::rsFileNotFound, 0);
  EXPECT_EQ(tally.Summary(TRowOrigin::Recover),
            "2 rows: 1 Error (1 the row names nothing a pass could have renamed), 1 File not found");
}

TEST(RowTally, UnlistedErrorsUseTheSystemsText) {
  EXPECT_EQ(FailureReason(EXDEV, TRowOrigin::Rename), "invalid cross-device link");
}

}  // namespace
}  // namespace vt
