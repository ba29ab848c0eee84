#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace marvoxa::test {

// What lsdvd -x says of a DVD folder: its "track" list, each track an object with "ix",
// "length" (seconds), "vts", "ttn", "format", "aspect", "df", "angles", "palette", "chapter",
// "cell" (with "first_sector" and "last_sector") and "subp" (with "langcode" and "streamid").
// lsdvd's Python output is turned into JSON; a missing lsdvd or output it cannot read fails
// the current test and gives an empty list.
QJsonArray LsdvdTracks(const QString& discRoot);

}  // namespace marvoxa::test
