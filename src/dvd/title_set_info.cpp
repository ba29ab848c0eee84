#include "dvd/title_set_info.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace marvoxa {
namespace {

// libdvdread reports through this instead of standard error, so that what it says about a
// damaged IFO can be told to the user.
void CollectLog(void* messages, dvd_logger_level_t, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    static_cast<QStringList*>(messages)->append(QString::fromLocal8Bit(text).trimmed());
}

struct DvdCloser {
    void operator()(dvd_reader_t* dvd) const { DVDClose(dvd); }
};
struct IfoCloser {
    void operator()(ifo_handle_t* ifo) const { ifoClose(ifo); }
};
using DvdHandle = std::unique_ptr<dvd_reader_t, DvdCloser>;
using IfoHandle = std::unique_ptr<ifo_handle_t, IfoCloser>;

Error IfoError(const QString& path, const QString& what, const QStringList& log = {}) {
    QString message = QStringLiteral("%1 %2").arg(path, what);
    if (!log.isEmpty()) {
        QStringList said;
        for (const QString& line : log) {
            said.append(line.endsWith(QLatin1Char('.')) ? line.chopped(1) : line);
        }
        message += QStringLiteral(" (libdvdread: %1)").arg(said.join(QStringLiteral("; ")));
    }
    return Error{ErrorKind::Format, message + QLatin1Char('.')};
}

Result<DvdTime> ReadTime(const dvd_time_t& time) {
    return DecodeDvdTime(time.hour, time.minute, time.second, time.frame_u);
}

VideoAttributes ReadVideo(const video_attr_t& video) {
    VideoAttributes attributes;
    attributes.standard = video.video_format == 1 ? VideoStandard::Pal : VideoStandard::Ntsc;
    attributes.aspect =
        video.display_aspect_ratio == 3 ? DisplayAspect::Wide : DisplayAspect::FourByThree;
    // 0: both ways, 1: pan-scan only, 2: letterbox only, 3: neither.
    attributes.panScanAllowed = video.permitted_df == 0 || video.permitted_df == 1;
    attributes.letterboxAllowed = video.permitted_df == 0 || video.permitted_df == 2;
    attributes.mpegVersion = video.mpeg_version + 1;
    attributes.pictureSize = video.picture_size;
    return attributes;
}

// The two bytes as they lie in the IFO, most significant field first.
quint16 VideoWord(const video_attr_t& video) {
    const unsigned high = video.mpeg_version << 6 | video.video_format << 4 |
                          video.display_aspect_ratio << 2 | video.permitted_df;
    const unsigned low = video.line21_cc_1 << 7 | video.line21_cc_2 << 6 | video.unknown1 << 5 |
                         video.bit_rate << 4 | video.picture_size << 2 | video.letterboxed << 1 |
                         video.film_mode;
    return static_cast<quint16>(high << 8 | low);
}

SubpictureAttributes ReadSubpicture(const subp_attr_t& subpicture) {
    SubpictureAttributes attributes;
    attributes.codingMode = subpicture.code_mode;
    attributes.languageType = subpicture.type;
    if (subpicture.lang_code != 0) {
        const char code[2] = {static_cast<char>(subpicture.lang_code >> 8),
                              static_cast<char>(subpicture.lang_code & 0xff)};
        attributes.language = QString::fromLatin1(code, 2);
    }
    attributes.codeExtension = subpicture.code_extension;
    return attributes;
}

Result<ProgramChain> ReadPgc(const pgc_t& pgc, int number, quint32 titleVobSectors,
                             const QString& path) {
    const auto cellError = [&](int cell, const QString& what) {
        return IfoError(
            path,
            QStringLiteral("is damaged: cell %1 of PGC %2 %3").arg(cell).arg(number).arg(what));
    };
    ProgramChain chain;
    chain.number = number;
    Result<DvdTime> time = ReadTime(pgc.playback_time);
    if (!time) {
        return IfoError(
            path,
            QStringLiteral("is damaged: PGC %1 has %2").arg(number).arg(time.error().message));
    }
    chain.playbackTime = time.value();
    chain.playbackMode = pgc.pg_playback_mode;
    for (int i = 0; i < 16; ++i) {
        chain.palette[i] = pgc.palette[i];
    }
    for (int i = 0; i < 32; ++i) {
        chain.subpictureControl[i] = pgc.subp_control[i];
    }
    for (int i = 0; i < 8; ++i) {
        chain.audioControl[i] = pgc.audio_control[i];
    }
    for (int program = 0; program < pgc.nr_of_programs && pgc.program_map != nullptr; ++program) {
        chain.programEntryCells.append(pgc.program_map[program]);
    }
    for (int i = 0; i < pgc.nr_of_cells && pgc.cell_playback != nullptr; ++i) {
        const cell_playback_t& playback = pgc.cell_playback[i];
        CellPlayback cell;
        Result<DvdTime> cellTime = ReadTime(playback.playback_time);
        if (!cellTime) {
            return cellError(i + 1, QStringLiteral("has %1").arg(cellTime.error().message));
        }
        cell.playbackTime = cellTime.value();
        cell.firstSector = playback.first_sector;
        cell.firstInterleavedUnitEndSector = playback.first_ilvu_end_sector;
        cell.lastVobuStartSector = playback.last_vobu_start_sector;
        cell.lastSector = playback.last_sector;
        cell.blockMode = static_cast<BlockMode>(playback.block_mode);
        cell.blockType = static_cast<BlockType>(playback.block_type);
        cell.seamless = playback.seamless_play != 0;
        cell.interleaved = playback.interleaved != 0;
        cell.timeDiscontinuity = playback.stc_discontinuity != 0;
        cell.seamlessAngle = playback.seamless_angle != 0;
        if (pgc.cell_position != nullptr) {
            cell.vobId = pgc.cell_position[i].vob_id_nr;
            cell.cellId = pgc.cell_position[i].cell_nr;
        }
        if (cell.firstSector > cell.lastVobuStartSector ||
            cell.lastVobuStartSector > cell.lastSector || cell.lastSector >= titleVobSectors) {
            return cellError(i + 1, QStringLiteral("spans sectors %1 to %2 (last VOBU at %3), "
                                                   "outside the %4 sectors of the title video")
                                        .arg(cell.firstSector)
                                        .arg(cell.lastSector)
                                        .arg(cell.lastVobuStartSector)
                                        .arg(titleVobSectors));
        }
        chain.cells.append(cell);
    }
    for (const int entry : chain.programEntryCells) {
        if (entry < 1 || entry > chain.cells.size()) {
            return IfoError(path, QStringLiteral("is damaged: a program of PGC %1 starts at cell "
                                                 "%2 of %3")
                                      .arg(number)
                                      .arg(entry)
                                      .arg(chain.cells.size()));
        }
    }
    return chain;
}

// The title's chapters name PGCs of the set; its flags follow from their cells.
Status FillTitle(TitleInSet& title, const vts_ptt_srpt_t& parts, const TitleSetInfo& set,
                 const QString& path) {
    if (title.vtsTitle < 1 || title.vtsTitle > parts.nr_of_srpts) {
        return IfoError(path, QStringLiteral("has no title %1, which VIDEO_TS.IFO names as the "
                                             "disc's title %2")
                                  .arg(title.vtsTitle)
                                  .arg(title.discTitle));
    }
    const ttu_t& unit = parts.title[title.vtsTitle - 1];
    for (int part = 0; part < unit.nr_of_ptts; ++part) {
        const int pgcNumber = unit.ptt[part].pgcn;
        const ProgramChain* chain = set.pgc(pgcNumber);
        if (chain == nullptr) {
            return IfoError(path, QStringLiteral("is damaged: chapter %1 of title %2 names PGC "
                                                 "%3 of %4")
                                      .arg(part + 1)
                                      .arg(title.discTitle)
                                      .arg(pgcNumber)
                                      .arg(set.pgcs.size()));
        }
        if (!title.pgcs.contains(pgcNumber)) {
            title.pgcs.append(pgcNumber);
        }
    }
    if (title.pgcs.isEmpty()) {
        return IfoError(
            path, QStringLiteral("is damaged: title %1 has no chapters").arg(title.discTitle));
    }
    title.firstPgc = title.pgcs.front();
    title.lengthMs = set.pgc(title.firstPgc)->playbackTime.ms();
    title.multiAngle = title.angles > 1;
    for (const int number : title.pgcs) {
        for (const CellPlayback& cell : set.pgc(number)->cells) {
            title.interleaved =
                title.interleaved || cell.interleaved || cell.blockMode != BlockMode::NotInBlock;
            title.multiAngle = title.multiAngle || cell.blockType == BlockType::AngleBlock;
        }
    }
    return Ok();
}

}  // namespace

