#include "pgs/pgs_display_set.h"

#include "pgs/pgs_decoder_model.h"
#include "pgs/pgs_palette.h"
#include "pgs/pgs_segments.h"

namespace marvoxa {

namespace {

quint32 Stamp(qint64 ticks) {
    return static_cast<quint32>(ticks);
}

qint64 WindowsTicks(const QList<QRect>& windows) {
    qint64 ticks = 0;
    for (const QRect& window : windows) {
        ticks += WindowTransferTicks(window);
    }
    return ticks;
}

}  // namespace

Result<PgsEvent> MakePgsEvent(const HdSubtitle& subtitle, const RoleColours& colours, QSize video,
                              quint8 rateCode, bool forced) {
    const IndexedSubtitle indexed = IndexSubtitle(subtitle, colours, video.height() > 576);
    PgsEvent event{video, rateCode, forced, {}, PalettePayload(indexed), {}, {}, 0, 0};
    if (indexed.objects.size() > static_cast<size_t>(kMaxObjectsPerComposition)) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("it needs %1 pictures at once, and a Blu-ray player shows "
                                    "at most %2.")
                         .arg(indexed.objects.size())
                         .arg(kMaxObjectsPerComposition)};
    }
    qint64 bufferBytes = 0;
    for (const IndexedObject& object : indexed.objects) {
        bufferBytes += qint64{object.rect.width()} * object.rect.height();
    }
    if (bufferBytes > kObjectBufferBytes) {
        return Error{ErrorKind::Limit,
                     QStringLiteral("its picture takes %1 bytes, more than the %2 of a Blu-ray "
                                    "player's object buffer. Choose a smaller font or size.")
                         .arg(bufferBytes)
                         .arg(kObjectBufferBytes)};
    }
    qint64 decodeTicks = 0;
    for (qsizetype i = 0; i < qsizetype(indexed.objects.size()); ++i) {
        const IndexedObject& object = indexed.objects[static_cast<size_t>(i)];
        event.windows.append(object.rect);
        event.objects.append(
            ObjectPayloads(static_cast<quint16>(i), object.rect.size(), object.rows));
        event.objectTicks.append(ObjectDecodingTicks(object.rect.size()));
        decodeTicks += event.objectTicks.back();
    }
    event.showTicks = PlaneInitialisationTicks(video) + decodeTicks + WindowsTicks(event.windows);
    event.clearTicks = WindowsTicks(event.windows);
    return event;
}

QByteArray ShowingDisplaySet(const PgsEvent& event, qint64 pts, quint16 number) {
    const qint64 dts = pts - event.showTicks;
    QList<CompositionObject> composed;
    for (qsizetype i = 0; i < event.windows.size(); ++i) {
        composed.append({static_cast<quint16>(i), static_cast<quint8>(i),
                         event.windows[i].topLeft(), event.forced});
    }
    QByteArray set = PgsSegment(PgsSegmentType::Composition, Stamp(pts), Stamp(dts),
                                CompositionPayload(event.video, event.rateCode, number,
                                                   CompositionState::EpochStart, composed));
    set += PgsSegment(PgsSegmentType::Window, Stamp(pts - WindowsTicks(event.windows)), Stamp(dts),
                      WindowPayload(event.windows));
    set += PgsSegment(PgsSegmentType::Palette, Stamp(dts), Stamp(dts), event.palette);
    // Objects are decoded one after the other once the plane is cleared.
    qint64 decoded = dts + PlaneInitialisationTicks(event.video);
    for (qsizetype i = 0; i < event.objects.size(); ++i) {
        const qint64 start = decoded;
        decoded += event.objectTicks[i];
        for (const QByteArray& payload : event.objects[i]) {
            AppendPgsSegment(set, PgsSegmentType::Object, Stamp(decoded), Stamp(start), payload);
        }
    }
    set += PgsSegment(PgsSegmentType::End, Stamp(decoded), Stamp(decoded), {});
    return set;
}

QByteArray ClearingDisplaySet(const PgsEvent& event, qint64 pts, quint16 number) {
    const qint64 dts = pts - event.clearTicks;
    QByteArray set = PgsSegment(
        PgsSegmentType::Composition, Stamp(pts), Stamp(dts),
        CompositionPayload(event.video, event.rateCode, number, CompositionState::Normal, {}));
    set += PgsSegment(PgsSegmentType::Window, Stamp(dts), Stamp(dts), WindowPayload(event.windows));
    set += PgsSegment(PgsSegmentType::End, Stamp(dts), Stamp(dts), {});
    return set;
}

}  // namespace marvoxa
