#pragma once

#include "common/result.h"
#include "common/role_colours.h"
#include "render/hd_subtitle_drawing.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>

namespace marvoxa {

// One display event made ready for the stream on a drawing thread; its time stamps are set
// when it is written, in stream order.
struct PgsEvent {
    QSize video;
    quint8 rateCode = 0;
    bool forced = false;
    QList<QRect> windows;  // one an object, where it is shown; none for an event without ink
    QByteArray palette;    // the palette definition payload
    QList<QList<QByteArray>> objects;  // each object's definition payloads
    QList<qint64> objectTicks;         // each object's decoding time
    // From the start of decoding to the showing of the event's display set, and of the set
    // that clears it.
    qint64 showTicks = 0;
    qint64 clearTicks = 0;
};

// Indexes the drawing, crops and encodes its objects and checks them against the decoder's
// limits; the error says what a player could not show.
Result<PgsEvent> MakePgsEvent(const HdSubtitle& subtitle, const RoleColours& colours, QSize video,
                              quint8 rateCode, bool forced);

// The event's display set shown at pts (90 kHz): an epoch start composing every object in its
// window, the windows, the palette, the objects and the end segment.
QByteArray ShowingDisplaySet(const PgsEvent& event, qint64 pts, quint16 number);

// The display set that empties the event's windows at pts.
QByteArray ClearingDisplaySet(const PgsEvent& event, qint64 pts, quint16 number);

}  // namespace marvoxa
