#include "dvd/dvd_copy_output.h"

#include "subtitles/cue_time.h"

#include <QDir>

#include <algorithm>

namespace marvoxa {

namespace {

// The "SP" header before each unit in Generated.sup.
constexpr int kSupHeaderSize = 10;

}  // namespace

DvdCopyOutput::DvdCopyOutput(const DvdTarget& target, const QString& language,
                             const QString& destination, const Palette& drawnIn)
    : DvdCopyOutput(target, QStringList{language}, {}, destination, drawnIn) {}

DvdCopyOutput::DvdCopyOutput(const DvdTarget& target, const QStringList& languages,
                             const QStringList& sources, const QString& destination,
                             const Palette& drawnIn)
    : target_(target), languages_(languages), destination_(destination) {
    for (UnitList* drawing : {&units_, &letterbox_}) {
        drawing->streams = languages.size();
        drawing->sources = sources;
    }
    for (int entry = 0; entry < kPaletteSize; ++entry) {
        const PaletteEntry& colour = drawnIn.entries[entry];
        colours_[entry] = quint32{colour.y} << 16 | quint32{colour.cr} << 8 | colour.cb;
    }
}

void DvdCopyOutput::UnitList::clear() {
    units = QList<QList<TitleSubpicture>>(streams);
}

Status DvdCopyOutput::UnitList::add(const EncodedCue& cue) {
    QString name =
        QStringLiteral("Subtitle %1 at %2").arg(cue.cueIndex + 1).arg(FormatCueTime(cue.startMs));
    if (cue.stream < sources.size()) {
        name = QDir::toNativeSeparators(sources[cue.stream]) + QLatin1String(": ") + name;
    }
    units[std::min<qsizetype>(cue.stream, units.size() - 1)].append(
        {name, cue.startMs, cue.durationMs, cue.supPacket.mid(kSupHeaderSize)});
    return Ok();
}

Status DvdCopyOutput::begin() {
    units_.clear();
    letterbox_.clear();
    report_ = DvdCopyReport{};
    return Ok();
}

Status DvdCopyOutput::add(const EncodedCue& cue) {
    return units_.add(cue);
}

Status DvdCopyOutput::finish() {
    DvdCopyRequest request;
    request.target = &target_;
    for (qsizetype k = 0; k < languages_.size(); ++k) {
        request.streams.append(NewTitleStream{languages_[k], units_.units.value(k),
                                              letterbox_.units.value(k), colours_});
    }
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
