#include "engine/Truncate.h"

#include "engine/StringPrimitives.h"

namespace vt {

void TruncateName(int maxChars, std::string& name) { Delete(name, maxChars + 1, Length(name) - maxChars); }

}  // namespace vt
