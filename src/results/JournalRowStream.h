#pragma once
// The rows of a journal file, streamed: read block by block, each row handed on
// in pass order as soon as no later block of a journal can change it, so that
// memory does not grow with the number of rows. The rows are those that
// JournalToTable gives after SettleFromDisk, and in the same order.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Expected.h"
#include "engine/RenameStatus.h"
#include "platform/FileIdentity.h"
#include "results/JournalReader.h"
#include "results/RowBlock.h"

namespace vt {

class TJournalRowStream final : public IRowSource {
 public:
  explicit TJournalRowStream(std::string path);
  // The journal name in folder, read only while it is the user's own regular
  // file, through the handle it was opened with (never a link).
  TJournalRowStream(std::string folder, std::string name);
  ~TJournalRowStream() override;
  const std::string& Path() const { return Path_; }

  // Reads the journal through once without looking at the disk: journal gets
  // its header and what it says of the pass as a whole (End, Recovered, Undone,
  // LeftRows) but no rows, and ReadCount the rows it holds, settled or not.
  // Fails as Open does.
  TExpected<void> Scan(TJournal& journal);
  std::uint64_t ReadCount() const { return Read_; }

  // Reads the journal through once: checks it, settles from the disk the rows
  // whose outcome is missing (decided once, for every later read) and counts
  // the rows, handing each to look. Fails as Read or NotJournal.
  TExpected<void> Open(const TRowCallback& look = {});
  std::uint64_t RowCount() const { return Rows_; }
  std::uint64_t RenamedCount() const { return Renamed_; }

  // Reads the journal again and hands out the rows Open counted. False when it
  // cannot be read or no longer gives them.
  bool ForEach(const TRowCallback& row) override;
  // The same, with the file the journal recorded for each row, where it did.
  using TIdentifiedRowCallback = std::function<void(const TResultRow&, const std::optional<TFileIdentity>&)>;
  bool ForEachIdentified(const TIdentifiedRowCallback& row);

 private:
  class TRowWindow;
  // What Open decided for a row whose outcome is missing: its status and New
  // Name, or none for a rename that never happened.
  struct TSettledRow {
    TRenameStatus Status = TRenameStatus::rsOk;
    std::string NewName;
  };
  using TSettlements = std::map<std::uint64_t, std::optional<TSettledRow>>;

  // Scan: no look at the disk; Decide: settle and remember; Replay: as remembered.
  enum class TWalk : std::uint8_t { Scan, Decide, Replay };
  int Walk(TWalk walk, const TIdentifiedRowCallback& row, bool& inOrder, TJournal* marks = nullptr);
  // Gives a text the rows hold a place that lasts while they are held.
  using TOwnText = std::function<std::string_view(const std::string&)>;
  std::vector<bool> SettleRest(TWalk walk, std::uint64_t startedUtcNs, const std::vector<TJournalEntry*>& rest,
                               const TOwnText& own);
  TExpected<TJournal> LoadWhole() const;
  void Hand(const TJournalEntry& read, const TIdentifiedRowCallback& row);

  std::string Path_;
  std::string OwnFolder_;  // with OwnName_, for a journal read only as the user's own file
  std::string OwnName_;
  TSettlements Settled_;
  // The journal held whole, for one whose blocks come out of the order a
  // stream relies on (never one this program writes).
  std::unique_ptr<TJournal> Whole_;
  std::shared_ptr<const std::string> Folder_;
  std::uint64_t Rows_ = 0;
  std::uint64_t Renamed_ = 0;
  std::uint64_t Read_ = 0;
};

}  // namespace vt
