#include "dvd/dvd_copy_output.h"

#include "subtitles/cue_time.h"

#include <QDir>

namespace marvoxa {

namespace {

// The "SP" header before each unit in Generated.sup.
constexpr int kSupHeaderSize = 10;

}  // namespace

DvdCopyOutput::DvdCopyOutput(const DvdTarget& target, const QString& language,
                             const QString& destination)
    : target_(target), language_(language), destination_(destination) {}

Status DvdCopyOutput::begin() {
    units_.clear();
    report_ = DvdCopyReport{};
    return Ok();
}

Status DvdCopyOutput::add(const EncodedCue& cue) {
    units_.append(
        {QStringLiteral("Subtitle %1 at %2").arg(cue.cueIndex + 1).arg(FormatCueTime(cue.startMs)),
         cue.startMs, cue.durationMs, cue.supPacket.mid(kSupHeaderSize)});
    return Ok();
}

Status DvdCopyOutput::finish() {
    DvdCopyRequest request;
    request.target = &target_;
    request.streams = {NewTitleStream{language_, units_, {}, std::nullopt}};
    request.destination = destination_;
    request.progress = progress_;
    Result<DvdCopyReport> written = copy_.write(request);
    if (!written) {
        if (written.error().kind == ErrorKind::Cancelled) {
            return Error{ErrorKind::Cancelled,
                         QStringLiteral("Generation cancelled. Nothing was written: files "
                                        "generated before are unchanged.")};
        }
        return written.error();
    }
    report_ = written.value();
    return Ok();
}

Status DvdCopyOutput::commit() {
    return copy_.commit();
}

void DvdCopyOutput::discard() {
    copy_.discard();
}

QStringList DvdCopyOutput::paths() const {
    return {QDir::cleanPath(QDir(destination_).absoluteFilePath(QStringLiteral("VIDEO_TS")))};
}

}  // namespace marvoxa
