#pragma once
#include <string>

namespace vt {

// Keeps the first maxChars characters of the name part.
void TruncateName(int maxChars, std::string& name);

}  // namespace vt
