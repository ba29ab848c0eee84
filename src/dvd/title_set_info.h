#pragma once

#include "common/result.h"
#include "common/video_standard.h"
#include "dvd/dvd_folder.h"
#include "dvd/dvd_time.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

namespace marvoxa {

enum class BlockMode { NotInBlock, FirstCell, InBlock, LastCell };
enum class BlockType { None, AngleBlock, Reserved2, Reserved3 };

// One cell of a PGC: a run of VOBUs in the title VOBs, sectors counted from VTS_xx_1.VOB.
struct CellPlayback {
    DvdTime playbackTime;
    quint32 firstSector = 0;  // first VOBU's NAV pack
    quint32 firstInterleavedUnitEndSector = 0;
    quint32 lastVobuStartSector = 0;
    quint32 lastSector = 0;
    BlockMode blockMode = BlockMode::NotInBlock;
    BlockType blockType = BlockType::None;
    bool seamless = false;
    bool interleaved = false;
    bool timeDiscontinuity = false;  // the cell's presentation times restart
    bool seamlessAngle = false;
    int vobId = 0;  // from the cell position table
    int cellId = 0;
};

// One program chain of VTS_PGCIT, numbered from 1 as titles and chapters name it.
struct ProgramChain {
    int number = 0;
    int entryTitle = 0;  // the VTS_TTN whose entry PGC this is; 0 when it is none's
    DvdTime playbackTime;
    int playbackMode = 0;          // 0 sequential, else random or shuffled programs
    QList<int> programEntryCells;  // first cell of each program, counted from 1
    QList<CellPlayback> cells;
    std::array<quint32, 16> palette{};  // 0x00YYCrCb per entry
    // Per subpicture stream: bit 31 available, then the sub-stream numbers for 4:3 (bits
    // 24-28), wide (16-20), letterbox (8-12) and pan-scan (0-4).
    std::array<quint32, 32> subpictureControl{};
    std::array<quint16, 8> audioControl{};
};

// The disc's own numbering of a title that this set plays.
struct TitleInSet {
    int discTitle = 0;  // as lsdvd, HandBrake and players count, from VIDEO_TS.IFO
    int vtsTitle = 0;   // VTS_TTN
    int angles = 1;
    int chapterCount = 0;
    int firstPgc = 0;          // the PGC of its first chapter
    QList<int> pgcs;           // every PGC its chapters name, in chapter order, each once
    qint64 lengthMs = 0;       // the first PGC's playback time
    bool interleaved = false;  // some cell of its PGCs is interleaved or in a block
    bool multiAngle = false;
};

enum class DisplayAspect { FourByThree, Wide };

struct VideoAttributes {
    VideoStandard standard = VideoStandard::Pal;
    DisplayAspect aspect = DisplayAspect::FourByThree;
    bool panScanAllowed = false;    // wide video may be shown cut to 4:3
    bool letterboxAllowed = false;  // wide video may be shown with bars on 4:3
    int mpegVersion = 0;            // 1 or 2
    int pictureSize = 0;            // 0: 720 wide, 1: 704, 2: 352, 3: 352 and half height
};

struct SubpictureAttributes {
    int codingMode = 0;     // 0: run length
    int languageType = 0;   // 1 when language holds a code
    QString language;       // two letters, as stored
    int codeExtension = 0;  // what the stream is for: normal, large, children's, captions, ...
};

struct CellAddress {
    int vobId = 0;
    int cellId = 0;
    quint32 startSector = 0;
    quint32 lastSector = 0;
};

struct TimeMap {
    int unitSeconds = 0;
    QList<quint32> entries;  // bit 31: a discontinuity follows; low bits: the VOBU's sector
};

// A title of the whole disc, from VIDEO_TS.IFO's TT_SRPT.
struct DiscTitle {
    int titleSet = 0;
    int vtsTitle = 0;
    quint32 titleSetStartSector = 0;  // where the set's IFO lies on the disc
};

// Where the set's IFO keeps its tables, in sectors from the IFO's start; 0 when absent.
struct IfoTableSectors {
    quint32 partOfTitleSearch = 0;  // VTS_PTT_SRPT
    quint32 programChains = 0;      // VTS_PGCIT
    quint32 menuProgramChains = 0;  // VTSM_PGCI_UT
    quint32 timeMaps = 0;           // VTS_TMAPT
    quint32 menuCellAddresses = 0;  // VTSM_C_ADT
    quint32 menuVobuAddresses = 0;  // VTSM_VOBU_ADMAP
    quint32 cellAddresses = 0;      // VTS_C_ADT
    quint32 vobuAddresses = 0;      // VTS_VOBU_ADMAP
};

// What later steps need of a title set, copied out of its IFO and VIDEO_TS.IFO. Sectors of the
// title video count from the start of VTS_xx_1.VOB.
struct TitleSetInfo {
    int titleSet = 0;
    quint32 titleSetStartSector = 0;  // where VTS_xx_0.IFO lies on the disc (TT_SRPT)
    quint32 lastSector = 0;           // of the whole set, relative to its IFO
    quint32 ifoLastSector = 0;
    quint32 menuVobsStartSector = 0;   // VTS_xx_0.VOB relative to the IFO; 0 without menus
    quint32 titleVobsStartSector = 0;  // VTS_xx_1.VOB relative to the IFO
    IfoTableSectors tables;
    VideoAttributes video;
    quint16 videoAttributesWord = 0;  // the two bytes as stored, for writing them back
    int audioStreamCount = 0;
    QList<SubpictureAttributes> subpictureStreams;
    QList<TitleInSet> titles;          // by disc title number
    QList<DiscTitle> discTitles;       // every title of the disc, this set's and the others'
    QList<ProgramChain> pgcs;          // by PGC number
    QList<CellAddress> cellAddresses;  // C_ADT
    QList<quint32> vobuStartSectors;   // VOBU_ADMAP
    QList<TimeMap> timeMaps;           // TMAPT, one per PGC
    QStringList readerRemarks;         // what libdvdread said of the set's IFO without refusing it

    const TitleInSet* title(int discTitle) const;
    const ProgramChain* pgc(int number) const;
};

// Reads the title set of folder with libdvdread: VIDEO_TS.IFO for the disc's title numbers and
// the set's IFO for the rest. Fails (ErrorKind::Format) when libdvdread cannot read either IFO,
// when the set's IFO is damaged (libdvdread would fall back to the BUP, but the IFO is
// what a later step rewrites), when the disc names no title of this set, or when a cell or a
// title points outside the set's PGCs or title video.
Result<TitleSetInfo> ReadTitleSetInfo(const DvdFolder& folder);

}  // namespace marvoxa
