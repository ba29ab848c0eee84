#pragma once

#include "common/video_standard.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace marvoxa {

// What the user runs after generation to get a DVD: spumux puts the subtitles into an MPEG-2
// video (VIDEO, a placeholder) in the folder where Generated_spumux.xml lies, then dvdauthor
// builds the VIDEO_TS folder in DVD/ with a subtitle stream in the given language.
QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QString& language);

// The same for several streams, one spumux script each, in stream order: spumux puts them into
// the video one after the other, and dvdauthor reads Generated_dvdauthor.xml.
QString DvdAuthoringCommands(const QString& folder, VideoStandard standard,
                             const QStringList& scriptNames);

// Generated_dvdauthor.xml: a dvdauthor project for the video that the spumux runs made,
// naming every stream's language in order and, in its head, the spumux runs themselves.
QByteArray DvdauthorProject(VideoStandard standard, const QStringList& scriptNames,
                            const QStringList& languages);

}  // namespace marvoxa
