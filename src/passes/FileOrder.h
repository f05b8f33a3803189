#pragma once
// The order a pass treats, and numbers, the files of each folder in, and the
// file list shows them in: by name, by name with numbers compared as numbers,
// by date modified, by date taken or by size. Files with equal keys keep their
// order by name; files without a date taken come after those with one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "passes/FileFields.h"
#include "platform/ListingStop.h"
#include "platform/NameOrder.h"

namespace vt {

enum class TFileOrder : std::uint8_t { Name, Natural, Modified, Taken, Size };

// How the listing sorts the names before any key does.
NameOrder ListingOrder(TFileOrder order);
// What a file must be read for to be put in order (FieldSource bits); none for the name orders.
std::uint8_t OrderSources(TFileOrder order);
// A file's place under order; nothing for a file without one.
std::optional<std::int64_t> OrderKey(TFileOrder order, const TFileFacts& facts);

enum class TOrderDirection : std::uint8_t { Ascending, Descending };

// Positions into keys of files listed in name order, in the order their keys
// give: equal keys keep their order, files without a key come last in name
// order whatever the direction.
std::vector<std::uint32_t> ArrangeByKeys(const std::vector<std::optional<std::int64_t>>& keys,
                                         TOrderDirection direction);

// The names of plain files of folder put in the order a pass would treat them
// in, as a list of the folder shows them; left as they are when stop ends it
// early or the folder cannot be opened.
void ArrangeNames(const std::string& folder, TFileOrder order, TOrderDirection direction,
                  std::vector<std::string>& names, const TListingStop& stop);

}  // namespace vt
