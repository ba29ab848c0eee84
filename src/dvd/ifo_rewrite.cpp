#include "dvd/ifo_rewrite.h"

#include "dvd/big_endian.h"

#include <functional>

namespace marvoxa {

namespace {

constexpr qsizetype kSector = 2048;

// VTSI_MAT
constexpr qsizetype kVtsLastSector = 0x0c;
constexpr qsizetype kVtsTimeMaps = 0xd4;
constexpr qsizetype kVtsProgramChains = 0xcc;
constexpr qsizetype kVtsCellAddresses = 0xe0;
constexpr qsizetype kVtsVobuAddresses = 0xe4;
constexpr qsizetype kVtsSubpictureCount = 0x255;
constexpr qsizetype kVtsSubpictureAttributes = 0x256;
// VMGI_MAT
constexpr qsizetype kTitleSearchPointers = 0xc4;
constexpr qsizetype kTitleSetAttributes = 0xd0;
// A PGC
constexpr qsizetype kPgcCellCount = 3;
constexpr qsizetype kPgcSubpictureControl = 0x1c;
constexpr qsizetype kPgcPalette = 0xa4;
constexpr qsizetype kPgcCellPlayback = 0xe8;
constexpr qsizetype kCellPlaybackSize = 24;
// A title set's entry in VTS_ATRT
constexpr qsizetype kAttributesSubpictureCount = 349;
constexpr qsizetype kAttributesSubpictures = 350;

class IfoBytes {
public:
    IfoBytes(QByteArray& bytes, const char* name) : bytes_(bytes), name_(name) {}

    bool has(qsizetype at, qsizetype size) const {
        return at >= 0 && size >= 0 && at + size <= bytes_.size();
    }
    quint32 u32(qsizetype at) const { return ReadBigEndian32(data() + at); }
    uchar u8(qsizetype at) const { return data()[at]; }
    quint16 u16(qsizetype at) const { return ReadBigEndian16(data() + at); }
    void set32(qsizetype at, quint32 value) {
        WriteBigEndian32(reinterpret_cast<uchar*>(bytes_.data()) + at, value);
    }
    void set8(qsizetype at, uchar value) { bytes_[at] = static_cast<char>(value); }

    Error outside(const char* table) const {
        return Error{ErrorKind::Format,
                     QStringLiteral("%1 is damaged: its %2 lies outside the file. Check the DVD "
                                    "copy, or copy it from the disc again.")
                         .arg(QLatin1String(name_), QLatin1String(table))};
    }

private:
    const uchar* data() const { return reinterpret_cast<const uchar*>(bytes_.constData()); }

