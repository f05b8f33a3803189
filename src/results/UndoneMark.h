#pragma once
// The state of a pass as its journal tells it, and the mark a recover leaves
// on the journal of the pass it undid. The mark is a fixed-size block at the
// very end of the journal, written after any torn tail has been cut away: a
// reader stops at the first torn block, so a mark behind one would never be
// read. Its fixed size lets a reader find it, and the end mark of a pass,
// from the last bytes of the file without reading the rows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Expected.h"
#include "engine/RenameStatus.h"
#include "passes/PassJournal.h"
#include "results/JournalReader.h"

namespace vt {

enum class TPassState : std::uint8_t {
  CanBeUndone,   // ended, and no recover has run over it
  Undone,        // a recover brought every file back
  PartlyUndone,  // a recover ran to its end and left rows: the files were gone, or refused
  Unfinished,    // never ended: killed, crashed, or its journal could not be written
};

TPassState StateOf(const TJournal& journal);

// The same from the journal's header and its last block only; fails as Read
// or NotJournal.
TExpected<TPassState> ReadPassState(const std::string& path);

// The rows a recover left, as its Left block holds them: Folder, OldName (the
// name the file was to be under, which the recover did not find or could not
// move), Status and Error; texts view the journal's bytes.
std::vector<TJournalEntry> LeftRowsOf(const TJournal& journal);

// The blocks that mark a journal undone at utcNs: every row back when left is
// 0, else partly, with leftRows (the fields TPassJournalWriter::LeftRows gives).
std::string UndoneMark(std::uint64_t utcNs, std::uint64_t left, std::string_view leftRows);

// The intact block that ends bytes read from a journal's end, if one does:
// where it starts in them, and its payload.
struct TTailBlock {
  std::size_t Start = 0;
  std::string_view Payload;
};
std::optional<TTailBlock> LastJournalBlock(std::string_view tail);

// Cuts a torn tail off the journal at path and appends the mark. Fails as
// InUse while its writer lives, as Read or NotJournal, or as Write.
TExpected<void> MarkUndone(const std::string& path, std::uint64_t left, std::string_view leftRows);

// Removes the journal at path when it holds no row (0 bytes, or a header
// only): nothing was renamed under it. True when it was removed.
bool RemoveEmptyJournal(const std::string& path);

}  // namespace vt
