#pragma once

#include "render/render_settings.h"
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

struct TooWideCue {
    int index = 0;
    QString firstLine;
    QString secondLine;
};

// The first cue, in file order, with a line too wide for the frame in the settings' font.
std::optional<TooWideCue> FindFirstTooWideCue(const CueList& cueList,
                                              const RenderSettings& settings);

// "The string ", both lines and the advice, separated by single carriage returns.
QString TooLongOnLoadMessage(const QString& firstLine, const QString& secondLine);
QString TooLongAfterStyleChangeMessage(const QString& firstLine, const QString& secondLine);
QString TooLongInPreviewMessage(const QString& firstLine, const QString& secondLine);

}  // namespace marvoxa
