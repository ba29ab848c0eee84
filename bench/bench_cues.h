#pragma once

#include <QList>
#include <QString>

namespace marvoxa::bench {

inline constexpr int kCueCount = 1500;

struct CueText {
    QString first;
    QString second;
};

// kCueCount two-line cues of five words a line, each pair different.
QList<CueText> MakeCues();

// Writes count cues (the list repeated) as an SRT file; false when it cannot.
bool WriteSrt(const QString& path, const QList<CueText>& cues, int count);

}  // namespace marvoxa::bench
