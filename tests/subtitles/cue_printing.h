#pragma once

#include "subtitles/cue_list.h"

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable failure output for the Qt types the subtitle tests compare.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace marvoxa {

inline void PrintTo(const Cue& cue, std::ostream* os) {
    *os << "{" << cue.startMs << ", " << cue.durationMs << ", \"" << cue.firstLine.toStdString()
        << "\", \"" << cue.secondLine.toStdString() << "\", \"" << cue.displayEntry.toStdString()
        << "\"}";
}

}  // namespace marvoxa
