#pragma once

#include "common/result.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace marvoxa {

// A finished cue as generation hands it to its outputs, in cue order.
struct EncodedCue {
    int index = 0;  // position in the cue list, from 0
    qint64 startMs = 0;
    qint64 durationMs = 0;
    int areaTop = 0;  // first row of the subtitle area (even)
    int areaHeight = 0;
    QByteArray supPacket;  // exactly the packet in Generated.sup: the 10-byte "SP" header, then the
                           // subpicture unit
};

class CueOutput {  // nothing a user sees changes before commit(); failure/discard keeps older files
public:
    virtual ~CueOutput() = default;
    virtual Status begin() = 0;
    virtual Status add(const EncodedCue& cue) = 0;
    virtual Status
    finish() = 0;  // write what follows the last cue, flush, fsync; files still temporary
    virtual Status commit() = 0;  // rename into place
    virtual void discard() = 0;
    virtual QStringList paths() const = 0;  // the files it writes, for the report
};

}  // namespace marvoxa
