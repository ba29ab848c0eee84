#pragma once

#include "subtitles/cue_list.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace marvoxa {

inline constexpr char kPgsStreamFileName[] = "Generated_pgs.sup";

// The video sizes a Blu-ray presentation graphics stream may be made for, as "1920x1080".
const QStringList& PgsSizeNames();
inline constexpr QSize kDefaultPgsSize(1920, 1080);
std::optional<QSize> PgsSizeFromName(const QString& name);
QString PgsSizeName(QSize size);

// The frame rates of the stream's video descriptor, by the names "23.976", "24", "25",
// "29.97", "50" and "59.94" (23.976 and 29.97 being 24000/1001 and 30000/1001).
const QStringList& PgsRateNames();
std::optional<quint8> PgsRateCodeFromName(const QString& name);
inline constexpr quint8 kPgsRate23976 = 0x10;

// The code for the frame rate a SUB/TXT file names (30 frames, which a Blu-ray video does
// not have, as 29.97); 23.976 for files without one.
quint8 PgsRateCodeOf(const CueList& cueList);

}  // namespace marvoxa
