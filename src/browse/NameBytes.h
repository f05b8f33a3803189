#pragma once
// Names and texts travel below the window as the bytes the file system uses;
// the widgets show and edit them as text. The one conversion between the two.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace vt {

inline std::string NameBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }
inline QString NameText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace vt
