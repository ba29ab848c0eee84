#pragma once

#include "pgs/pgs_display_set.h"
#include "pgs/pgs_format.h"
#include "sup/cue_output.h"
#include "sup/file_writing.h"

#include <QSize>

#include <optional>

namespace marvoxa {

// Generated_pgs.sup: the cues as a Blu-ray presentation graphics stream, drawn with smoothing
// at a video size. Each display event is an epoch start shown at the event's start, cleared
// by a display set at its end; an event that follows the one before too closely for that
// clearing set to be decoded first replaces the picture instead. Events are refused, naming
// the cue, where a player could not decode them in time. Written as Generated.sup is: whole
// at commit(), the older file kept until then.
class PgsOutput : public CueOutput {
public:
    // Without a rate, a SUB/TXT file's frame rate, or 23.976. fileName is that of one of
    // several streams ("Generated_pgs.fr.sup"); without it, Generated_pgs.sup.
    PgsOutput(const QString& folder, QSize video, std::optional<quint8> rateCode, bool forced,
              const QString& fileName = QLatin1String(kPgsStreamFileName));

    Status begin() override;
    Status add(const EncodedCue& cue) override;
    Status finish() override;
    Status commit() override;
    void discard() override;
    QStringList paths() const override { return {file_.path()}; }
    Result<std::any> drawEvent(const EventToDraw& event) const override;

private:
    Status write(const QByteArray& bytes);
    Status writePending();

    QSize video_;
    std::optional<quint8> rateCode_;
    bool forced_;
    AtomicFile file_;
    QByteArray pending_;
    quint16 number_ = 0;     // of the next composition
    qint64 lastShown_ = -1;  // PTS of the last display set written
    struct Clearing {
        PgsEvent event;
        qint64 pts;
    };
    std::optional<Clearing> clearing_;  // of the last event, written once the next is known
};

}  // namespace marvoxa
