#pragma once

#include "common/result.h"
#include "dvd/sector_shift.h"

#include <QByteArray>
#include <QList>

#include <array>

namespace marvoxa {

// What a title set's IFO learns of one more subpicture stream.
struct NewSubpictureStream {
    int number = 0;  // sub-stream 0x20 + number, the set's stream count before
    // The six attribute bytes: run-length coding, language code, code extension.
    std::array<uchar, 6> attributes{};
    // PGC_SPST_CTL of the PGCs that show it; the set's other PGCs mark it unavailable.
    QList<int> showingPgcs;  // PGC numbers, from 1
    quint32 control = 0;
};

// The attribute bytes of a stream in the language given by a two-letter code.
std::array<uchar, 6> SubpictureAttributeBytes(const QString& language);

// PGC_SPST_CTL that shows sub-stream number on 4:3 screens and, for wide video, in every
// display mode the video permits.
quint32 SubpictureControl(int number, bool wideVideo, bool letterboxAllowed, bool panScanAllowed);

// Rewrites a title set's IFO (VTS_xx_0.IFO) for title video into which packs were inserted as
// shift says and that carries one more subpicture stream: the set's last sector, the stream
// count and attributes, the cell addresses, the VOBU address map, the time maps, every PGC's
// cell sectors and its subpicture control. Fails (ErrorKind::Format) when a table lies outside
// the file, naming it.
Status RewriteTitleSetIfo(QByteArray& ifo, const SectorShift& shift,
                          const NewSubpictureStream& stream);

// Rewrites VIDEO_TS.IFO for title set titleSet grown by insertedSectors with the new stream:
// the set's subpicture attributes in VTS_ATRT and the start sector of every later title set in
// TT_SRPT.
Status RewriteVideoManagerIfo(QByteArray& ifo, int titleSet, quint32 insertedSectors,
                              const NewSubpictureStream& stream);

}  // namespace marvoxa
