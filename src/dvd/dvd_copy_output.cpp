#include "dvd/dvd_copy_output.h"

#include "subtitles/cue_time.h"

#include <QDir>

namespace marvoxa {

namespace {

// The "SP" header before each unit in Generated.sup.
constexpr int kSupHeaderSize = 10;

}  // namespace

DvdCopyOutput::DvdCopyOutput(const DvdTarget& target, const QString& language,
                             const QString& destination, const Palette& drawnIn)
    : target_(target), language_(language), destination_(destination) {
    for (int entry = 0; entry < kPaletteSize; ++entry) {
        const PaletteEntry& colour = drawnIn.entries[entry];
        colours_[entry] = quint32{colour.y} << 16 | quint32{colour.cr} << 8 | colour.cb;
    }
}

Status DvdCopyOutput::UnitList::begin() {
    units.clear();
    return Ok();
}

Status DvdCopyOutput::UnitList::add(const EncodedCue& cue) {
    units.append(
        {QStringLiteral("Subtitle %1 at %2").arg(cue.cueIndex + 1).arg(FormatCueTime(cue.startMs)),
         cue.startMs, cue.durationMs, cue.supPacket.mid(kSupHeaderSize)});
    return Ok();
}

Status DvdCopyOutput::begin() {
    units_.units.clear();
    letterbox_.units.clear();
    report_ = DvdCopyReport{};
    return Ok();
}

Status DvdCopyOutput::add(const EncodedCue& cue) {
    return units_.add(cue);
}

Status DvdCopyOutput::finish() {
    DvdCopyRequest request;
    request.target = &target_;
    request.streams = {NewTitleStream{language_, units_.units, letterbox_.units, colours_}};
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
