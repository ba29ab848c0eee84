#pragma once

#include "pgs/pgs_palette.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>

namespace marvoxa {

// Segment types of a presentation graphics stream.
enum class PgsSegmentType : quint8 {
    Palette = 0x14,
    Object = 0x15,
    Composition = 0x16,
    Window = 0x17,
    End = 0x80,
};

// The largest segment payload a 16-bit size field holds.
inline constexpr int kMaxSegmentPayload = 0xffff;

// A segment as a .sup file holds it: "PG", PTS and DTS (90 kHz, 32 bits), type, size, payload.
QByteArray PgsSegment(PgsSegmentType type, quint32 pts, quint32 dts, const QByteArray& payload);
// The same at the end of bytes.
void AppendPgsSegment(QByteArray& bytes, PgsSegmentType type, quint32 pts, quint32 dts,
                      const QByteArray& payload);

// The object definition segments' payloads: the rows split so that each fits a segment, the
// first flagged first (0x80) with the data length, width and height, the last flagged last
// (0x40); a small object is one payload flagged both.
QList<QByteArray> ObjectPayloads(quint16 objectId, QSize size, const QByteArray& rows);

// The palette definition payload of entries 0 to usedEntries - 1.
QByteArray PalettePayload(const IndexedSubtitle& subtitle);

// A window definition payload: each window's id (its position) and rectangle.
QByteArray WindowPayload(const QList<QRect>& windows);

struct CompositionObject {
    quint16 objectId = 0;
    quint8 windowId = 0;
    QPoint position;
    bool forced = false;
};

enum class CompositionState : quint8 { Normal = 0x00, EpochStart = 0x80 };

// A presentation composition payload; palette 0, no cropping.
QByteArray CompositionPayload(QSize video, quint8 rateCode, quint16 number, CompositionState state,
                              const QList<CompositionObject>& objects);

}  // namespace marvoxa
