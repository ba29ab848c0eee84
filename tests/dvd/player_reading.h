#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace marvoxa::test {

// One subpicture unit as a player's decoder receives it.
struct PlayedUnit {
    int subStreamId = 0;  // 0x20 to 0x3f
    qint64 pts = 0;       // 90 kHz
    QByteArray unit;      // whole, its size field first
};

// What a player reads of a title, walking it from its start with libdvdnav as players do.
struct PlayedTitle {
    qint64 startPtm = 0;  // the start presentation time of its first VOBU
    std::optional<std::array<quint32, 16>> palette;  // DVDNAV_SPU_CLUT_CHANGE: 0x00YYCrCb
    QList<PlayedUnit> units;                         // in the order they arrive
};

// Plays title of the DVD folder root until the title ends; a failure fails the current test.
PlayedTitle PlayTitle(const QString& root, int title);

// The entries a unit's first SET_COLOR names for its text and its outline.
struct UnitColours {
    int text = -1;
    int outline = -1;
};
UnitColours ColoursOf(const QByteArray& unit);

}  // namespace marvoxa::test