const TitleInSet* TitleSetInfo::title(int discTitle) const {
    for (const TitleInSet& candidate : titles) {
        if (candidate.discTitle == discTitle) {
            return &candidate;
        }
    }
    return nullptr;
}

const ProgramChain* TitleSetInfo::pgc(int number) const {
    return number >= 1 && number <= pgcs.size() ? &pgcs[number - 1] : nullptr;
}

Result<TitleSetInfo> ReadTitleSetInfo(const DvdFolder& folder) {
    QStringList log;
    const dvd_logger_cb logger{CollectLog};
    const DvdHandle dvd(
        DVDOpen2(&log, &logger, QFile::encodeName(folder.videoTsFolder).constData()));
    if (!dvd) {
        return IfoError(folder.videoTsFolder, QStringLiteral("cannot be opened as a DVD"), log);
    }
    const QString discIfo = QDir(folder.videoTsFolder).filePath(QStringLiteral("VIDEO_TS.IFO"));
    log.clear();
    const IfoHandle disc(ifoOpen(dvd.get(), 0));
    if (!disc || disc->tt_srpt == nullptr) {
        return IfoError(discIfo, QStringLiteral("cannot be read: it is no DVD's VIDEO_TS.IFO"),
                        log);
    }
    log.clear();
    const IfoHandle set(ifoOpen(dvd.get(), folder.titleSet));
    // libdvdread takes the BUP when the IFO is unreadable, saying the IFO is invalid; a later
    // step rewrites the IFO, so it has to be whole. Its other remarks only go to the caller.
    const bool ifoRejected = std::any_of(log.begin(), log.end(), [](const QString& line) {
        return line.contains(QStringLiteral("Invalid IFO"));
    });
    if (!set || set->vtsi_mat == nullptr || ifoRejected) {
        return IfoError(folder.ifoPath,
                        QStringLiteral("is damaged or incomplete: copy it again from the DVD"),
                        log);
    }
    if (set->vts_pgcit == nullptr || set->vts_ptt_srpt == nullptr ||
        set->vts_vobu_admap == nullptr || set->vts_c_adt == nullptr) {
        return IfoError(folder.ifoPath,
                        QStringLiteral("is damaged: it lacks the tables of its titles "
                                       "(chapters, PGCs, cell or VOBU addresses)"),
                        log);
    }

    TitleSetInfo info;
    info.readerRemarks = log;
    const vtsi_mat_t& table = *set->vtsi_mat;
    const quint32 titleVobSectors = folder.titleVobSectors();
    info.titleSet = folder.titleSet;
    info.lastSector = table.vts_last_sector;
    info.ifoLastSector = table.vtsi_last_sector;
    info.menuVobsStartSector = table.vtsm_vobs;
    info.titleVobsStartSector = table.vtstt_vobs;
    info.tables = IfoTableSectors{table.vts_ptt_srpt, table.vts_pgcit,     table.vtsm_pgci_ut,
                                  table.vts_tmapt,    table.vtsm_c_adt,    table.vtsm_vobu_admap,
                                  table.vts_c_adt,    table.vts_vobu_admap};
    info.video = ReadVideo(table.vts_video_attr);
    info.videoAttributesWord = VideoWord(table.vts_video_attr);
    info.audioStreamCount = table.nr_of_vts_audio_streams;
    if (table.nr_of_vts_subp_streams > 32) {
        return IfoError(folder.ifoPath, QStringLiteral("is damaged: it claims %1 subpicture "
                                                       "streams, more than the 32 a DVD can have")
                                            .arg(table.nr_of_vts_subp_streams));
    }
    for (int i = 0; i < table.nr_of_vts_subp_streams; ++i) {
        info.subpictureStreams.append(ReadSubpicture(table.vts_subp_attr[i]));
    }

    const pgcit_t& chains = *set->vts_pgcit;
    for (int i = 0; i < chains.nr_of_pgci_srp; ++i) {
        const pgci_srp_t& pointer = chains.pgci_srp[i];
        if (pointer.pgc == nullptr) {
            return IfoError(folder.ifoPath,
                            QStringLiteral("is damaged: PGC %1 cannot be read").arg(i + 1));
        }
        Result<ProgramChain> chain = ReadPgc(*pointer.pgc, i + 1, titleVobSectors, folder.ifoPath);
        if (!chain) {
            return chain.error();
        }
        // Bit 7 marks the PGC a title starts with; the low bits are that title's VTS_TTN.
        if ((pointer.entry_id & 0x80) != 0) {
            chain.value().entryTitle = pointer.entry_id & 0x7f;
        }
        info.pgcs.append(std::move(chain).value());
    }

    const c_adt_t& addresses = *set->vts_c_adt;
    const quint32 addressCount = (addresses.last_byte + 1 - C_ADT_SIZE) / sizeof(cell_adr_t);
    for (quint32 i = 0; i < addressCount; ++i) {
        const cell_adr_t& address = addresses.cell_adr_table[i];
        info.cellAddresses.append(CellAddress{address.vob_id, address.cell_id, address.start_sector,
                                              address.last_sector});
    }

    const vobu_admap_t& map = *set->vts_vobu_admap;
    const quint32 vobuCount = (map.last_byte + 1 - VOBU_ADMAP_SIZE) / 4;
    for (quint32 i = 0; i < vobuCount; ++i) {
        const quint32 sector = map.vobu_start_sectors[i];
        if (sector >= titleVobSectors) {
            return IfoError(folder.ifoPath,
                            QStringLiteral("disagrees with its VOBs: VOBU_ADMAP names sector %1, "
                                           "but the title video has %2 sectors")
                                .arg(sector)
                                .arg(titleVobSectors));
        }
        info.vobuStartSectors.append(sector);
    }

    if (set->vts_tmapt != nullptr) {
        for (int i = 0; i < set->vts_tmapt->nr_of_tmaps; ++i) {
            const vts_tmap_t& tmap = set->vts_tmapt->tmap[i];
            TimeMap timeMap;
            timeMap.unitSeconds = tmap.tmu;
            for (int entry = 0; entry < tmap.nr_of_entries; ++entry) {
                timeMap.entries.append(tmap.map_ent[entry]);
            }
            info.timeMaps.append(timeMap);
        }
    }

    // The disc's title numbers are those of VIDEO_TS.IFO; this set's are among them.
    const tt_srpt_t& discTitles = *disc->tt_srpt;
    for (int i = 0; i < discTitles.nr_of_srpts; ++i) {
        const title_info_t& entry = discTitles.title[i];
        info.discTitles.append(
            DiscTitle{entry.title_set_nr, entry.vts_ttn, entry.title_set_sector});
        if (entry.title_set_nr != folder.titleSet) {
            continue;
        }
        info.titleSetStartSector = entry.title_set_sector;
        TitleInSet title;
        title.discTitle = i + 1;
        title.vtsTitle = entry.vts_ttn;
        title.angles = entry.nr_of_angles;
        title.chapterCount = entry.nr_of_ptts;
        if (Status status = FillTitle(title, *set->vts_ptt_srpt, info, folder.ifoPath); !status) {
            return status.error();
        }
        info.titles.append(title);
    }
    if (info.titles.isEmpty()) {
        return IfoError(discIfo, QStringLiteral("names no title of title set %1, so no player "
                                                "can reach it")
                                     .arg(folder.titleSet));
    }
    return info;
}

}  // namespace marvoxa
