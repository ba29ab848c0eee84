#pragma once

#include "common/result.h"
#include "dvd/sector_shift.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <array>

namespace marvoxa {

// What a title set's IFO learns of one more subpicture stream.
struct NewSubpictureStream {
    int number = 0;  // its place in the stream table: the set's stream count before
    // The six attribute bytes: run-length coding, language code, code extension.
    std::array<uchar, 6> attributes{};
    // PGC_SPST_CTL of the PGCs that show it; the set's other PGCs mark it unavailable.
    QList<int> showingPgcs;  // PGC numbers, from 1
    quint32 control = 0;
};

// The attribute bytes of a stream in the language given by a two-letter code.
std::array<uchar, 6> SubpictureAttributeBytes(const QString& language);

// Colours given to palette entries of some PGCs.
struct PaletteWrites {
    QList<int> pgcs;             // PGC numbers, from 1
    QMap<int, quint32> entries;  // entry -> 0x00YYCrCb
};

// Rewrites a title set's IFO (VTS_xx_0.IFO) for title video into which packs were inserted as
// shift says and that carries more subpicture streams, numbered on from the set's count: the
// set's last sector, the stream count and attributes, the cell addresses, the VOBU address map,
// the time maps, every PGC's cell sectors and its subpicture control, and the palettes of
// palette's PGCs. Fails (ErrorKind::Format) when a table lies outside the file, naming it.
Status RewriteTitleSetIfo(QByteArray& ifo, const SectorShift& shift,
                          const QList<NewSubpictureStream>& streams, const PaletteWrites& palette);

// Rewrites VIDEO_TS.IFO for title set titleSet grown by insertedSectors with the new streams:
// the set's subpicture attributes in VTS_ATRT and the start sector of every later title set in
// TT_SRPT.
Status RewriteVideoManagerIfo(QByteArray& ifo, int titleSet, quint32 insertedSectors,
                              const QList<NewSubpictureStream>& streams);

}  // namespace marvoxa
