#include "pgs/pgs_output.h"

#include "pgs/pgs_decoder_model.h"
#include "pgs/pgs_format.h"
#include "subtitles/cue_time.h"
#include "sup/generation.h"

#include <QDir>
#include <QFileInfo>

namespace marvoxa {

namespace {

constexpr qsizetype kWriteSize = 64 * 1024;
// Time stamps are 32 bits of 90 kHz ticks: some 13 hours.
constexpr qint64 kLastStamp = 0xffffffffLL;

Error CueRefused(const EncodedCue& cue, const QString& path, const QString& reason) {
    return Error{ErrorKind::Limit,
                 QStringLiteral("Subtitle %1 at %2 cannot be written to %3: %4")
                     .arg(cue.cueIndex + 1)
                     .arg(FormatCueTime(cue.startMs), QFileInfo(path).fileName(), reason)};
}

QString Milliseconds(qint64 ticks) {
    return QString::number((ticks + 89) / 90);
}

}  // namespace

PgsOutput::PgsOutput(const QString& folder, QSize video, std::optional<quint8> rateCode,
                     bool forced, const QString& fileName)
    : video_(video),
      rateCode_(rateCode),
      forced_(forced),
      file_(QDir::cleanPath(QDir(folder).absoluteFilePath(fileName))) {}

Status PgsOutput::begin() {
    pending_.resize(0);
    number_ = 0;
    lastShown_ = -1;
    clearing_.reset();
    return file_.open();
}

Result<std::any> PgsOutput::drawEvent(const EventToDraw& event) const {
    thread_local HdSubtitle drawn;  // its planes' memory serves the thread's next event too
    DrawHdSubtitle(event.blocks, event.settings, video_, kMaxObjectsPerComposition, drawn);
    Result<PgsEvent> made = MakePgsEvent(drawn, event.colours, video_,
                                         rateCode_.value_or(PgsRateCodeOf(event.cueList)), forced_);
    if (!made) {
        return made.error();
    }
    return std::any(std::move(made).value());
}

Status PgsOutput::add(const EncodedCue& cue) {
    const auto* event = std::any_cast<PgsEvent>(&cue.drawing);
    if (event == nullptr || event->windows.isEmpty()) {
        return Ok();  // nothing drawn: nothing to show
    }
    // Cue times are whole milliseconds: 90 ticks each, exactly.
    const qint64 shown = cue.startMs * 90;
    const qint64 cleared = (cue.startMs + cue.durationMs) * 90;
    if (cue.durationMs <= 0 || cleared - event->clearTicks < shown) {
        return CueRefused(cue, file_.path(),
                          QStringLiteral("it is shown for %1 ms, too short for a Blu-ray "
                                         "player to show and clear it.")
                              .arg(cue.durationMs));
    }
    if (cleared > kLastStamp) {
        return CueRefused(cue, file_.path(),
                          QStringLiteral("it ends after 13:15:19, the last time a Blu-ray "
                                         "subtitle stream can name."));
    }
    if (shown < lastShown_) {
        return CueRefused(cue, file_.path(),
                          QStringLiteral("it starts before the subtitle before it, and a "
                                         "Blu-ray stream shows its subtitles in time order."));
    }
    const qint64 decodingStart = shown - event->showTicks;
    if (clearing_ && decodingStart >= clearing_->pts) {
        if (Status written = write(ClearingDisplaySet(clearing_->event, clearing_->pts, number_++));
            !written) {
            return written;
        }
        lastShown_ = clearing_->pts;
    }
    // Too close to clear the picture before: the new one replaces it.
    clearing_.reset();
    if (decodingStart < std::max<qint64>(lastShown_, 0)) {
        return CueRefused(
            cue, file_.path(),
            lastShown_ < 0
                ? QStringLiteral("a Blu-ray player needs %1 ms to draw it before it is "
                                 "shown, and it starts earlier.")
                      .arg(Milliseconds(event->showTicks))
                : QStringLiteral("a Blu-ray player needs %1 ms to draw it, and the "
                                 "subtitle before is shown %2 ms earlier.")
                      .arg(Milliseconds(event->showTicks), Milliseconds(shown - lastShown_)));
    }
    if (Status written = write(ShowingDisplaySet(*event, shown, number_++)); !written) {
        return written;
    }
    lastShown_ = shown;
    clearing_ = Clearing{*event, cleared};
    return Ok();
}

Status PgsOutput::write(const QByteArray& bytes) {
    pending_ += bytes;
    return pending_.size() >= kWriteSize ? writePending() : Ok();
}

Status PgsOutput::writePending() {
    const Status written = file_.write(pending_);
    pending_.resize(0);
    return written;
}

Status PgsOutput::finish() {
    if (clearing_) {
        pending_ += ClearingDisplaySet(clearing_->event, clearing_->pts, number_++);
        clearing_.reset();
    }
    if (Status written = writePending(); !written) {
        return written;
    }
    return file_.finish();
}

Status PgsOutput::commit() {
    return file_.commit();
}

void PgsOutput::discard() {
    pending_.resize(0);
    clearing_.reset();
    file_.discard();
}

}  // namespace marvoxa
