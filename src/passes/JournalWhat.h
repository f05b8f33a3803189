#pragma once
// What a rename pass did, in a few words, for the header of its journal: the
// history of passes shows it ("replace "IMG_" with "Rome "; *.jpg"). Journals
// of earlier versions hold the masks alone there.
#include <string>
#include <string_view>

#include "engine/RenameSettings.h"

namespace vt {

std::string JournalWhat(const TRenameSettings& settings, std::string_view masks);

}  // namespace vt
