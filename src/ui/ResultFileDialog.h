#pragma once
// Shows a result-file dialog the way Save and Load do.
#include <optional>
#include <string>

class QFileDialog;

namespace vt {

// Sets the default extension "vtr" again, opens in the process's current folder
// with the last name chosen in this dialog offered again, and waits. The chosen
// file as the file system spells it, or nothing when the user cancels.
std::optional<std::string> ChooseResultFile(QFileDialog& dialog);

}  // namespace vt
