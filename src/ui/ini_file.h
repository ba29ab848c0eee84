#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <utility>

namespace marvoxa {

using IniEntries = QList<std::pair<QString, QString>>;

// One section as "[section]" and key=value lines in the order given, UTF-8, LF line ends.
// QSettings sorts keys when it writes, hence this writer. Values are written as they are unless
// QSettings would read them otherwise (a backslash, a quote, a comma or semicolon in a text,
// spaces at either end, a leading @): those are quoted and escaped the way QSettings writes
// them. Lists of integers such as "10,20,30,40" stay bare.
QByteArray IniSectionText(const QString& section, const IniEntries& entries);

// The values of one section of an INI file, read by QSettings, so files written by this writer
// and by QSettings read alike. A value QSettings reads as a list (bare commas) comes back with
// its items joined by commas. No file or no section gives no values.
QHash<QString, QString> ReadIniSection(const QString& path, const QString& section);

}  // namespace marvoxa
