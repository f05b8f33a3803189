#pragma once
// Opens what the command line names or what is dropped on the window: a folder
// in the folder list, or files as the folder list at their folder and their
// names as the masks of EdSearch.
#include <QString>
#include <string>
#include <vector>

#include "engine/StartArguments.h"

namespace vt {

class TForm1;

// The information box's text when the names cannot be the masks; empty otherwise.
QString OpenPlanNotice(const TOpenPlan& plan, std::size_t files);

// Applies the plan to the window; shows the box of OpenPlanNotice when there is one.
void OpenPaths(TForm1& form, const std::vector<std::string>& paths);

}  // namespace vt
