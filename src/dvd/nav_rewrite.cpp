#include "dvd/nav_rewrite.h"

#include "dvd/big_endian.h"

#include <algorithm>
#include <optional>

namespace marvoxa {

namespace {

// Places in a NAV pack: the PCI's data begins at 0x2d, the DSI's at 0x407.
constexpr int kPciSector = 0x2d;
constexpr int kDsiSector = 0x40b;
constexpr int kVobuEnd = 0x40f;
constexpr int kReferenceEnds = 0x413;  // three, each relative to the NAV pack
constexpr int kNextVideo = 0x4f1;      // then 19 forward pointers, the longest jump first
constexpr int kNextVobu = 0x541;
constexpr int kPreviousVobu = 0x545;  // then 19 backward pointers and the previous video
constexpr int kPreviousVideo = 0x595;
constexpr int kAudioSync = 0x599;       // 8 x 16 bits
constexpr int kSubpictureSync = 0x5a9;  // 32 x 32 bits

// VOBU_SRI: bits 31 and 30 are flags, the rest a distance in sectors.
constexpr quint32 kSriDistance = 0x3fffffff;
// A subpicture sync address: bit 31 says backwards, the rest is a distance; all ones is this
// VOBU or a later one, zero no stream.
constexpr quint32 kSyncBackwards = 0x80000000;
constexpr quint32 kSyncHereOrLater = 0x7fffffff;
constexpr quint16 kAudioBackwards = 0x8000;
constexpr quint16 kAudioDistance = 0x3fff;

quint32 Target(quint32 from, quint32 distance, bool backwards) {
    return backwards ? from - distance : from + distance;
}

// The old sector a VOBU_SRI pointer names, if any.
std::optional<quint32> SearchTarget(quint32 value, quint32 oldSector, bool backwards) {
    const quint32 distance = value & kSriDistance;
    if (distance == 0 || distance == kSriDistance || (backwards && distance > oldSector)) {
        return std::nullopt;  // none, or the end of the cell
    }
    return Target(oldSector, distance, backwards);
}

// The old sector an audio sync address names, if any.
std::optional<quint32> AudioTarget(quint16 value, quint32 oldSector) {
    const quint32 distance = value & kAudioDistance;
    if (distance == 0 || distance == kAudioDistance) {
        return std::nullopt;
    }
    return Target(oldSector, distance, (value & kAudioBackwards) != 0);
}

// The old sector a subpicture sync address names, if any.
std::optional<quint32> SyncTarget(quint32 value, quint32 oldSector) {
    const quint32 distance = value & ~kSyncBackwards;
    if (value == 0 || distance == kSyncHereOrLater || distance == 0) {
        return std::nullopt;
    }
    return Target(oldSector, distance, (value & kSyncBackwards) != 0);
}

void RewriteSearchPointer(uchar* at, quint32 oldSector, bool backwards, const SectorShift& shift) {
    const quint32 value = ReadBigEndian32(at);
    if (const std::optional<quint32> target = SearchTarget(value, oldSector, backwards)) {
        WriteBigEndian32(at, (value & ~kSriDistance) | shift.distance(oldSector, *target));
    }
}

}  // namespace

void RewriteNavPack(uchar* sector, quint32 oldSector, quint32 nextVobuSector,
                    const SectorShift& shift, const QList<NewStreamSync>& newStreams) {
    const quint32 newSector = shift.map(oldSector);
    WriteBigEndian32(sector + kPciSector, newSector);
    WriteBigEndian32(sector + kDsiSector, newSector);
    WriteBigEndian32(sector + kVobuEnd, shift.map(nextVobuSector) - 1 - newSector);
    for (int i = 0; i < 3; ++i) {
        uchar* at = sector + kReferenceEnds + 4 * i;
        if (const quint32 end = ReadBigEndian32(at); end != 0) {
            WriteBigEndian32(at, shift.map(oldSector + end) - newSector);
        }
    }
    for (int at = kNextVideo; at <= kNextVobu; at += 4) {
        RewriteSearchPointer(sector + at, oldSector, false, shift);
    }
    for (int at = kPreviousVobu; at <= kPreviousVideo; at += 4) {
        RewriteSearchPointer(sector + at, oldSector, true, shift);
    }
    for (int stream = 0; stream < 8; ++stream) {
        uchar* at = sector + kAudioSync + 2 * stream;
        const quint16 value = ReadBigEndian16(at);
        if (const std::optional<quint32> target = AudioTarget(value, oldSector)) {
            const quint32 moved = shift.distance(oldSector, *target);
            WriteBigEndian16(
                at, static_cast<quint16>((value & ~kAudioDistance) | qMin(moved, quint32{0x3ffe})));
        }
    }
    for (int stream = 0; stream < 32; ++stream) {
        uchar* at = sector + kSubpictureSync + 4 * stream;
        const auto added =
            std::find_if(newStreams.begin(), newStreams.end(),
                         [&](const NewStreamSync& entry) { return entry.subStream == stream; });
        if (added != newStreams.end()) {
            const SubpictureSync& newStreamSync = added->sync;
            quint32 value = 0;
            switch (newStreamSync.kind) {
                case SubpictureSync::Kind::None:
                    break;
                case SubpictureSync::Kind::HereOrLater:
                    value = kSyncHereOrLater;
                    break;
                case SubpictureSync::Kind::Earlier:
                case SubpictureSync::Kind::Later:
                    value =
                        shift.distance(oldSector, newStreamSync.targetSector) |
                        (newStreamSync.kind == SubpictureSync::Kind::Earlier ? kSyncBackwards : 0);
                    break;
            }
            WriteBigEndian32(at, value);
            continue;
        }
        const quint32 value = ReadBigEndian32(at);
        if (const std::optional<quint32> target = SyncTarget(value, oldSector)) {
            WriteBigEndian32(at, (value & kSyncBackwards) | shift.distance(oldSector, *target));
        }
    }
}

quint32 FurthestSectorNamed(const uchar* sector, quint32 oldSector, quint32 nextVobuSector,
                            const QList<NewStreamSync>& newStreams) {
    quint32 furthest = nextVobuSector;
    const auto reach = [&](std::optional<quint32> target) {
        if (target) {
            furthest = std::max(furthest, *target);
        }
    };
    for (int i = 0; i < 3; ++i) {
        const quint32 end = ReadBigEndian32(sector + kReferenceEnds + 4 * i);
        reach(end != 0 ? std::optional(oldSector + end) : std::nullopt);
    }
    for (int at = kNextVideo; at <= kNextVobu; at += 4) {
        reach(SearchTarget(ReadBigEndian32(sector + at), oldSector, false));
    }
    for (int stream = 0; stream < 8; ++stream) {
        reach(AudioTarget(ReadBigEndian16(sector + kAudioSync + 2 * stream), oldSector));
    }
    for (int stream = 0; stream < 32; ++stream) {
        if (std::none_of(newStreams.begin(), newStreams.end(),
                         [&](const NewStreamSync& entry) { return entry.subStream == stream; })) {
            reach(SyncTarget(ReadBigEndian32(sector + kSubpictureSync + 4 * stream), oldSector));
        }
    }
    for (const NewStreamSync& entry : newStreams) {
        if (entry.sync.kind == SubpictureSync::Kind::Later) {
            reach(entry.sync.targetSector);
        }
    }
    return furthest;
}

}  // namespace marvoxa