    QByteArray& bytes_;
    const char* name_;
};

// The byte where a table starts whose sector the header field at pointer names, or -1.
qsizetype TableStart(const IfoBytes& ifo, qsizetype pointer, qsizetype headerSize) {
    if (!ifo.has(pointer, 4)) {
        return -1;
    }
    const qsizetype start = qsizetype{ifo.u32(pointer)} * kSector;
    return start > 0 && ifo.has(start, headerSize) ? start : -1;
}

quint32 LastSector(const SectorShift& shift, quint32 last) {
    return shift.map(last + 1) - 1;
}

Status RewriteCellAddresses(IfoBytes& ifo, const SectorShift& shift) {
    const qsizetype table = TableStart(ifo, kVtsCellAddresses, 8);
    if (table < 0) {
        return ifo.outside("cell address table (VTS_C_ADT)");
    }
    const qsizetype end = table + ifo.u32(table + 4) + 1;
    if (!ifo.has(table, end - table)) {
        return ifo.outside("cell address table (VTS_C_ADT)");
    }
    for (qsizetype entry = table + 8; entry + 12 <= end; entry += 12) {
        ifo.set32(entry + 4, shift.map(ifo.u32(entry + 4)));
        ifo.set32(entry + 8, LastSector(shift, ifo.u32(entry + 8)));
    }
    return Ok();
}

Status RewriteVobuAddresses(IfoBytes& ifo, const SectorShift& shift) {
    const qsizetype table = TableStart(ifo, kVtsVobuAddresses, 4);
    if (table < 0) {
        return ifo.outside("VOBU address map (VTS_VOBU_ADMAP)");
    }
    const qsizetype end = table + ifo.u32(table) + 1;
    if (!ifo.has(table, end - table)) {
        return ifo.outside("VOBU address map (VTS_VOBU_ADMAP)");
    }
    for (qsizetype entry = table + 4; entry + 4 <= end; entry += 4) {
        ifo.set32(entry, shift.map(ifo.u32(entry)));
    }
    return Ok();
}

Status RewriteTimeMaps(IfoBytes& ifo, const SectorShift& shift) {
    if (ifo.u32(kVtsTimeMaps) == 0) {
        return Ok();  // time maps are optional
    }
    const qsizetype table = TableStart(ifo, kVtsTimeMaps, 8);
    if (table < 0) {
        return ifo.outside("time map table (VTS_TMAPT)");
    }
    const int maps = ifo.u16(table);
    for (int map = 0; map < maps; ++map) {
        const qsizetype pointer = table + 8 + 4 * map;
        if (!ifo.has(pointer, 4) || !ifo.has(table + ifo.u32(pointer), 4)) {
            return ifo.outside("time map table (VTS_TMAPT)");
        }
        const qsizetype start = table + ifo.u32(pointer);
        const int entries = ifo.u16(start + 2);
        if (!ifo.has(start + 4, 4 * qsizetype{entries})) {
            return ifo.outside("time map table (VTS_TMAPT)");
        }
        for (int i = 0; i < entries; ++i) {
            const qsizetype at = start + 4 + 4 * i;
            const quint32 value = ifo.u32(at);
            ifo.set32(at, (value & 0x80000000) | shift.map(value & 0x7fffffff));
        }
    }
    return Ok();
}

Status RewriteProgramChains(IfoBytes& ifo, const SectorShift& shift,
                            const QList<NewSubpictureStream>& streams,
                            const PaletteWrites& palette) {
    const qsizetype table = TableStart(ifo, kVtsProgramChains, 8);
    if (table < 0) {
        return ifo.outside("program chain table (VTS_PGCIT)");
    }
    const int pgcs = ifo.u16(table);
    for (int number = 1; number <= pgcs; ++number) {
        const qsizetype pointer = table + 8 + 8 * (number - 1) + 4;
        if (!ifo.has(pointer, 4) || !ifo.has(table + ifo.u32(pointer), kPgcCellPlayback + 2)) {
            return ifo.outside("program chain table (VTS_PGCIT)");
        }
        const qsizetype pgc = table + ifo.u32(pointer);
        const int cells = ifo.u8(pgc + kPgcCellCount);
        const qsizetype playback = pgc + ifo.u16(pgc + kPgcCellPlayback);
        if (cells > 0 && !ifo.has(playback, cells * kCellPlaybackSize)) {
            return ifo.outside("program chain table (VTS_PGCIT)");
        }
        for (int cell = 0; cell < cells; ++cell) {
            const qsizetype at = playback + cell * kCellPlaybackSize;
            ifo.set32(at + 8, shift.map(ifo.u32(at + 8)));
            if (const quint32 unitEnd = ifo.u32(at + 12); unitEnd != 0) {
                ifo.set32(at + 12, LastSector(shift, unitEnd));
            }
            ifo.set32(at + 16, shift.map(ifo.u32(at + 16)));
            ifo.set32(at + 20, LastSector(shift, ifo.u32(at + 20)));
        }
        for (const NewSubpictureStream& stream : streams) {
            const bool shows = stream.showingPgcs.contains(number);
            ifo.set32(pgc + kPgcSubpictureControl + 4 * stream.number, shows ? stream.control : 0);
        }
        if (palette.pgcs.contains(number)) {
            for (auto it = palette.entries.cbegin(); it != palette.entries.cend(); ++it) {
                ifo.set32(pgc + kPgcPalette + 4 * it.key(), it.value());
            }
        }
    }
    return Ok();
}

}  // namespace

std::array<uchar, 6> SubpictureAttributeBytes(const QString& language) {
    const QByteArray code = language.toLatin1().leftJustified(2, '\0', true);
    // Run-length coding with a language code; no extension.
    return {0x01, 0x00, static_cast<uchar>(code[0]), static_cast<uchar>(code[1]), 0x00, 0x00};
}

Status RewriteTitleSetIfo(QByteArray& bytes, const SectorShift& shift,
                          const QList<NewSubpictureStream>& streams, const PaletteWrites& palette) {
    IfoBytes ifo(bytes, "The title set's IFO");
    if (!ifo.has(kVtsSubpictureAttributes, 6 * 32)) {
        return ifo.outside("header (VTSI_MAT)");
    }
    ifo.set32(kVtsLastSector, ifo.u32(kVtsLastSector) + shift.inserted());
    for (const NewSubpictureStream& stream : streams) {
        ifo.set8(kVtsSubpictureCount, static_cast<uchar>(stream.number + 1));
        for (int i = 0; i < 6; ++i) {
            ifo.set8(kVtsSubpictureAttributes + 6 * stream.number + i, stream.attributes[i]);
        }
    }
    for (const auto& rewrite : {RewriteCellAddresses, RewriteVobuAddresses, RewriteTimeMaps}) {
        if (Status done = rewrite(ifo, shift); !done) {
            return done;
        }
    }
    return RewriteProgramChains(ifo, shift, streams, palette);
}

Status RewriteVideoManagerIfo(QByteArray& bytes, int titleSet, quint32 insertedSectors,
                              const QList<NewSubpictureStream>& streams) {
    IfoBytes ifo(bytes, "VIDEO_TS.IFO");
    const qsizetype titles = TableStart(ifo, kTitleSearchPointers, 8);
    if (titles < 0) {
        return ifo.outside("title table (TT_SRPT)");
    }
    const int titleCount = ifo.u16(titles);
    if (!ifo.has(titles + 8, 12 * qsizetype{titleCount})) {
        return ifo.outside("title table (TT_SRPT)");
    }
    for (int title = 0; title < titleCount; ++title) {
        const qsizetype entry = titles + 8 + 12 * title;
        if (ifo.u8(entry + 6) > titleSet) {
            ifo.set32(entry + 8, ifo.u32(entry + 8) + insertedSectors);
        }
    }
    const qsizetype sets = TableStart(ifo, kTitleSetAttributes, 8);
    if (sets < 0 || !ifo.has(sets + 8 + 4 * (titleSet - 1), 4)) {
        return ifo.outside("title set attribute table (VTS_ATRT)");
    }
    const qsizetype attributes = sets + ifo.u32(sets + 8 + 4 * (titleSet - 1));
    if (!ifo.has(attributes, 4)) {
        return ifo.outside("title set attribute table (VTS_ATRT)");
    }
    const qsizetype attributesEnd = attributes + ifo.u32(attributes) + 1;
    for (const NewSubpictureStream& stream : streams) {
        const qsizetype newAttributes = attributes + kAttributesSubpictures + 6 * stream.number;
        if (newAttributes + 6 > attributesEnd || !ifo.has(newAttributes, 6)) {
            return Error{ErrorKind::Format,
                         QStringLiteral("VIDEO_TS.IFO keeps no room for the attributes of "
                                        "subpicture stream %1 of title set %2, so the stream "
                                        "cannot be added to this DVD.")
                             .arg(stream.number + 1)
                             .arg(titleSet)};
        }
        ifo.set8(attributes + kAttributesSubpictureCount, static_cast<uchar>(stream.number + 1));
        for (int i = 0; i < 6; ++i) {
            ifo.set8(newAttributes + i, stream.attributes[i]);
        }
    }
    return Ok();
}

}  // namespace marvoxa
