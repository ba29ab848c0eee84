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

// What HandBrakeCLI's scan, which reads through libdvdnav like players, says of a DVD folder:
// its "TitleList", each title with "Index", "Duration" ("Ticks" at 90 kHz), "ChapterList" and
// "SubtitleList". Titles of any length are listed. A missing HandBrakeCLI or output it cannot
// read fails the current test and gives an empty list.
QJsonArray HandBrakeTitles(const QString& discRoot);

}  // namespace marvoxa::test
