#include "pgs/pgs_segments.h"

#include <algorithm>

namespace marvoxa {

namespace {

void Put16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value >> 8 & 0xff));
    bytes.append(static_cast<char>(value & 0xff));
}

void Put24(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value >> 16 & 0xff));
    Put16(bytes, value & 0xffff);
}

void Put32(QByteArray& bytes, quint32 value) {
    Put16(bytes, static_cast<int>(value >> 16));
    Put16(bytes, static_cast<int>(value & 0xffff));
}

void Put8(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xff));
}

}  // namespace

QByteArray PgsSegment(PgsSegmentType type, quint32 pts, quint32 dts, const QByteArray& payload) {
    QByteArray segment;
    segment.reserve(13 + payload.size());
    AppendPgsSegment(segment, type, pts, dts, payload);
    return segment;
}

void AppendPgsSegment(QByteArray& segment, PgsSegmentType type, quint32 pts, quint32 dts,
                      const QByteArray& payload) {
    segment.append("PG", 2);
    Put32(segment, pts);
    Put32(segment, dts);
    Put8(segment, static_cast<int>(type));
    Put16(segment, static_cast<int>(payload.size()));
    segment += payload;
}

QList<QByteArray> ObjectPayloads(quint16 objectId, QSize size, const QByteArray& rows) {
    constexpr int kFirstHeader = 11;  // id, version, flags, data length, width, height
    constexpr int kLaterHeader = 4;   // id, version, flags
    QList<QByteArray> payloads;
    qsizetype done = 0;
    do {
        const bool first = done == 0;
        const qsizetype room = kMaxSegmentPayload - (first ? kFirstHeader : kLaterHeader);
        const qsizetype take = std::min(room, rows.size() - done);
        const bool last = done + take == rows.size();
        QByteArray payload;
        Put16(payload, objectId);
        Put8(payload, 0);  // version
        Put8(payload, (first ? 0x80 : 0) | (last ? 0x40 : 0));
        if (first) {
            Put24(payload, static_cast<int>(rows.size()) + 4);  // counts width and height
            Put16(payload, size.width());
            Put16(payload, size.height());
        }
        payload.append(rows.constData() + done, take);
        payloads.append(std::move(payload));
        done += take;
    } while (done < rows.size());
    return payloads;
}

QByteArray PalettePayload(const IndexedSubtitle& subtitle) {
    QByteArray payload;
    Put8(payload, 0);  // palette id
    Put8(payload, 0);  // version
    for (int entry = 0; entry < subtitle.usedEntries; ++entry) {
        const PgsColour& colour = subtitle.palette[static_cast<size_t>(entry)];
        Put8(payload, entry);
        Put8(payload, colour.y);
        Put8(payload, colour.cr);
        Put8(payload, colour.cb);
        Put8(payload, colour.alpha);
    }
    return payload;
}

QByteArray WindowPayload(const QList<QRect>& windows) {
    QByteArray payload;
    Put8(payload, static_cast<int>(windows.size()));
    for (qsizetype id = 0; id < windows.size(); ++id) {
        const QRect& window = windows[id];
        Put8(payload, static_cast<int>(id));
        Put16(payload, window.x());
        Put16(payload, window.y());
        Put16(payload, window.width());
        Put16(payload, window.height());
    }
    return payload;
}

QByteArray CompositionPayload(QSize video, quint8 rateCode, quint16 number, CompositionState state,
                              const QList<CompositionObject>& objects) {
    QByteArray payload;
    Put16(payload, video.width());
    Put16(payload, video.height());
    Put8(payload, rateCode);
    Put16(payload, number);
    Put8(payload, static_cast<int>(state));
    Put8(payload, 0);  // no palette-only update
    Put8(payload, 0);  // palette id
    Put8(payload, static_cast<int>(objects.size()));
    for (const CompositionObject& object : objects) {
        Put16(payload, object.objectId);
        Put8(payload, object.windowId);
        Put8(payload, object.forced ? 0x40 : 0);
        Put16(payload, object.position.x());
        Put16(payload, object.position.y());
    }
    return payload;
}

}  // namespace marvoxa
