#pragma once
// Whether a rename within a folder would find its new name taken.
#include <string>

namespace vt {

// True when folder holds an entry newName other than oldName itself (a
// case-only rename on a volume that folds case finds the file under its new name).
bool NameTakenByAnother(const std::string& folder, const std::string& oldName, const std::string& newName);

}  // namespace vt
