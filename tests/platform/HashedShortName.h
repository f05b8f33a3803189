#pragma once
#include <cctype>
#include <string>

namespace vt::test {

// "LO" + four hex digits + "~" + one digit + ".TXT", as a hashed short name reads.
inline bool IsHashedShortName(const std::string& name, const std::string& prefix, const std::string& ext) {
  if (name.size() != prefix.size() + 6 + 1 + ext.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + 4; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(name[i])) || std::islower(static_cast<unsigned char>(name[i])))
      return false;
  const std::size_t tilde = prefix.size() + 4;
  return name[tilde] == '~' && name[tilde + 1] >= '1' && name[tilde + 1] <= '9' &&
         name.compare(tilde + 2, std::string::npos, "." + ext) == 0;
}

}  // namespace vt::test
