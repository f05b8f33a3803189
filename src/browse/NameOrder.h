#pragma once
// Alphabetical order without regard to case, as the user's locale sorts.
#include <QStringList>
#include <string>
#include <vector>

namespace vt {

// Positions of names in sorted order; names equal but for case keep a fixed order.
std::vector<int> OrderWithoutCase(const QStringList& names);

QString ToQString(const std::string& bytes);
std::string ToBytes(const QString& text);

}  // namespace vt
