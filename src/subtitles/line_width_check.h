#pragma once

#include "render/render_settings.h"
#include "render/styled_line.h"
#include "subtitles/cue_list.h"

#include <QFont>
#include <QLatin1String>
#include <QString>

#include <optional>

namespace marvoxa {

// A line passes when it is at most 679 pixels wide.
inline constexpr int kMaxLineWidth = 680;

inline constexpr QLatin1String kSubtitleLoadedMessage(
    "Subtitle Style Modified/Loaded Successfully");

// The text of a cue line as it is drawn and measured: decoded with the file's encoding and the
// settings' charset. Drawing, measuring and the width check all go through here.
QString CueLineText(const QByteArray& bytes, TextEncoding encoding, const RenderSettings& settings);

// True when neither line reaches kMaxLineWidth in the font.
bool CueLinesFit(const QFont& font, const QString& firstLine, const QString& secondLine);
// True when no line reaches kMaxLineWidth in the font, each measured as it is drawn.
bool CueLinesFit(const QFont& font, const QList<StyledLine>& lines);

struct TooWideCue {
    int index = 0;
    QString firstLine;
    QString secondLine;
    // Every drawn line; the messages name them all.
    QStringList lines;
};

// The first cue, in file order, with a line too wide for the frame in the settings' font.
std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings);
// The same among the cues from index first up to, not including, end.
std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings, size_t first,
                                              size_t end);

// "The string ", both lines and the advice, separated by single carriage returns.
QString TooLongOnLoadMessage(const QString& firstLine, const QString& secondLine);
QString TooLongAfterStyleChangeMessage(const QString& firstLine, const QString& secondLine);
QString TooLongInPreviewMessage(const QString& firstLine, const QString& secondLine);
// The same naming every line of a cue: with two lines, the texts above.
QString TooLongOnLoadMessage(const QStringList& lines);
QString TooLongAfterStyleChangeMessage(const QStringList& lines);
QString TooLongInPreviewMessage(const QStringList& lines);
// The texts of a cue's drawn lines, at least two, as the messages name them.
QStringList LineTexts(const QList<StyledLine>& lines);

}  // namespace marvoxa
